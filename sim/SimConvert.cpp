#include "sim/SimConvert.h"

#include <cstring>

namespace sim {

namespace {

// Units of a pressure unit in one inch of water at 68 °F, by device units code.
double PressureFactor(int variable, uint16_t deviceCode) {
    if (variable == kDp) {
        switch (deviceCode) {
            case 1:
                return 0.999189;  // InH2O-60°F
            case 2:
                return 248.64107;  // Pa
            case 3:
                return 0.24864107;  // kPa
            default:
                return 1.0;  // 6: InH2O-68°F
        }
    }
    switch (deviceCode) {
        case 3:
            return 0.24864107;  // kPa
        case 4:
            return 0.00024864107;  // MPa
        default:
            return 0.03606234;  // 5: psi
    }
}

// A code the device does not know is treated as the variable's default unit.
uint16_t KnownCode(int variable, uint16_t deviceCode) {
    if (IsValidUnitsCode(variable, deviceCode)) {
        return deviceCode;
    }
    return variable == kDp ? 1 : variable == kSp ? 5 : 21;
}

}  // namespace

std::array<uint8_t, 4> FloatToWire(float value, uint16_t format) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const uint8_t a = static_cast<uint8_t>(bits >> 24);
    const uint8_t b = static_cast<uint8_t>(bits >> 16);
    const uint8_t c = static_cast<uint8_t>(bits >> 8);
    const uint8_t d = static_cast<uint8_t>(bits);
    switch (format) {
        case 1:
            return {c, d, a, b};
        case 2:
            return {d, c, b, a};
        case 3:
            return {b, a, d, c};
        default:
            return {a, b, c, d};
    }
}

float FloatFromWire(const uint8_t* bytes, uint16_t format) {
    uint8_t a = bytes[0], b = bytes[1], c = bytes[2], d = bytes[3];
    switch (format) {
        case 1:
            a = bytes[2], b = bytes[3], c = bytes[0], d = bytes[1];
            break;
        case 2:
            a = bytes[3], b = bytes[2], c = bytes[1], d = bytes[0];
            break;
        case 3:
            a = bytes[1], b = bytes[0], c = bytes[3], d = bytes[2];
            break;
        default:
            break;
    }
    const uint32_t bits = (uint32_t{a} << 24) | (uint32_t{b} << 16) | (uint32_t{c} << 8) | d;
    float value = 0.0F;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool IsValidUnitsCode(int variable, uint16_t deviceCode) {
    switch (variable) {
        case kDp:
            return deviceCode == 1 || deviceCode == 2 || deviceCode == 3 || deviceCode == 6;
        case kSp:
            return deviceCode >= 3 && deviceCode <= 5;
        case kPt:
            return deviceCode == 20 || deviceCode == 21;
        default:
            return false;
    }
}

double ToInternal(int variable, uint16_t deviceCode, double value) {
    const uint16_t code = KnownCode(variable, deviceCode);
    if (variable == kPt) {
        return code == 20 ? value * 1.8 + 32.0 : value;  // °C or °F
    }
    return value / PressureFactor(variable, code);
}

double FromInternal(int variable, uint16_t deviceCode, double value) {
    const uint16_t code = KnownCode(variable, deviceCode);
    if (variable == kPt) {
        return code == 20 ? (value - 32.0) / 1.8 : value;
    }
    return value * PressureFactor(variable, code);
}

}  // namespace sim
