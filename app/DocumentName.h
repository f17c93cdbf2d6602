#pragma once

#include <string>

namespace app {

// The file name a received configuration is given after the transmitter's tag:
// its first 8 characters up to the first one a file name cannot hold, plus
// ".CMM"; "UNTITLED" when nothing usable remains.
std::string DocumentNameFromTag(const std::string& tag);

}  // namespace app
