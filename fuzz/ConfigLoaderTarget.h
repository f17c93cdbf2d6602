#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Loads the input as a configuration file. A load either succeeds, and the
// model then stores and reloads to the same bytes, or fails with one of the
// program's own failures and leaves the document unmodified. Returns an empty
// text when that held, else what broke.
std::string CheckConfigInput(const uint8_t* data, size_t size);

}  // namespace fuzz
