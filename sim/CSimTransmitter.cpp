#include "sim/CSimTransmitter.h"

#include <algorithm>
#include <cmath>

#include "sim/SimConvert.h"

namespace {

constexpr uint8_t kIllegalFunction = 1;
constexpr uint8_t kIllegalDataAddress = 2;
constexpr uint8_t kIllegalDataValue = 3;
constexpr uint8_t kSlaveDeviceFailure = 4;

constexpr uint16_t kFloatFirst = 400;
constexpr uint16_t kFloatEnd = 480;
constexpr uint16_t kPollingAddress = 15;
constexpr uint16_t kUnitsFirst = 59;
constexpr uint16_t kTagFirst = 31;
constexpr uint16_t kDescriptorFirst = 35;
constexpr uint16_t kMessageFirst = 43;
constexpr uint16_t kStatusFirst = 118;
constexpr uint16_t kFullScaleCount = 124;
constexpr uint16_t kTurnaroundDelay = 130;
constexpr uint16_t kFloatFormat = 131;
constexpr uint16_t kScalingMethod = 203;
constexpr size_t kMaxReadRegisters = 125;
constexpr size_t kMaxWriteRegisters = 123;
constexpr size_t kMaxReadCoils = 2000;
constexpr unsigned kCoilCount = 4;

uint16_t Word(const uint8_t* bytes) { return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]); }

void PutWord(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

bool IsIntegerScalingRegister(uint16_t address) {
    return address == kFullScaleCount || (address >= 187 && address <= 203) ||
           (address >= 468 && address < kFloatEnd);
}

// Tolerance for comparing a value sent back in other units with a stored limit.
double Tolerance(double a, double b) { return 1e-6 * std::max({1.0, std::fabs(a), std::fabs(b)}); }

}  // namespace

CSimTransmitter::CSimTransmitter(uint8_t address, const SimTransmitterOptions& options)
    : m_address(address),
      m_floatFormatSupported(options.floatFormatSupported),
      m_integerScalingSupported(options.integerScalingSupported),
      m_noise(options.presentValueNoise),
      m_masterResetDurationMs(options.masterResetDurationMs),
      m_selfTestDurationMs(options.selfTestDurationMs) {
    m_statusBytes = options.statusBytes;
    auto& w = m_state.words;
    w[0] = options.manufacturerId;
    w[1] = options.deviceId;
    w[2] = options.outputBoardRevision;
    w[3] = options.sensorRevision;
    w[4] = static_cast<uint16_t>(options.sensorSerialNumber >> 16);
    w[5] = static_cast<uint16_t>(options.sensorSerialNumber & 0xFFFF);
    w[6] = static_cast<uint16_t>(options.transmitterSerialNumber >> 16);
    w[7] = static_cast<uint16_t>(options.transmitterSerialNumber & 0xFFFF);
    w[8] = options.responsePreambles;
    w[9] = options.hardwareRevision;
    w[10] = options.register10;
    w[kPollingAddress] = address;
    std::copy(options.identityFields.begin(), options.identityFields.end(), w.begin() + 16);
    std::copy(options.deviceInfoCodes.begin(), options.deviceInfoCodes.end(), w.begin() + 21);
    w[29] = static_cast<uint16_t>(options.day);
    w[30] = static_cast<uint16_t>((options.month << 8) | ((options.year - 1900) & 0xFF));
    SetText(kTagFirst, 4, options.tag);
    SetText(kDescriptorFirst, 8, options.descriptor);
    SetText(kMessageFirst, 16, options.message);
    std::copy(options.unitsCodes.begin(), options.unitsCodes.end(), w.begin() + kUnitsFirst);
    w[74] = 'F';
    w[kFullScaleCount] = 65534;
    w[125] = 3;
    w[126] = 0;
    w[127] = 15;
    w[128] = 1;
    w[129] = 0;
    w[kTurnaroundDelay] = options.turnaroundDelayMs;
    w[kFloatFormat] = options.floatFormat;
    // Endpoints 0 to 65534; scale factors and offsets that map each default
    // operating range onto 0 to 65534 counts.
    const std::array<uint16_t, 6> factors{131, 18, 81, 32768, 148, 26848};
    for (int i = 0; i < sim::kVariableCount; ++i) {
        w[187 + 2 * i] = 0;
        w[188 + 2 * i] = 65534;
        w[197 + 2 * i] = factors[2 * i];
        w[198 + 2 * i] = factors[2 * i + 1];
    }
    w[kScalingMethod] = options.integerScalingMethod;

    for (int i = 0; i < sim::kVariableCount; ++i) {
        auto& v = m_state.variables[i];
        const auto units = options.unitsCodes[i];
        auto in = [&](double value) { return sim::ToInternal(i, units, value); };
        v.lowerRangeLimit = in(options.lowerRangeLimits[i]);
        v.upperRangeLimit = in(options.upperRangeLimits[i]);
        v.lowerOperatingLimit = in(options.lowerOperatingLimits[i]);
        v.upperOperatingLimit = in(options.upperOperatingLimits[i]);
        v.damping = options.damping[i];
        v.endpointMinimumPv = v.lowerOperatingLimit;
        v.endpointMaximumPv = v.upperOperatingLimit;
        v.setPoint = in(options.presentValueSetPoints[i]);
        v.offsetTrimPoint = v.lowerOperatingLimit > 0.0 ? v.lowerOperatingLimit : 0.0;
        v.slopeTrimPoint = v.upperOperatingLimit;
        v.conditionAtOffsetTrim = v.offsetTrimPoint;
    }
    m_state.fixedTemperature =
        sim::ToInternal(sim::kPt, options.unitsCodes[sim::kPt], options.fixedProcessTemperature);
    m_state.coils[kCoilRtdMode] = options.rtdMode;
}

