#pragma once

#include <cstdarg>
#include <string>

// Numbers as the program reads and writes them: always with a decimal point,
// whatever locale the desktop or the C library is set to.
namespace platform {

// Reads a whole text as a decimal number ("12", "-0.5", "1e3", "+2."), allowing
// spaces before and after it. False for anything else: an empty text, "inf"
// or "nan", or a value outside the range of a double.
bool ParseDouble(const std::string& text, double& value);

// Reads a whole text as a decimal integer, allowing spaces around it and a
// leading '+'. False for anything else or a value outside the range of long.
bool ParseLong(const std::string& text, long& value);

// vsnprintf in the "C" locale.
std::string FormatV(const char* format, va_list args);

}  // namespace platform
