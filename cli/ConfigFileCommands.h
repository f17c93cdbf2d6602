#pragma once

#include <ostream>
#include <string>

// Terminal commands on configuration files. Each returns 0 on success; a
// failure prints the document's message and the failure's own text on stderr
// and returns 1.

// Writes the configuration of a new document to `out`.
int NewConfig(const std::string& out);
// Loads `in` and saves it as `out` (in the current layout).
int CopyConfig(const std::string& in, const std::string& out);
// Prints every field of `in`: readable text with the units named, or (json) one
// JSON object whose keys and their order do not change between releases.
int ShowConfig(const std::string& in, std::ostream& out, bool json);
