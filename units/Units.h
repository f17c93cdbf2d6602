#pragma once

#include <string>
#include <vector>

#include "units/CUnit.h"

// The code tables and the array conversion.
namespace units {

// Measurement type codes.
inline constexpr int kMtcDp = 0;
inline constexpr int kMtcSp = 1;
inline constexpr int kMtcPt = 2;
inline constexpr int kMtcFlow = 32;
inline constexpr int kMtcDensity = 33;
inline constexpr int kMtcViscosity = 34;
inline constexpr int kMtcLength = 35;
inline constexpr int kMtcNone = 36;

// True for the eight measurement type codes above.
bool IsKnownType(int measType);
// The unit codes allowed for a measurement type, in the order they are listed
// to the user; empty for an unknown type.
std::vector<int> AllowedUnits(int measType);
// True when `unitCode` is in the allowed list of `measType`.
bool IsAllowed(int unitCode, int measType);
// The type's name in messages, with its leading blank (" DP", " FLOW", ...);
// empty for an unknown type.
std::string TypeName(int measType);
// True when the unit has a name (codes 240 and above depend on the type).
bool HasUnitName(int unitCode, int measType);
// The unit's name (UTF-8, "InH2O-68°F"); empty for code 0 and for a unit
// without a name. Shows nothing.
std::string UnitName(int unitCode, int measType);

// Converts values[0..n-1] in place from `from` to `to`, choosing the dimension
// class by the measurement type of `to`: 1 pressure, 2 temperature, 33 density,
// 34 viscosity. Any other type shows "ERROR: Unknown MeasTypeCode in
// ConvertArray" and abandons silently. n below 1 does nothing.
void ConvertArray(int n, double* values, const CUnit& from, const CUnit& to);

}  // namespace units