// --- Line side ---

uint8_t CSimTransmitter::Address() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_address;
}

bool CSimTransmitter::IsSilent() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_now() < m_silentUntil;
}

void CSimTransmitter::ApplyAddressChange() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pendingAddress != 0) {
        m_address = m_pendingAddress;
        m_pendingAddress = 0;
    }
}

bool CSimTransmitter::HandleRequest(const uint8_t* pdu, size_t length,
                                    std::vector<uint8_t>& reply) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto now = m_now();
    Refresh(now);
    if (now < m_silentUntil || length == 0) {
        return false;
    }
    ++m_requestsHandled;
    reply.clear();
    const uint8_t function = pdu[0];
    RequestRecord record;
    record.function = function;
    if (length >= 3) record.address = Word(pdu + 1);
    record.quantity = function == 5 || function == 6 ? 1 : length >= 5 ? Word(pdu + 3) : 0;
    m_requests.push_back(record);
    uint8_t exception = 0;
    switch (function) {
        case 1:
            exception = ReadCoils(pdu, length, reply);
            break;
        case 3:
        case 4:
            exception = ReadRegisters(pdu, length, function == 4, reply);
            break;
        case 5:
            exception = WriteCoil(pdu, length, reply);
            break;
        case 6:
            if (length < 5) {
                exception = kIllegalDataValue;
            } else {
                exception = WriteRegisters(Word(pdu + 1), pdu + 3, 1);
                reply.assign(pdu, pdu + 5);
            }
            break;
        case 16: {
            const uint16_t count = length >= 6 ? Word(pdu + 3) : 0;
            if (count < 1 || count > kMaxWriteRegisters || pdu[5] != 2 * count ||
                length < 6u + 2u * count) {
                exception = kIllegalDataValue;
            } else {
                exception = WriteRegisters(Word(pdu + 1), pdu + 6, count);
                reply.assign(pdu, pdu + 5);
            }
            break;
        }
        default:
            exception = kIllegalFunction;
            break;
    }
    if (exception != 0) {
        reply = {static_cast<uint8_t>(function | 0x80), exception};
        m_pendingAddress = 0;
    }
    return true;
}

void CSimTransmitter::Refresh(Clock::time_point now) const {
    if (m_selfTestRunning && now >= m_selfTestEnd) {
        m_selfTestRunning = false;
        if (m_hasSelfTestResult) {
            m_statusBytes = m_selfTestResult;
        }
    }
}

uint8_t CSimTransmitter::ReadCoils(const uint8_t* pdu, size_t length, std::vector<uint8_t>& reply) {
    if (length < 5) {
        return kIllegalDataValue;
    }
    const uint16_t start = Word(pdu + 1);
    const uint16_t count = Word(pdu + 3);
    if (count < 1 || count > kMaxReadCoils) {
        return kIllegalDataValue;
    }
    if (start + count > kCoilCount) {
        return kIllegalDataAddress;
    }
    reply = {pdu[0], static_cast<uint8_t>((count + 7) / 8)};
    reply.resize(2 + reply[1], 0);
    for (uint16_t i = 0; i < count; ++i) {
        const unsigned coil = start + i;
        if (coil == kCoilSelfTest ? m_selfTestRunning : m_state.coils[coil]) {
            reply[2 + i / 8] |= static_cast<uint8_t>(1u << (i % 8));
        }
    }
    return 0;
}

