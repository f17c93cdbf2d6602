#pragma once

#include <cstdint>

#include "units/CDimValue.h"

class CComm;

// The analog output configuration. Its transmitter side runs over the legacy
// requests, which the Modbus transmitters do not carry: online reads give zeros
// and writes change nothing in the device.
class CAnalogOutput {
  public:
    // Write operations take the access flags as a bit mask.
    static constexpr int kWriteDocument = 1;
    static constexpr int kWriteTransmitter = 2;

    struct RangeValues {
        CDimValue lower;
        CDimValue upper;
    };

    struct LoopCurrent {
        float milliamps = 0.0f;
        float percentOfRange = 0.0f;
    };

    explicit CAnalogOutput(CComm& comm);
    CAnalogOutput(const CAnalogOutput&) = delete;
    CAnalogOutput& operator=(const CAnalogOutput&) = delete;

    void Reset();

    uint32_t TransferFunction() const { return m_transferFunction; }
    void SetTransferFunction(uint32_t code) { m_transferFunction = code; }
    const CDimValue& LowerRangeValue() const { return m_lower; }
    const CDimValue& UpperRangeValue() const { return m_upper; }

    // Read: 1 the document copy, any other value the transmitter.
    RangeValues ReadRangeValues(int access);
    void WriteRangeValues(const CDimValue& lower, const CDimValue& upper, int flags);
    uint32_t ReadTransferFunction(int access);
    void WriteTransferFunction(uint32_t code, int flags);

    void FixOutputAt4mA();
    void FixOutputAt20mA();
    void LeaveFixedOutput();
    LoopCurrent ReadLoopCurrent();
    // The output information flags byte.
    uint8_t ReadOutputInformation();

  private:
    CComm& m_comm;
    uint32_t m_transferFunction = 0;
    CDimValue m_lower;
    CDimValue m_upper;
};
