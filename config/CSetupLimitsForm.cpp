#include "config/CSetupLimitsForm.h"

#include "config/ConfigKeys.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdBelowLowerRange = 2428;
constexpr unsigned kIdAboveUpperRange = 2429;
constexpr unsigned kIdUpperNotAboveLower = 2430;
}  // namespace

std::string CSetupLimitsForm::Caption() const { return texts::kSetupLimitsCaption; }

void CSetupLimitsForm::Read() {
    for (int v = kVarDp; v <= kVarPt; ++v) {
        CMeasuredVariable& variable = Model().Variable(v);
        const double lower = variable.ReadLowerOperatingLimit(Access());
        const double upper = variable.ReadUpperOperatingLimit(Access());
        AddLimitFields(v, lower, upper, variable.ReadUnits(Access()).Name());
    }
}

FormOutcome CSetupLimitsForm::Ok() {
    Entered entered;
    FormOutcome refusal;
    if (!ReadEntered(entered, refusal)) return refusal;
    std::array<bool, 3> changed{};
    bool anyChanged = false;
    for (int v = kVarDp; v <= kVarPt; ++v) {
        changed[static_cast<size_t>(v)] = Changed(entered, v);
        anyChanged = anyChanged || changed[static_cast<size_t>(v)];
    }
    if (!anyChanged) return FormOutcome::Close(FormResult::Ok);

    for (int v = kVarDp; v <= kVarPt; ++v) {
        const auto i = static_cast<size_t>(v);
        if (!changed[i]) continue;
        const float lower = entered.lower[i];
        const float upper = entered.upper[i];
        if (lower < kLowerBounds[i])
            return FormOutcome::Refuse(LoadString(kIdBelowLowerRange), LowerKey(v));
        if (upper > kUpperBounds[i])
            return FormOutcome::Refuse(LoadString(kIdAboveUpperRange), UpperKey(v));
        if (upper <= lower)
            return FormOutcome::Refuse(LoadString(kIdUpperNotAboveLower), UpperKey(v));
        MarkModified();
        try {
            Write(config::VariableKey(v), FirstReadText(v), EnteredText(entered, v),
                  [&] { Model().Variable(v).WriteOperatingLimits(lower, upper, Access()); });
        } catch (const std::exception& e) {
            return WriteFailed(e);
        }
        Keep(entered, v);
    }
    return FormOutcome::Close(FormResult::Ok);
}