uint8_t CSimTransmitter::ReadRegisters(const uint8_t* pdu, size_t length, bool input,
                                       std::vector<uint8_t>& reply) {
    if (length < 5) {
        return kIllegalDataValue;
    }
    const uint16_t start = Word(pdu + 1);
    const uint16_t count = Word(pdu + 3);
    if (count < 1 || count > kMaxReadRegisters) {
        return kIllegalDataValue;
    }
    for (uint32_t a = start; a < uint32_t{start} + count; ++a) {
        const auto address = static_cast<uint16_t>(a);
        if (a > 0xFFFF || !(input ? InputReadable(address) : HoldingReadable(address))) {
            return kIllegalDataAddress;
        }
    }
    reply = {pdu[0], static_cast<uint8_t>(2 * count)};
    // One sample per float: both halves of a pair come from the same value.
    uint16_t sampledPair = 0;
    std::array<uint8_t, 4> bytes{};
    for (uint16_t i = 0; i < count; ++i) {
        const uint16_t address = static_cast<uint16_t>(start + i);
        if (!input && address >= kFloatFirst) {
            const uint16_t pair = address & ~1u;
            if (pair != sampledPair) {
                bytes = sim::FloatToWire(static_cast<float>(FloatValue(m_state, pair, true)),
                                         m_state.words[kFloatFormat]);
                sampledPair = pair;
            }
            const size_t half = (address == pair) ? 0 : 2;
            reply.push_back(bytes[half]);
            reply.push_back(bytes[half + 1]);
        } else {
            PutWord(reply, input ? InputLocked(address) : HoldingLocked(address));
        }
    }
    return 0;
}

uint8_t CSimTransmitter::WriteCoil(const uint8_t* pdu, size_t length, std::vector<uint8_t>& reply) {
    if (length < 5) {
        return kIllegalDataValue;
    }
    const uint16_t coil = Word(pdu + 1);
    const uint16_t value = Word(pdu + 3);
    if (value != 0xFF00 && value != 0x0000) {
        return kIllegalDataValue;
    }
    if (coil >= kCoilCount) {
        return kIllegalDataAddress;
    }
    const bool on = value == 0xFF00;
    const auto now = m_now();
    switch (coil) {
        case kCoilSelfTest:
            if (on && !m_selfTestRunning) {
                m_selfTestRunning = true;
                m_selfTestEnd = now + std::chrono::milliseconds(m_selfTestDurationMs);
            }
            break;
        case kCoilMasterReset:
            // The coil is momentary: it reads off; the device restarts after the reply.
            if (on) {
                m_silentUntil = now + std::chrono::milliseconds(m_masterResetDurationMs);
                m_selfTestRunning = false;
                m_state.coils[kCoilTrimMode] = false;
            }
            break;
        default:
            m_state.coils[coil] = on;
            break;
    }
    reply.assign(pdu, pdu + 5);
    return 0;
}

uint8_t CSimTransmitter::WriteRegisters(uint16_t start, const uint8_t* data, uint16_t count) {
    if (m_writeProtect) {
        return kSlaveDeviceFailure;  // the configuration cannot change while protected
    }
    for (uint32_t a = start; a < uint32_t{start} + count; ++a) {
        const auto address = static_cast<uint16_t>(a);
        if (a > 0xFFFF || !HoldingWritable(address)) {
            return kIllegalDataAddress;
        }
        // A float is written whole: both registers of its pair in one request.
        if (address >= kFloatFirst) {
            const bool first = (address & 1u) == 0;
            if ((first && a + 1 >= uint32_t{start} + count) || (!first && a == start)) {
                return kIllegalDataAddress;
            }
        }
    }
    State state = m_state;
    std::array<bool, 3> limitsTouched{};
    std::array<bool, 3> endpointsTouched{};
    for (uint16_t i = 0; i < count;) {
        const uint16_t address = static_cast<uint16_t>(start + i);
        uint8_t exception = 0;
        if (address < kFloatFirst) {
            exception = WriteWord(state, address, Word(data + 2 * i));
            if (address >= 187 && address <= 192) {
                endpointsTouched[(address - 187) / 2] = true;
            }
            ++i;
        } else {
            const float value = sim::FloatFromWire(data + 2 * i, state.words[kFloatFormat]);
            exception = WriteFloat(state, address, value);
            const FloatSlot slot = FloatAt(address);
            if (slot.kind == FloatKind::kLowerOperatingLimit ||
                slot.kind == FloatKind::kUpperOperatingLimit) {
                limitsTouched[slot.variable] = true;
            }
            if (slot.kind == FloatKind::kEndpointMinimumPv ||
                slot.kind == FloatKind::kEndpointMaximumPv) {
                endpointsTouched[slot.variable] = true;
            }
            i = static_cast<uint16_t>(i + 2);
        }
        if (exception != 0) {
            return exception;
        }
    }
    for (int v = 0; v < sim::kVariableCount; ++v) {
        if (limitsTouched[v] || endpointsTouched[v]) {
            const uint8_t exception =
                CheckVariable(state.variables[v], limitsTouched[v], endpointsTouched[v]);
            if (exception != 0) {
                return exception;
            }
            if (endpointsTouched[v] && state.words[187 + 2 * v] >= state.words[188 + 2 * v]) {
                return kIllegalDataValue;
            }
        }
    }
    if (state.words[kPollingAddress] != m_state.words[kPollingAddress] ||
        (start <= kPollingAddress && kPollingAddress < start + count)) {
        m_pendingAddress = static_cast<uint8_t>(state.words[kPollingAddress]);
    }
    m_state = state;
    return 0;
}

