#include "config/CEndpointsForm.h"

#include "config/ConfigKeys.h"
#include "config/FormNumbers.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdEnterInteger = 2434;
constexpr unsigned kIdMaximumIntegerNotAbove = 2435;
constexpr unsigned kIdMaximumPvNotAbove = 2436;
constexpr const char* kRowLabels[] = {texts::kDpRow, texts::kSpRow, texts::kPtRow};

std::string Key(int variable, const char* part) { return config::VariableKey(variable) + part; }
}  // namespace

std::string CEndpointsForm::Caption() const { return texts::kEndpointsCaption; }

std::vector<std::string> CEndpointsForm::RowKeys(int variable) const {
    return {Key(variable, "-min-integer"), Key(variable, "-max-integer"), Key(variable, "-min-pv"),
            Key(variable, "-max-pv")};
}

void CEndpointsForm::Read() {
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const IntegerScalingRecord& record = Records()[static_cast<size_t>(v)];
        const std::vector<std::string> keys = RowKeys(v);
        AddNumber(keys[0], kRowLabels[v], std::to_string(record.minInteger));
        AddNumber(keys[1], kRowLabels[v], std::to_string(record.maxInteger));
        AddNumber(keys[2], kRowLabels[v], config::LimitText(record.minPv));
        AddNumber(keys[3], kRowLabels[v], config::LimitText(record.maxPv)).suffix = UnitsName(v);
    }
}

FormOutcome CEndpointsForm::Ok() {
    ScalingRecords records = Records();
    for (int v = kVarDp; v <= kVarPt; ++v) {
        IntegerScalingRecord& record = records[static_cast<size_t>(v)];
        const std::vector<std::string> keys = RowKeys(v);
        uint16_t minInteger = 0;
        uint16_t maxInteger = 0;
        if (!ParseWord(keys[0], 0, kMaximumInteger, minInteger))
            return FormOutcome::Refuse(LoadString(kIdEnterInteger), keys[0]);
        if (!ParseWord(keys[1], 0, kMaximumInteger, maxInteger))
            return FormOutcome::Refuse(LoadString(kIdEnterInteger), keys[1]);
        if (minInteger >= maxInteger)
            return FormOutcome::Refuse(LoadString(kIdMaximumIntegerNotAbove), keys[1]);
        float minPv = 0.0f;
        float maxPv = 0.0f;
        if (!ParsePv(keys[2], record.minPv, minPv))
            return FormOutcome::Refuse(texts::kEnterNumber, keys[2]);
        if (!ParsePv(keys[3], record.maxPv, maxPv))
            return FormOutcome::Refuse(texts::kEnterNumber, keys[3]);
        if (maxPv <= minPv) return FormOutcome::Refuse(LoadString(kIdMaximumPvNotAbove), keys[3]);
        record.method = kScalingEndpoints;
        record.minInteger = minInteger;
        record.maxInteger = maxInteger;
        record.minPv = minPv;
        record.maxPv = maxPv;
    }
    SetRecords(records);
    return FormOutcome::Close(FormResult::Ok);
}
