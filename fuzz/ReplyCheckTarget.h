#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Feeds one input to the reply check and to a whole exchange of the master. The
// input's first bytes choose the request (function, start, quantity, address);
// the rest is the reply. Returns an empty text when every property held, else
// what broke: a result that is neither 0 nor an error number of the reply check,
// or a good reply whose frame lies beyond the bytes received.
std::string CheckReplyInput(const uint8_t* data, size_t size);

}  // namespace fuzz
