#pragma once

#include <string>

class CMeasuredVariable;
class CTransmitter;

// The names the configuration windows and the terminal share.
namespace config {

// "DP", "SP", "PT" for the variable indexes 0, 1, 2; empty for any other.
std::string VariableKey(int variable);
// The variable index of "DP", "SP" or "PT"; -1 for any other key.
int VariableIndex(const std::string& key);
// A measured variable of the model by index 0 DP, 1 SP, 2 PT.
const CMeasuredVariable& VariableOf(const CTransmitter& model, int variable);

}  // namespace config
