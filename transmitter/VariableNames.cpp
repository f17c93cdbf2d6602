#include "transmitter/VariableNames.h"

#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/ModelTypes.h"

namespace transmitter {

std::string GetVariableName(int code) {
    switch (code) {
        case kVarDp:
            return LoadString(450);
        case kVarSp:
            return LoadString(451);
        case kVarPt:
            return LoadString(452);
        case kVarFlow:
            return LoadString(453);
        case kVarNone:
            return {};
        default:
            Ui().MessageBox(FormatText(texts::kIllegalVariableCode, code), MsgButtons::Ok,
                            MsgIcon::Stop);
            return FormatText(texts::kIllegalCodeName, code);
    }
}

bool IsValidVariableCode(int code) {
    return code == kVarDp || code == kVarSp || code == kVarPt || code == kVarFlow;
}

}  // namespace transmitter