uint8_t CSimTransmitter::CheckVariable(Variable& v, bool limitsTouched, bool endpointsTouched) {
    if (limitsTouched) {
        // A limit sent back after a units change may differ from the range limit
        // in its last float digit; such a value is taken as the range limit.
        if (v.lowerOperatingLimit < v.lowerRangeLimit) {
            if (v.lowerRangeLimit - v.lowerOperatingLimit >
                Tolerance(v.lowerRangeLimit, v.upperRangeLimit)) {
                return kIllegalDataValue;
            }
            v.lowerOperatingLimit = v.lowerRangeLimit;
        }
        if (v.upperOperatingLimit > v.upperRangeLimit) {
            if (v.upperOperatingLimit - v.upperRangeLimit >
                Tolerance(v.lowerRangeLimit, v.upperRangeLimit)) {
                return kIllegalDataValue;
            }
            v.upperOperatingLimit = v.upperRangeLimit;
        }
        if (v.lowerOperatingLimit >= v.upperOperatingLimit) {
            return kIllegalDataValue;
        }
    }
    if (endpointsTouched && v.endpointMinimumPv >= v.endpointMaximumPv) {
        return kIllegalDataValue;
    }
    return 0;
}

uint8_t CSimTransmitter::WriteWord(State& state, uint16_t address, uint16_t value) const {
    auto& w = state.words;
    if (address == kPollingAddress) {
        if (value < 1 || value > 247) {
            return kIllegalDataValue;
        }
    } else if (address >= 21 && address <= 28) {
        if (value > 0xFF) {
            return kIllegalDataValue;
        }
    } else if (address == 29) {
        if (value < 1 || value > 31) {
            return kIllegalDataValue;
        }
    } else if (address == 30) {
        const unsigned month = value >> 8;
        if (month < 1 || month > 12) {
            return kIllegalDataValue;
        }
    } else if (address >= kUnitsFirst && address < kUnitsFirst + 3) {
        if (!sim::IsValidUnitsCode(address - kUnitsFirst, value)) {
            return kIllegalDataValue;
        }
    } else if (address == kFullScaleCount) {
        if (value < 1 || value > 65534) {
            return kIllegalDataValue;
        }
    } else if (address == 125) {
        if (value < 1 || value > 10) {
            return kIllegalDataValue;
        }
    } else if (address == 127) {
        if (value > 15) {
            return kIllegalDataValue;
        }
    } else if (address == kFloatFormat) {
        if (value > 3) {
            return kIllegalDataValue;
        }
    } else if (address >= 187 && address <= 192) {
        if (value > 65534) {
            return kIllegalDataValue;
        }
    } else if (address >= 197 && address <= 202) {
        // Scale factors (odd addresses) are counts per unit and never 0.
        if ((address % 2 == 1 && value == 0) || value > 65534) {
            return kIllegalDataValue;
        }
    } else if (address == kScalingMethod) {
        value = std::min<uint16_t>(value, 2);
    }
    w[address] = value;
    return 0;
}

uint8_t CSimTransmitter::WriteFloat(State& state, uint16_t pairAddress, float value) const {
    if (!std::isfinite(value)) {
        return kIllegalDataValue;
    }
    const FloatSlot slot = FloatAt(pairAddress);
    const int i = slot.variable;
    const uint16_t units = state.words[kUnitsFirst + i];
    const double x = IsDimensioned(slot.kind) ? sim::ToInternal(i, units, value) : value;
    Variable& v = state.variables[i];
    const double span = v.upperRangeLimit - v.lowerRangeLimit;
    switch (slot.kind) {
        case FloatKind::kLowerOperatingLimit:
            v.lowerOperatingLimit = x;
            return 0;
        case FloatKind::kUpperOperatingLimit:
            v.upperOperatingLimit = x;
            return 0;
        case FloatKind::kOffsetTrimPoint: {
            // The present condition reads as the trim point from now on.
            const double reading = v.gain * v.setPoint + v.offset;
            v.offset += x - reading;
            v.conditionAtOffsetTrim = v.setPoint;
            v.offsetTrimPoint = x;
            return 0;
        }
        case FloatKind::kSlopeTrimPoint: {
            // Keeps the offset trim point and makes the present condition read x.
            const double conditionSpan = v.setPoint - v.conditionAtOffsetTrim;
            if (std::fabs(conditionSpan) < 1e-6 * std::fabs(span)) {
                return kIllegalDataValue;
            }
            const double gain = (x - v.offsetTrimPoint) / conditionSpan;
            if (gain <= 0.0) {
                return kIllegalDataValue;
            }
            v.gain = gain;
            v.offset = v.offsetTrimPoint - gain * v.conditionAtOffsetTrim;
            v.slopeTrimPoint = x;
            return 0;
        }
        case FloatKind::kDamping:
            if (x < 0.0 || x > 60.0) {
                return kIllegalDataValue;
            }
            v.damping = x;
            return 0;
        case FloatKind::kFixedTemperature: {
            const Variable& pt = state.variables[sim::kPt];
            const double tolerance = Tolerance(pt.lowerRangeLimit, pt.upperRangeLimit);
            if (x < pt.lowerRangeLimit - tolerance || x > pt.upperRangeLimit + tolerance) {
                return kIllegalDataValue;
            }
            state.fixedTemperature = std::clamp(x, pt.lowerRangeLimit, pt.upperRangeLimit);
            return 0;
        }
        case FloatKind::kEndpointMinimumPv:
            v.endpointMinimumPv = x;
            return 0;
        case FloatKind::kEndpointMaximumPv:
            v.endpointMaximumPv = x;
            return 0;
        default:
            return kIllegalDataAddress;
    }
}

