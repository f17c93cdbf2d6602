#pragma once

#include <string>
#include <utility>
#include <vector>

class CTransmitter;

namespace app {

// The fields one step of Send configuration writes, named and shown as the
// change log records them ("DP damping" -> "2.5 seconds"), read from the
// document (access 1) or the connected transmitter (access 2). A value that
// cannot be read shows as "?".
using ShownValues = std::vector<std::pair<std::string, std::string>>;
ShownValues SentValues(CTransmitter& model, int step, int access);

}  // namespace app
