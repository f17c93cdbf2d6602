#pragma once

#include <string>
#include <vector>

// Numbers typed into the fields of the configuration windows, and the values
// the terminal gives for several fields at once.
namespace config {

// A number that a single-precision value holds. False for text that is no
// number and for a number beyond the range of a float.
bool ParseFloat(const std::string& text, float& value);
// "%g" of a value, as the windows show limits and PVs.
std::string LimitText(double value);
// The parts of a terminal value such as "-250:250", split at every ':'.
std::vector<std::string> SplitParts(const std::string& value);

}  // namespace config