// --- Register map ---

CSimTransmitter::FloatSlot CSimTransmitter::FloatAt(uint16_t pairAddress) {
    if (pairAddress < kFloatFirst || pairAddress >= kFloatEnd || (pairAddress & 1u) != 0) {
        return {};
    }
    const int a = pairAddress;
    if (a < 406) {
        return {FloatKind::kPresentValue, (a - 400) / 2};
    }
    if (a >= 412 && a < 436) {
        static constexpr FloatKind kinds[] = {
            FloatKind::kUpperRangeLimit, FloatKind::kLowerRangeLimit,
            FloatKind::kLowerOperatingLimit, FloatKind::kUpperOperatingLimit};
        return {kinds[((a - 412) % 8) / 2], (a - 412) / 8};
    }
    if (a >= 436 && a < 454) {
        static constexpr FloatKind kinds[] = {FloatKind::kOffsetTrimPoint,
                                              FloatKind::kSlopeTrimPoint, FloatKind::kDamping};
        return {kinds[((a - 436) % 6) / 2], (a - 436) / 6};
    }
    if (a == 454) {
        return {FloatKind::kFixedTemperature, sim::kPt};
    }
    if (a >= 468) {
        return {(a - 468) % 4 == 0 ? FloatKind::kEndpointMinimumPv : FloatKind::kEndpointMaximumPv,
                (a - 468) / 4};
    }
    return {};
}

bool CSimTransmitter::IsDimensioned(FloatKind kind) {
    return kind != FloatKind::kNone && kind != FloatKind::kDamping;
}

bool CSimTransmitter::HoldingReadable(uint16_t address) const {
    if (IsIntegerScalingRegister(address) && !m_integerScalingSupported) {
        return false;
    }
    if (address == kFloatFormat && !m_floatFormatSupported) {
        return false;
    }
    if (address >= kFloatFirst) {
        return FloatAt(address & ~1u).kind != FloatKind::kNone;
    }
    return address <= 61 || address == 74 || (address >= kFullScaleCount && address <= 131) ||
           (address >= 187 && address <= 192) || (address >= 197 && address <= kScalingMethod);
}

bool CSimTransmitter::HoldingWritable(uint16_t address) const {
    if (!HoldingReadable(address)) {
        return false;
    }
    if (address >= kFloatFirst) {
        const FloatKind kind = FloatAt(address & ~1u).kind;
        return kind != FloatKind::kPresentValue && kind != FloatKind::kUpperRangeLimit &&
               kind != FloatKind::kLowerRangeLimit;
    }
    return address == kPollingAddress || (address >= 21 && address <= 61) || address == 74 ||
           (address >= kFullScaleCount && address <= 127) || address == kTurnaroundDelay ||
           address == kFloatFormat || (address >= 187 && address <= 192) ||
           (address >= 197 && address <= kScalingMethod);
}

bool CSimTransmitter::InputReadable(uint16_t address) const {
    if (address == kFloatFormat && !m_floatFormatSupported) {
        return false;
    }
    return address <= 1 || (address >= kStatusFirst && address < kStatusFirst + 6) ||
           (address >= 128 && address <= 131);
}

uint16_t CSimTransmitter::HoldingLocked(uint16_t address) const {
    if (address >= kFloatFirst) {
        if (!HoldingReadable(address)) {
            return 0;
        }
        const uint16_t pair = address & ~1u;
        const auto bytes = sim::FloatToWire(static_cast<float>(FloatValueNoNoise(m_state, pair)),
                                            m_state.words[kFloatFormat]);
        const size_t half = (address == pair) ? 0 : 2;
        return static_cast<uint16_t>((bytes[half] << 8) | bytes[half + 1]);
    }
    return m_state.words[address];
}

