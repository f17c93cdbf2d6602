#pragma once

#include <string>

// Every numbered text of the program, looked up by its number. Unknown numbers
// give an empty text.
std::string LoadString(unsigned id);
bool HasString(unsigned id);

// printf-style formatting of a numbered or named text, in the "C" locale
// whatever the desktop's locale, so numbers always carry a decimal point.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
