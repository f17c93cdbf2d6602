#include "config/CUnitsForm.h"

#include "config/ConfigKeys.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdSetupCaption = 772;
constexpr unsigned kIdTransmitterCaption = 773;
constexpr const char* kLabels[] = {texts::kDpLabel, texts::kSpLabel, texts::kPtLabel};
}  // namespace

std::string CUnitsForm::Caption() const {
    return LoadString(InSetupMode() ? kIdSetupCaption : kIdTransmitterCaption);
}

void CUnitsForm::Read() {
    for (int v = kVarDp; v <= kVarPt; ++v) {
        CMeasuredVariable& variable = Model().Variable(v);
        FormField field;
        field.key = config::VariableKey(v);
        field.label = kLabels[v];
        field.kind = FieldKind::Choice;
        const CGoArray<CUnit>& allowed = variable.AllowedUnits();
        for (size_t i = 0; i < allowed.GetSize(); ++i) field.choices.push_back(allowed[i].Name());
        const CUnit current = variable.ReadUnits(Access());
        for (size_t i = 0; i < allowed.GetSize(); ++i) {
            if (allowed[i].UnitCode() == current.UnitCode() &&
                allowed[i].MeasType() == current.MeasType()) {
                field.selected = static_cast<int>(i);
                break;
            }
        }
        m_firstSelected[static_cast<size_t>(v)] = field.selected;
        AddField(std::move(field));
    }
}

std::vector<int> CUnitsForm::ChoiceCodes(const std::string& key) const {
    const int v = config::VariableIndex(key);
    std::vector<int> codes;
    if (v < 0) return codes;
    const CGoArray<CUnit>& allowed = config::VariableOf(Model(), v).AllowedUnits();
    for (size_t i = 0; i < allowed.GetSize(); ++i) codes.push_back(allowed[i].UnitCode());
    return codes;
}

FormOutcome CUnitsForm::Ok() {
    std::array<bool, 3> changed{};
    bool anyChanged = false;
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const auto i = static_cast<size_t>(v);
        changed[i] = Field(config::VariableKey(v))->selected != m_firstSelected[i];
        anyChanged = anyChanged || changed[i];
    }
    if (!anyChanged) return FormOutcome::Close(FormResult::Ok);

    uint16_t method = kScalingDisabled;
    try {
        CFormWaitCursor wait(*this);
        method = Model().ReadIntegerScalingMethod(Access());
    } catch (const CCommException& e) {
        if (e.Error() != commerr::kIntegerScalingUnsupported) {
            ReportException(e);
            return FormOutcome::Stay();
        }
    } catch (const std::exception& e) {
        ReportException(e);
        return FormOutcome::Stay();
    }
    if (method == kScalingEnteredFactors || method == kScalingCalculatedFactors) {
        if (Ui().MessageBox(texts::kRecalculateScaling, MsgButtons::OkCancel,
                            MsgIcon::Exclamation) != MsgAnswer::Ok)
            return FormOutcome::Stay();
    }
    if (!ConfirmWrite()) return FormOutcome::Close(FormResult::Cancel);
    MarkModified();

    try {
        CFormWaitCursor wait(*this);
        for (int v = kVarDp; v <= kVarPt; ++v) {
            if (!changed[static_cast<size_t>(v)]) continue;
            const FormField& field = *Field(config::VariableKey(v));
            CMeasuredVariable& variable = Model().Variable(v);
            const std::string before =
                m_firstSelected[static_cast<size_t>(v)] >= 0
                    ? field.choices[static_cast<size_t>(m_firstSelected[static_cast<size_t>(v)])]
                    : std::string();
            // A list left without a selection has nothing to write.
            if (field.selected < 0) continue;
            const CUnit unit = variable.AllowedUnits()[static_cast<size_t>(field.selected)];
            Write(field.key, before, field.Shown(), [&] { variable.WriteUnits(unit, Access()); });
        }
    } catch (const std::exception& e) {
        return WriteFailed(e);
    }
    NotifyWritten();
    return FormOutcome::Close(FormResult::Ok);
}