uint16_t CSimTransmitter::InputLocked(uint16_t address) const {
    if (address >= kStatusFirst && address < kStatusFirst + 6) {
        const StatusBytes status = StatusLocked();
        const size_t index = 2u * (address - kStatusFirst);
        if (index >= kStatusByteCount) {
            return 0;
        }
        return static_cast<uint16_t>((status[index] << 8) | status[index + 1]);
    }
    return address < m_state.words.size() ? m_state.words[address] : 0;
}

double CSimTransmitter::Reading(const State& state, int variable) const {
    if (variable == sim::kPt && !state.coils[kCoilRtdMode]) {
        return state.fixedTemperature;
    }
    const Variable& v = state.variables[variable];
    return v.gain * v.setPoint + v.offset;
}

double CSimTransmitter::FloatValueNoNoise(const State& state, uint16_t pairAddress) const {
    const FloatSlot slot = FloatAt(pairAddress);
    const Variable& v = state.variables[slot.variable];
    double x = 0.0;
    switch (slot.kind) {
        case FloatKind::kPresentValue:
            x = Reading(state, slot.variable);
            break;
        case FloatKind::kUpperRangeLimit:
            x = v.upperRangeLimit;
            break;
        case FloatKind::kLowerRangeLimit:
            x = v.lowerRangeLimit;
            break;
        case FloatKind::kLowerOperatingLimit:
            x = v.lowerOperatingLimit;
            break;
        case FloatKind::kUpperOperatingLimit:
            x = v.upperOperatingLimit;
            break;
        case FloatKind::kOffsetTrimPoint:
            x = v.offsetTrimPoint;
            break;
        case FloatKind::kSlopeTrimPoint:
            x = v.slopeTrimPoint;
            break;
        case FloatKind::kDamping:
            return v.damping;
        case FloatKind::kFixedTemperature:
            x = state.fixedTemperature;
            break;
        case FloatKind::kEndpointMinimumPv:
            x = v.endpointMinimumPv;
            break;
        case FloatKind::kEndpointMaximumPv:
            x = v.endpointMaximumPv;
            break;
        case FloatKind::kNone:
            return 0.0;
    }
    return sim::FromInternal(slot.variable, state.words[kUnitsFirst + slot.variable], x);
}

double CSimTransmitter::FloatValue(const State& state, uint16_t pairAddress, bool withNoise) {
    const FloatSlot slot = FloatAt(pairAddress);
    double value = FloatValueNoNoise(state, pairAddress);
    const bool measured = slot.kind == FloatKind::kPresentValue &&
                          !(slot.variable == sim::kPt && !state.coils[kCoilRtdMode]);
    if (withNoise && measured && m_noise > 0.0) {
        const Variable& v = state.variables[slot.variable];
        const uint16_t units = state.words[kUnitsFirst + slot.variable];
        const double span = std::fabs(sim::FromInternal(slot.variable, units, v.upperRangeLimit) -
                                      sim::FromInternal(slot.variable, units, v.lowerRangeLimit));
        std::uniform_real_distribution<double> noise(-1.0, 1.0);
        value += noise(m_random) * m_noise * span;
    }
    return value;
}

CSimTransmitter::StatusBytes CSimTransmitter::StatusLocked() const {
    StatusBytes status = m_statusBytes;
    // Bits per variable: below LRL - 10 %, below LRL, below LOL, above UOL,
    // above URL, above URL + 10 % (byte, bit; byte 255 = no such bit).
    struct Bits {
        uint8_t byte[6];
        uint8_t bit[6];
    };
    static constexpr Bits kBits[3] = {
        {{1, 0, 0, 0, 0, 0}, {7, 0, 1, 2, 3, 4}},
        {{1, 1, 1, 1, 1, 1}, {1, 2, 3, 4, 5, 6}},
        {{2, 2, 2, 2, 2, 2}, {1, 2, 3, 4, 5, 6}},
    };
    for (int i = 0; i < sim::kVariableCount; ++i) {
        const Variable& v = m_state.variables[i];
        const double x = Reading(m_state, i);
        const double tenPercent = 0.1 * (v.upperRangeLimit - v.lowerRangeLimit);
        const bool set[6] = {
            x<v.lowerRangeLimit - tenPercent,
              x<v.lowerRangeLimit, x<v.lowerOperatingLimit, x> v.upperOperatingLimit, x> v
                  .upperRangeLimit,
              x>
                v.upperRangeLimit +
            tenPercent};
        for (int k = 0; k < 6; ++k) {
            if (set[k]) {
                status[kBits[i].byte[k]] |= static_cast<uint8_t>(1u << kBits[i].bit[k]);
            }
        }
    }
    if (m_state.coils[kCoilTrimMode]) {
        status[0] |= 0x80;
    }
    if (m_writeProtect) {
        status[5] |= 0x02;
    }
    return status;
}

// --- Accessors ---

