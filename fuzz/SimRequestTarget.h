#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Feeds the input to a new simulated transmitter as a sequence of request
// PDUs, each preceded by its length in one byte, so that writes change what
// later requests see. Returns an empty text when every reply held its form,
// else what broke: an exception reply that is not two bytes with code 1 to 4,
// a normal reply to a function the device does not serve, a read reply whose
// byte count does not match the request and its length, a write reply that
// does not echo the request, or a polling address outside 1 to 247.
std::string CheckSimRequestInput(const uint8_t* data, size_t size);

}  // namespace fuzz
