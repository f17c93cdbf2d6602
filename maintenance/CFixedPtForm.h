#pragma once

#include <string>

#include "config/CConfigForm.h"

// Fixed Process Temp., on the connected transmitter: whether the transmitter
// uses a fixed process temperature instead of its RTD, and that temperature
// in the PT units. OK checks the temperature against the PT range limits
// (read again, compared in °F, the limits themselves accepted), asks the
// safety prompt and writes the mode and, when fixed, the temperature.
class CFixedPtForm : public CConfigForm {
  public:
    static constexpr const char* kFixedKey = "fixed";
    static constexpr const char* kTemperatureKey = "temperature";
    // The entries of the "fixed" choice, as the terminal names them.
    static constexpr const char* kOff = "off";
    static constexpr const char* kOn = "on";

    explicit CFixedPtForm(CMVDoc& doc);

    std::string Caption() const override;
    bool Fixed() const;
    // Ticking the box enables the temperature; clearing it also empties it.
    void SetChoice(const std::string& key, int index) override;

    FormOutcome Ok() override;

  protected:
    void Read() override;

  private:
    bool m_firstFixed = false;
    float m_firstTemperature = 0.0F;
    int m_unitsCode = 0;
};
