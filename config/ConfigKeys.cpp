#include "config/ConfigKeys.h"

#include "link/ErrorReport.h"
#include "transmitter/CTransmitter.h"

namespace config {

std::string VariableKey(int variable) {
    switch (variable) {
        case transmitter::kVarDp:
            return "DP";
        case transmitter::kVarSp:
            return "SP";
        case transmitter::kVarPt:
            return "PT";
        default:
            return std::string();
    }
}

int VariableIndex(const std::string& key) {
    for (int v = transmitter::kVarDp; v <= transmitter::kVarPt; ++v) {
        if (VariableKey(v) == key) return v;
    }
    return -1;
}

const CMeasuredVariable& VariableOf(const CTransmitter& model, int variable) {
    switch (variable) {
        case transmitter::kVarDp:
            return model.Dp();
        case transmitter::kVarSp:
            return model.Sp();
        case transmitter::kVarPt:
            return model.Pt();
        default:
            RaiseCommError(commerr::kInvalidVariable);
    }
}

}  // namespace config
