#pragma once

// The unnumbered texts that the program shows or writes, quoted by the
// specification without a string number. Numbered texts live in the string
// table (resources/Strings.h).
namespace texts {

// Units (Part 3.1)
inline constexpr const char* kUnknownUnitInName = "ERROR: Unknown Unit in CUnit::Name";
inline constexpr const char* kUnknownMeasTypeInConvertArray =
    "ERROR: Unknown MeasTypeCode in ConvertArray";

}  // namespace texts
