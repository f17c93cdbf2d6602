#include "transmitter/CAnalogOutput.h"

#include <cstring>
#include <vector>

#include "transmitter/CComm.h"
#include "transmitter/ModelTypes.h"
#include "transmitter/UnitsTranslation.h"

namespace {

constexpr float kLowCurrent = 4.0f;
constexpr float kHighCurrent = 20.0f;
constexpr double kDefaultLower = 0.0;
constexpr double kDefaultUpper = 250.0;
constexpr int kDefaultUnits = 240;

// Legacy replies carry floats high byte first, after the response code and the
// device status.
float FloatAt(const std::vector<uint8_t>& reply, size_t offset) {
    if (reply.size() < offset + 4) return 0.0f;
    const uint32_t bits = (static_cast<uint32_t>(reply[offset]) << 24) |
                          (static_cast<uint32_t>(reply[offset + 1]) << 16) |
                          (static_cast<uint32_t>(reply[offset + 2]) << 8) | reply[offset + 3];
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Reply of the output information request: response code, status, alarm
// selection, transfer function, range units, upper and lower range value.
constexpr size_t kTransferFunctionByte = 3;
constexpr size_t kUpperRangeByte = 5;
constexpr size_t kLowerRangeByte = 9;
constexpr size_t kFlagsByte = 2;
constexpr size_t kCurrentByte = 2;
constexpr size_t kPercentByte = 6;

}  // namespace

CAnalogOutput::CAnalogOutput(CComm& comm) : m_comm(comm) { Reset(); }

void CAnalogOutput::Reset() {
    m_transferFunction = 0;
    const CUnit units(kDefaultUnits, transmitter::kVarDp);
    m_lower = CDimValue(kDefaultLower, units);
    m_upper = CDimValue(kDefaultUpper, units);
}

CAnalogOutput::RangeValues CAnalogOutput::ReadRangeValues(int access) {
    if (transmitter::IsDocument(access)) return {m_lower, m_upper};
    const std::vector<uint8_t> reply = m_comm.ReadOutputInformation();
    // The values are taken in the units of the model's copy.
    return {CDimValue(FloatAt(reply, kLowerRangeByte), m_lower.Unit()),
            CDimValue(FloatAt(reply, kUpperRangeByte), m_upper.Unit())};
}

void CAnalogOutput::WriteRangeValues(const CDimValue& lower, const CDimValue& upper, int flags) {
    if (flags & kWriteTransmitter) {
        const int deviceUnits =
            transmitter::ProgramToDeviceUnits(transmitter::kVarDp, upper.Unit().UnitCode());
        m_comm.WriteRangeValues(static_cast<uint8_t>(deviceUnits),
                                static_cast<float>(upper.Value()),
                                static_cast<float>(lower.Value()));
    }
    if (flags & kWriteDocument) {
        m_lower = lower;
        m_upper = upper;
    }
}

uint32_t CAnalogOutput::ReadTransferFunction(int access) {
    if (transmitter::IsDocument(access)) return m_transferFunction;
    return m_comm.ReadOutputInformation()[kTransferFunctionByte];
}

void CAnalogOutput::WriteTransferFunction(uint32_t code, int flags) {
    if (flags & kWriteTransmitter) m_comm.WriteTransferFunction(static_cast<uint8_t>(code));
    if (flags & kWriteDocument) m_transferFunction = code;
}

void CAnalogOutput::FixOutputAt4mA() { m_comm.SetFixedCurrent(kLowCurrent); }

void CAnalogOutput::FixOutputAt20mA() { m_comm.SetFixedCurrent(kHighCurrent); }

void CAnalogOutput::LeaveFixedOutput() { m_comm.SetFixedCurrent(0.0f); }

CAnalogOutput::LoopCurrent CAnalogOutput::ReadLoopCurrent() {
    const std::vector<uint8_t> reply = m_comm.ReadLoopCurrent();
    return {FloatAt(reply, kCurrentByte), FloatAt(reply, kPercentByte)};
}

uint8_t CAnalogOutput::ReadOutputInformation() {
    return m_comm.ReadOutputInformation()[kFlagsByte];
}
