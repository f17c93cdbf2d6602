#include "config/CScalingParametersForm.h"

#include "config/ConfigKeys.h"
#include "config/FormNumbers.h"
#include "platform/Numbers.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

using namespace transmitter;

CScalingParametersForm::CScalingParametersForm(CMVDoc& doc, int mode, const ScalingRecords& records,
                                               const UnitsNames& units)
    : CConfigForm(doc, mode), m_records(records), m_units(units) {}

FormField& CScalingParametersForm::AddNumber(const std::string& key, const std::string& label,
                                             const std::string& text) {
    FormField field;
    field.key = key;
    field.label = label;
    field.kind = FieldKind::Number;
    field.text = text;
    m_firstText[key] = text;
    return AddField(std::move(field));
}

bool CScalingParametersForm::ParsePv(const std::string& key, float given, float& value) const {
    const std::string& text = Field(key)->text;
    const auto first = m_firstText.find(key);
    if (first != m_firstText.end() && first->second == text) {
        value = given;
        return true;
    }
    return config::ParseFloat(text, value);
}

bool CScalingParametersForm::ParseWord(const std::string& key, long minimum, long maximum,
                                       uint16_t& value) const {
    long parsed = 0;
    if (!platform::ParseLong(Field(key)->text, parsed) || parsed < minimum || parsed > maximum)
        return false;
    value = static_cast<uint16_t>(parsed);
    return true;
}

std::string CScalingParametersForm::SetVariableValue(int variable, const std::string& value) {
    const std::vector<std::string> keys = RowKeys(variable);
    const std::vector<std::string> parts = config::SplitParts(value);
    if (parts.size() != keys.size()) {
        return FormatText(texts::kTerminalParts, config::VariableKey(variable).c_str(),
                          JoinedParts(Method()));
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!parts[i].empty()) SetText(keys[i], parts[i]);
    }
    return std::string();
}

const char* CScalingParametersForm::JoinedParts(uint16_t method) {
    switch (method) {
        case kScalingEndpoints:
            return "MININT:MAXINT:MINPV:MAXPV";
        case kScalingEnteredFactors:
            return "FACTOR:OFFSET";
        case kScalingCalculatedFactors:
            return "MINPV:MAXPV";
        default:
            return "";
    }
}

std::string CScalingParametersForm::JoinedValue(uint16_t method,
                                                const IntegerScalingRecord& record) {
    switch (method) {
        case kScalingEndpoints:
            return std::to_string(record.minInteger) + ":" + std::to_string(record.maxInteger) +
                   ":" + config::LimitText(record.minPv) + ":" + config::LimitText(record.maxPv);
        case kScalingEnteredFactors:
            return std::to_string(record.scaleFactor) + ":" + std::to_string(record.offset);
        case kScalingCalculatedFactors:
            return config::LimitText(record.minPv) + ":" + config::LimitText(record.maxPv);
        default:
            return std::string();
    }
}
