#pragma once

#include <string>

// Texts in the terminal's JSON output.
namespace cli {

// The text as a JSON string, quoted and escaped. Texts that are not UTF-8
// (8-bit texts of old files) are read as Latin-1.
std::string JsonString(const std::string& text);

// True when the text is a number as JSON writes it ("-0.5", "1e+06"); the
// "%g" texts of the windows are.
bool IsJsonNumber(const std::string& text);

}  // namespace cli
