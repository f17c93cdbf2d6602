#pragma once

#include <cstdint>

#include "transmitter/CMeasuredVariable.h"

// The static pressure variable: a measured variable that also knows whether its
// sensor is absolute or gauge.
class CSPVariable : public CMeasuredVariable {
  public:
    static constexpr uint8_t kSpTypeUnknown = 99;
    static constexpr uint8_t kSpTypeAbsolute = 0;
    static constexpr uint8_t kSpTypeGauge = 1;
    static constexpr double kDefaultAtmosphere = 14.73;

    explicit CSPVariable(CComm& comm);

    void Reset() override;

    uint8_t SpType() const { return m_spType; }
    void SetSpType(uint8_t type) { m_spType = type; }
    double AtmosphericPressure() const { return m_atmosphere; }
    void SetAtmosphericPressure(double value) { m_atmosphere = value; }

    // Document: the stored type. Transmitter: the low byte of holding register 10
    // (0 absolute, 1 gauge).
    uint8_t ReadSpType(int access);

  private:
    uint8_t m_spType = kSpTypeUnknown;
    double m_atmosphere = kDefaultAtmosphere;
};