uint16_t CSimTransmitter::HoldingRegister(uint16_t address) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (address >= kFloatFirst) {
        return HoldingLocked(address);
    }
    return HoldingReadable(address) ? m_state.words[address] : 0;
}

uint16_t CSimTransmitter::InputRegister(uint16_t address) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return InputReadable(address) ? InputLocked(address) : 0;
}

bool CSimTransmitter::SetHoldingRegister(uint16_t address, uint16_t value) {
    if (address >= kFloatFirst) {
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.words[address] = value;
    return true;
}

float CSimTransmitter::Float(uint16_t address) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<float>(FloatValueNoNoise(m_state, address & ~1u));
}

bool CSimTransmitter::SetFloat(uint16_t address, float value) {
    const FloatSlot slot = FloatAt(address & ~1u);
    if (slot.kind == FloatKind::kNone) {
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = slot.variable;
    Variable& v = m_state.variables[i];
    const double x = IsDimensioned(slot.kind) ? ToInternalUnits(i, value) : value;
    switch (slot.kind) {
        case FloatKind::kPresentValue:
            v.setPoint = (x - v.offset) / v.gain;
            break;
        case FloatKind::kUpperRangeLimit:
            v.upperRangeLimit = x;
            break;
        case FloatKind::kLowerRangeLimit:
            v.lowerRangeLimit = x;
            break;
        case FloatKind::kLowerOperatingLimit:
            v.lowerOperatingLimit = x;
            break;
        case FloatKind::kUpperOperatingLimit:
            v.upperOperatingLimit = x;
            break;
        case FloatKind::kOffsetTrimPoint:
            v.offsetTrimPoint = x;
            break;
        case FloatKind::kSlopeTrimPoint:
            v.slopeTrimPoint = x;
            break;
        case FloatKind::kDamping:
            v.damping = x;
            break;
        case FloatKind::kFixedTemperature:
            m_state.fixedTemperature = x;
            break;
        case FloatKind::kEndpointMinimumPv:
            v.endpointMinimumPv = x;
            break;
        case FloatKind::kEndpointMaximumPv:
            v.endpointMaximumPv = x;
            break;
        case FloatKind::kNone:
            break;
    }
    return true;
}

// Conversions between the present units and the internal units (lock held).
double CSimTransmitter::ToInternalUnits(int variable, double value) const {
    return sim::ToInternal(variable, m_state.words[kUnitsFirst + variable], value);
}

double CSimTransmitter::ToPresentUnits(int variable, double internalValue) const {
    return sim::FromInternal(variable, m_state.words[kUnitsFirst + variable], internalValue);
}

bool CSimTransmitter::Coil(unsigned coil) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    Refresh(m_now());
    if (coil == kCoilSelfTest) {
        return m_selfTestRunning;
    }
    return coil < kCoilCount && m_state.coils[coil];
}

void CSimTransmitter::SetCoil(unsigned coil, bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (coil == kCoilSelfTest) {
        m_selfTestRunning = on;
        m_selfTestEnd = m_now() + std::chrono::milliseconds(m_selfTestDurationMs);
    } else if (coil < kCoilCount) {
        m_state.coils[coil] = on;
    }
}

void CSimTransmitter::SetAddress(uint8_t address) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_address = address;
    m_state.words[kPollingAddress] = address;
}

uint16_t CSimTransmitter::UnitsCode(SimVariable variable) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state.words[kUnitsFirst + static_cast<int>(variable)];
}

void CSimTransmitter::SetUnitsCode(SimVariable variable, uint16_t deviceCode) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.words[kUnitsFirst + static_cast<int>(variable)] = deviceCode;
}

void CSimTransmitter::SetText(uint16_t first, uint16_t count, const std::string& text) {
    for (uint16_t i = 0; i < count; ++i) {
        const size_t c = 2u * i;
        const uint8_t high = c < text.size() ? static_cast<uint8_t>(text[c]) : 0;
        const uint8_t low = c + 1 < text.size() ? static_cast<uint8_t>(text[c + 1]) : 0;
        m_state.words[first + i] = static_cast<uint16_t>((high << 8) | low);
    }
}

std::string CSimTransmitter::Text(uint16_t first, uint16_t count) const {
    std::string text;
    for (uint16_t i = 0; i < count; ++i) {
        text.push_back(static_cast<char>(m_state.words[first + i] >> 8));
        text.push_back(static_cast<char>(m_state.words[first + i] & 0xFF));
    }
    const size_t end = text.find('\0');
    return end == std::string::npos ? text : text.substr(0, end);
}

std::string CSimTransmitter::Tag() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return Text(kTagFirst, 4);
}

void CSimTransmitter::SetTag(const std::string& tag) {
    std::lock_guard<std::mutex> lock(m_mutex);
    SetText(kTagFirst, 4, tag);
}

std::string CSimTransmitter::Descriptor() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return Text(kDescriptorFirst, 8);
}

