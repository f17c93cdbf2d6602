#include "config/CEnteredFactorsForm.h"

#include "config/ConfigKeys.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CMeasuredVariable.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdEnterCounts = 2437;
constexpr unsigned kIdEnterOffset = 2438;
constexpr const char* kCounts = "counts";
constexpr const char* kRowLabels[] = {texts::kDpRow, texts::kSpRow, texts::kPtRow};
}  // namespace

std::string CEnteredFactorsForm::Caption() const { return texts::kEnteredFactorsCaption; }

std::vector<std::string> CEnteredFactorsForm::RowKeys(int variable) const {
    const std::string key = config::VariableKey(variable);
    return {key + "-factor", key + "-offset"};
}

void CEnteredFactorsForm::Read() {
    AddNumber(kCounts, texts::kCountsLineStart, std::to_string(Records()[0].counts)).suffix =
        texts::kCountsLineEnd;
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const IntegerScalingRecord& record = Records()[static_cast<size_t>(v)];
        const std::vector<std::string> keys = RowKeys(v);
        AddNumber(keys[0], kRowLabels[v], std::to_string(record.scaleFactor));
        AddNumber(keys[1], kRowLabels[v], std::to_string(record.offset)).suffix = UnitsName(v);
    }
}

FormOutcome CEnteredFactorsForm::Ok() {
    uint16_t counts = 0;
    if (!ParseWord(kCounts, 1, kMaximumCounts, counts))
        return FormOutcome::Refuse(LoadString(kIdEnterCounts), kCounts);
    ScalingRecords records = Records();
    for (int v = kVarDp; v <= kVarPt; ++v) {
        IntegerScalingRecord& record = records[static_cast<size_t>(v)];
        const std::vector<std::string> keys = RowKeys(v);
        uint16_t factor = 0;
        uint16_t offset = 0;
        if (!ParseWord(keys[0], 1, counts, factor))
            return FormOutcome::Refuse(
                FormatText(texts::kScaleFactorBetween, static_cast<unsigned>(counts)), keys[0]);
        if (!ParseWord(keys[1], 0, kMaximumOffset, offset))
            return FormOutcome::Refuse(LoadString(kIdEnterOffset), keys[1]);
        record.method = kScalingEnteredFactors;
        record.counts = counts;
        record.scaleFactor = factor;
        record.offset = offset;
        CMeasuredVariable::DeriveFactorPvs(record);
    }
    SetRecords(records);
    return FormOutcome::Close(FormResult::Ok);
}
