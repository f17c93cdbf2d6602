#include "config/COperatingLimitsForm.h"

#include "config/ConfigKeys.h"
#include "config/FormNumbers.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/ModelTypes.h"

using namespace transmitter;

namespace {
constexpr const char* kRowLabels[] = {texts::kDpRow, texts::kSpRow, texts::kPtRow};
constexpr const char* kLimitParts = "LOWER:UPPER";
}  // namespace

std::string COperatingLimitsForm::LowerKey(int variable) {
    return config::VariableKey(variable) + "-lower";
}

std::string COperatingLimitsForm::UpperKey(int variable) {
    return config::VariableKey(variable) + "-upper";
}

void COperatingLimitsForm::AddLimitFields(int variable, double lower, double upper,
                                          const std::string& units) {
    const auto i = static_cast<size_t>(variable);
    m_units[i] = units;
    FormField field;
    field.kind = FieldKind::Number;
    field.label = kRowLabels[i];
    field.key = LowerKey(variable);
    field.text = config::LimitText(static_cast<float>(lower));
    AddField(field);
    field.key = UpperKey(variable);
    field.text = config::LimitText(static_cast<float>(upper));
    field.suffix = units;
    AddField(field);
    // The window compares with what it shows: a limit read as -249.9996 and
    // shown "-250" is unchanged while the field reads "-250".
    config::ParseFloat(Field(LowerKey(variable))->text, m_firstLower[i]);
    config::ParseFloat(Field(UpperKey(variable))->text, m_firstUpper[i]);
}

bool COperatingLimitsForm::ReadEntered(Entered& entered, FormOutcome& refusal) const {
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const auto i = static_cast<size_t>(v);
        for (const std::string& key : {LowerKey(v), UpperKey(v)}) {
            float value = 0.0f;
            if (!config::ParseFloat(Field(key)->text, value)) {
                refusal = FormOutcome::Refuse(texts::kEnterNumber, key);
                return false;
            }
            (key == LowerKey(v) ? entered.lower[i] : entered.upper[i]) = value;
        }
    }
    return true;
}

bool COperatingLimitsForm::Changed(const Entered& entered, int variable) const {
    const auto i = static_cast<size_t>(variable);
    return entered.lower[i] != m_firstLower[i] || entered.upper[i] != m_firstUpper[i];
}

void COperatingLimitsForm::Keep(const Entered& entered, int variable) {
    const auto i = static_cast<size_t>(variable);
    m_firstLower[i] = entered.lower[i];
    m_firstUpper[i] = entered.upper[i];
}

std::string COperatingLimitsForm::FirstReadText(int variable) const {
    const auto i = static_cast<size_t>(variable);
    return config::LimitText(m_firstLower[i]) + ":" + config::LimitText(m_firstUpper[i]) + " " +
           m_units[i];
}

std::string COperatingLimitsForm::EnteredText(const Entered& entered, int variable) const {
    const auto i = static_cast<size_t>(variable);
    return config::LimitText(entered.lower[i]) + ":" + config::LimitText(entered.upper[i]) + " " +
           m_units[i];
}

std::string COperatingLimitsForm::SetValue(const std::string& key, const std::string& value) {
    const int v = config::VariableIndex(key);
    if (v < 0) return CConfigForm::SetValue(key, value);
    const std::vector<std::string> parts = config::SplitParts(value);
    if (parts.size() != 2) return FormatText(texts::kTerminalParts, key.c_str(), kLimitParts);
    if (!parts[0].empty()) SetText(LowerKey(v), parts[0]);
    if (!parts[1].empty()) SetText(UpperKey(v), parts[1]);
    return std::string();
}

std::vector<FormField> COperatingLimitsForm::TerminalFields() const {
    std::vector<FormField> fields;
    for (int v = kVarDp; v <= kVarPt; ++v) {
        FormField field;
        field.key = config::VariableKey(v);
        field.label = kRowLabels[v];
        field.kind = FieldKind::Text;
        field.text = Field(LowerKey(v))->text + ":" + Field(UpperKey(v))->text;
        field.suffix = m_units[static_cast<size_t>(v)];
        fields.push_back(std::move(field));
    }
    return fields;
}