void CSimTransmitter::SetDescriptor(const std::string& descriptor) {
    std::lock_guard<std::mutex> lock(m_mutex);
    SetText(kDescriptorFirst, 8, descriptor);
}

std::string CSimTransmitter::Message() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return Text(kMessageFirst, 16);
}

void CSimTransmitter::SetMessage(const std::string& message) {
    std::lock_guard<std::mutex> lock(m_mutex);
    SetText(kMessageFirst, 16, message);
}

unsigned CSimTransmitter::TurnaroundDelayMs() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state.words[kTurnaroundDelay];
}

void CSimTransmitter::SetTurnaroundDelayMs(uint16_t ms) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.words[kTurnaroundDelay] = ms;
}

uint16_t CSimTransmitter::FloatFormat() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state.words[kFloatFormat];
}

void CSimTransmitter::SetFloatFormat(uint16_t format) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.words[kFloatFormat] = format;
}

uint16_t CSimTransmitter::IntegerScalingMethod() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state.words[kScalingMethod];
}

CSimTransmitter::StatusBytes CSimTransmitter::Status() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    Refresh(m_now());
    return StatusLocked();
}

void CSimTransmitter::SetStatusBytes(const StatusBytes& bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_statusBytes = bytes;
}

bool CSimTransmitter::WriteProtect() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_writeProtect;
}

void CSimTransmitter::SetWriteProtect(bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_writeProtect = on;
}

double CSimTransmitter::LowerRangeLimit(SimVariable variable) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = static_cast<int>(variable);
    return ToPresentUnits(i, m_state.variables[i].lowerRangeLimit);
}

double CSimTransmitter::UpperRangeLimit(SimVariable variable) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = static_cast<int>(variable);
    return ToPresentUnits(i, m_state.variables[i].upperRangeLimit);
}

void CSimTransmitter::SetRangeLimits(SimVariable variable, double lower, double upper) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = static_cast<int>(variable);
    m_state.variables[i].lowerRangeLimit = ToInternalUnits(i, lower);
    m_state.variables[i].upperRangeLimit = ToInternalUnits(i, upper);
}

double CSimTransmitter::LowerOperatingLimit(SimVariable variable) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = static_cast<int>(variable);
    return ToPresentUnits(i, m_state.variables[i].lowerOperatingLimit);
}

double CSimTransmitter::UpperOperatingLimit(SimVariable variable) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = static_cast<int>(variable);
    return ToPresentUnits(i, m_state.variables[i].upperOperatingLimit);
}

void CSimTransmitter::SetOperatingLimits(SimVariable variable, double lower, double upper) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = static_cast<int>(variable);
    m_state.variables[i].lowerOperatingLimit = ToInternalUnits(i, lower);
    m_state.variables[i].upperOperatingLimit = ToInternalUnits(i, upper);
}

double CSimTransmitter::Damping(SimVariable variable) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state.variables[static_cast<int>(variable)].damping;
}

void CSimTransmitter::SetDamping(SimVariable variable, double seconds) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.variables[static_cast<int>(variable)].damping = seconds;
}

double CSimTransmitter::FixedProcessTemperature() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return ToPresentUnits(sim::kPt, m_state.fixedTemperature);
}

void CSimTransmitter::SetFixedProcessTemperature(double temperature) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.fixedTemperature = ToInternalUnits(sim::kPt, temperature);
}

double CSimTransmitter::PresentValueSetPoint(SimVariable variable) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = static_cast<int>(variable);
    return ToPresentUnits(i, m_state.variables[i].setPoint);
}

void CSimTransmitter::SetPresentValueSetPoint(SimVariable variable, double value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = static_cast<int>(variable);
    m_state.variables[i].setPoint = ToInternalUnits(i, value);
}

double CSimTransmitter::PresentValue(SimVariable variable) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int i = static_cast<int>(variable);
    return ToPresentUnits(i, Reading(m_state, i));
}

void CSimTransmitter::SetPresentValueNoise(double shareOfSpan) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_noise = shareOfSpan;
}

void CSimTransmitter::SetMasterResetDurationMs(unsigned ms) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_masterResetDurationMs = ms;
}

void CSimTransmitter::SetSelfTestDurationMs(unsigned ms) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_selfTestDurationMs = ms;
}

void CSimTransmitter::SetTimeSource(TimeSource now) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_now = now ? std::move(now) : TimeSource(Clock::now);
}

void CSimTransmitter::SetSelfTestResult(const StatusBytes& bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_selfTestResult = bytes;
    m_hasSelfTestResult = true;
}

bool CSimTransmitter::IsSelfTestRunning() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    Refresh(m_now());
    return m_selfTestRunning;
}

uint64_t CSimTransmitter::RequestsHandled() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requestsHandled;
}

std::vector<CSimTransmitter::RequestRecord> CSimTransmitter::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void CSimTransmitter::ClearRequests() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}
