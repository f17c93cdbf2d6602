#pragma once

#include <string>

namespace transmitter {

// The name of a variable code: DP, SP, PT, flow by their texts, 239 empty. Any
// other code is reported as an error and yields "illegal code = <code>".
std::string GetVariableName(int code);

// True for the codes a dynamic variable slot may hold: 0, 1, 2, 32.
bool IsValidVariableCode(int code);

}  // namespace transmitter
