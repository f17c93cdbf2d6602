#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Reads the input as a CHEMICAL.DB1 file through every request of the reader:
// the name list, the look-up and each record kind of the names it lists, and
// the look-up of a name taken from the input. Returns an empty text when every
// property held, else what broke: a file with a first line that cannot be
// listed (or the reverse), a listed name that is not upper case or carries a
// "$", a listed name the look-up does not find, or a record with a value that
// is not a finite number.
std::string CheckDatabaseInput(const uint8_t* data, size_t size);

}  // namespace fuzz
