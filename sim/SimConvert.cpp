#include "sim/SimConvert.h"

#include <cstring>

namespace sim {

namespace {

// Program units code of a device units code.
int ProgramCode(int variable, uint16_t deviceCode) {
    switch (variable) {
        case kDp:
            switch (deviceCode) {
                case 1: return 240;
                case 2: return 11;
                case 3: return 12;
                case 6: return 1;
                default: return deviceCode;
            }
        case kSp:
            switch (deviceCode) {
                case 3: return 12;
                case 4: return 237;
                case 5: return 6;
                default: return deviceCode;
            }
        default:
            switch (deviceCode) {
                case 20: return 32;
                case 21: return 33;
                default: return deviceCode;
            }
    }
}

// Units of a pressure unit in one inch of water at 68 °F; 0 for an unknown unit.
double PressureFactor(int programCode) {
    switch (programCode) {
        case 1: return 1.0;
        case 2: return 0.073423854;
        case 3: return 1.0 / 12.0;
        case 4: return 25.4;
        case 5: return 1.86497;
        case 6: return 0.03606234;
        case 7: return 0.0024864107;
        case 8: return 2.4864107;
        case 9: return 2.5354333;
        case 10: return 0.0025354333;
        case 11: return 248.64107;
        case 12: return 0.24864107;
        case 13: return 1.86497;
        case 14: return 0.002453898;
        case 237: return 0.00024864107;
        case 240: return 0.999189;
        default: return 0.0;
    }
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
        case 1: return {c, d, a, b};
        case 2: return {d, c, b, a};
        case 3: return {b, a, d, c};
        default: return {a, b, c, d};
    }
}

float FloatFromWire(const uint8_t* bytes, uint16_t format) {
    uint8_t a = bytes[0], b = bytes[1], c = bytes[2], d = bytes[3];
    switch (format) {
        case 1: a = bytes[2], b = bytes[3], c = bytes[0], d = bytes[1]; break;
        case 2: a = bytes[3], b = bytes[2], c = bytes[1], d = bytes[0]; break;
        case 3: a = bytes[1], b = bytes[0], c = bytes[3], d = bytes[2]; break;
        default: break;
    }
    const uint32_t bits = (uint32_t{a} << 24) | (uint32_t{b} << 16) | (uint32_t{c} << 8) | d;
    float value = 0.0F;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool IsValidUnitsCode(int variable, uint16_t deviceCode) {
    switch (variable) {
        case kDp: return deviceCode == 1 || deviceCode == 2 || deviceCode == 3 || deviceCode == 6;
        case kSp: return deviceCode >= 3 && deviceCode <= 5;
        case kPt: return deviceCode == 20 || deviceCode == 21;
        default: return false;
    }
}

double ToInternal(int variable, uint16_t deviceCode, double value) {
    const int code = ProgramCode(variable, deviceCode);
    if (variable == kPt) {
        switch (code) {
            case 32: return value * 1.8 + 32.0;
            case 34: return value - 459.67;
            case 35: return value * 1.8 - 459.67;
            default: return value;
        }
    }
    const double k = PressureFactor(code);
    return k > 0.0 ? value / k : value;
}

double FromInternal(int variable, uint16_t deviceCode, double value) {
    const int code = ProgramCode(variable, deviceCode);
    if (variable == kPt) {
        switch (code) {
            case 32: return (value - 32.0) / 1.8;
            case 34: return value + 459.67;
            case 35: return (value + 459.67) / 1.8;
            default: return value;
        }
    }
    const double k = PressureFactor(code);
    return k > 0.0 ? value * k : value;
}

}  // namespace sim
