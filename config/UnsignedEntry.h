#pragma once

#include <string>

namespace config {

// Reads an edit field that takes an unsigned integer from `minimum` to
// `maximum`. Returns the window's message for a text that is no unsigned
// integer ("Please enter a positive integer.") or one outside the range
// ("Please enter an integer between ... and ..."); empty when `value` holds
// the number.
std::string ReadUnsigned(const std::string& text, unsigned long minimum, unsigned long maximum,
                         unsigned long& value);

}  // namespace config
