#include "config/CSensorLimitsForm.h"

#include "config/ConfigKeys.h"
#include "config/FormNumbers.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdBelowLowerRange = 2428;
constexpr unsigned kIdAboveUpperRange = 2429;
constexpr unsigned kIdUpperNotAboveLower = 2430;
constexpr unsigned kIdDpLimitsRejected = 973;  // 974 SP, 975 PT
constexpr size_t kWriteProtectByte = 5;
constexpr uint8_t kWriteProtectBit = 0x02;
constexpr const char* kRowLabels[] = {texts::kDpRow, texts::kSpRow, texts::kPtRow};

std::string Key(int variable, const char* part) { return config::VariableKey(variable) + part; }

bool IsRejection(const CCommException& e, int variable) {
    return e.Error() == commerr::kDpLimitsRejected + variable;
}
}  // namespace

std::string CSensorLimitsForm::Caption() const { return texts::kSensorLimitsCaption; }

void CSensorLimitsForm::WriteLimits(int variable, double lower, double upper) {
    Model().Variable(variable).WriteOperatingLimits(lower, upper, Access());
}

void CSensorLimitsForm::Read() {
    const std::array<uint8_t, 6> status = Model().Comm().ReadStatusBytes();
    FormField protect;
    protect.key = "write-protect";
    protect.label = texts::kWriteProtectStatusLabel;
    protect.kind = FieldKind::Value;
    protect.text = (status[kWriteProtectByte] & kWriteProtectBit) != 0 ? texts::kWriteProtectOn
                                                                       : texts::kWriteProtectOff;
    AddField(std::move(protect));

    Model().ReadVariableAssignment(Access());
    std::array<PresentValue, 3> present{};
    for (int v = kVarDp; v <= kVarPt; ++v)
        present[static_cast<size_t>(v)] = Model().Variable(v).ReadPresentValue();

    for (int v = kVarDp; v <= kVarPt; ++v) {
        const auto i = static_cast<size_t>(v);
        CMeasuredVariable& variable = Model().Variable(v);
        const int spType = v == kVarSp ? Model().Sp().ReadSpType(Access()) : -1;
        const VariableSettings settings = variable.ReadSettings(Access());
        const std::pair<double, double> limits = variable.ReadOperatingLimits(Access());
        m_lowerRange[i] = static_cast<float>(settings.lowerRangeLimit);
        m_upperRange[i] = static_cast<float>(settings.upperRangeLimit);
        const CUnit units(settings.unitsCode, v);
        const std::string unitsName = v == kVarSp ? units.NameWithSuffix(spType) : units.Name();

        auto addValue = [&](const char* part, const std::string& text) {
            FormField field;
            field.key = Key(v, part);
            field.label = kRowLabels[v];
            field.kind = FieldKind::Value;
            field.text = text;
            AddField(std::move(field));
        };
        addValue("-present", FormatText("%#lg", present[i].value));
        addValue("-units", unitsName);
        addValue("-LRL", config::LimitText(m_lowerRange[i]));
        addValue("-LOL", config::LimitText(static_cast<float>(limits.first)));
        addValue("-UOL", config::LimitText(static_cast<float>(limits.second)));
        addValue("-URL", config::LimitText(m_upperRange[i]));
        AddLimitFields(v, limits.first, limits.second, unitsName);
    }
}

std::vector<FormField> CSensorLimitsForm::TerminalFields() const {
    std::vector<FormField> fields = {*Field("write-protect")};
    const std::vector<FormField> limits = COperatingLimitsForm::TerminalFields();
    for (int v = kVarDp; v <= kVarPt; ++v) {
        fields.push_back(limits[static_cast<size_t>(v)]);
        for (const char* part : {"-LRL", "-URL", "-present"}) {
            FormField value = *Field(Key(v, part));
            value.suffix = UnitsName(v);
            fields.push_back(std::move(value));
        }
    }
    return fields;
}

FormOutcome CSensorLimitsForm::Ok() {
    Entered entered;
    FormOutcome refusal;
    if (!ReadEntered(entered, refusal)) return refusal;
    const Entered asTyped = entered;
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
        float& lower = entered.lower[i];
        float& upper = entered.upper[i];
        // A limit typed as the range limit is shown is that range limit.
        if (config::LimitText(lower) == Field(Key(v, "-LRL"))->text)
            lower = m_lowerRange[i];
        else if (lower < m_lowerRange[i])
            return FormOutcome::Refuse(LoadString(kIdBelowLowerRange), LowerKey(v));
        if (config::LimitText(upper) == Field(Key(v, "-URL"))->text)
            upper = m_upperRange[i];
        else if (upper > m_upperRange[i])
            return FormOutcome::Refuse(LoadString(kIdAboveUpperRange), UpperKey(v));
        if (lower >= upper)
            return FormOutcome::Refuse(LoadString(kIdUpperNotAboveLower), UpperKey(v));
    }
    if (!ConfirmWrite()) return FormOutcome::Stay();

    int rejected = -1;
    bool written = false;
    try {
        CFormWaitCursor wait(*this);
        for (int v = kVarDp; v <= kVarPt && rejected < 0; ++v) {
            const auto i = static_cast<size_t>(v);
            if (!changed[i]) continue;
            try {
                Write(config::VariableKey(v), FirstReadText(v), EnteredText(entered, v),
                      [&] { WriteLimits(v, entered.lower[i], entered.upper[i]); });
            } catch (const CCommException& e) {
                // The transmitter adjusted the limits: they are written all the same.
                if (e.Error() != commerr::kDampingNearest) {
                    if (!IsRejection(e, v)) throw;
                    rejected = v;
                    continue;
                }
            }
            Keep(asTyped, v);
            written = true;
        }
    } catch (const std::exception& e) {
        return WriteFailed(e);
    }
    if (rejected >= 0) {
        Ui().MessageBox(LoadString(kIdDpLimitsRejected + static_cast<unsigned>(rejected)),
                        MsgButtons::Ok, MsgIcon::None);
        // The variables before it were changed on the transmitter.
        if (written) NotifyWritten();
        return FormOutcome::Stay(LowerKey(rejected));
    }
    NotifyWritten();
    return FormOutcome::Close(FormResult::Ok);
}
