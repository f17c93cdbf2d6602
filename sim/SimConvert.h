#pragma once

#include <array>
#include <cstdint>

// Value conversions of the simulated transmitter: float byte orders on the wire
// and engineering units. Dimensioned values are kept in a fixed internal unit
// per variable (inches of water at 68 °F for DP and SP, °F for PT) and converted
// to the selected units whenever they are served or accepted.
namespace sim {

constexpr int kVariableCount = 3;
constexpr int kDp = 0;
constexpr int kSp = 1;
constexpr int kPt = 2;

// The four wire bytes of a float in a float format (0 A B C D, 1 C D A B,
// 2 D C B A, 3 B A D C; any other format as 0).
std::array<uint8_t, 4> FloatToWire(float value, uint16_t format);
float FloatFromWire(const uint8_t* bytes, uint16_t format);

// Whether a device units code is one the variable accepts (DP 1, 2, 3, 6;
// SP 3, 4, 5; PT 20, 21).
bool IsValidUnitsCode(int variable, uint16_t deviceCode);

// Converts between a variable's device units code and its internal unit. A code
// the variable does not accept is taken as its default unit (DP 1, SP 5, PT 21).
double ToInternal(int variable, uint16_t deviceCode, double value);
double FromInternal(int variable, uint16_t deviceCode, double value);

}  // namespace sim
