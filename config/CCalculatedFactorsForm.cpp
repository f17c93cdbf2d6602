#include "config/CCalculatedFactorsForm.h"

#include <cmath>

#include "config/CFactorsViewForm.h"
#include "config/ConfigKeys.h"
#include "config/FormNumbers.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdEnterCounts = 2437;
constexpr unsigned kIdMaximumPvNotAbove = 2436;
constexpr long kMaximumCounts = 65534;
constexpr double kMaximumFactor = 65535.0;
constexpr double kMaximumOffset = 65534.0;
constexpr const char* kCounts = "counts";
constexpr const char* kRounding = "rounding";
constexpr const char* kRowLabels[] = {texts::kDpRow, texts::kSpRow, texts::kPtRow};
// The rounding as the terminal names it, in list order.
constexpr const char* kRoundingNames[] = {"nearest", "down", "up"};
}  // namespace

double CCalculatedFactorsForm::Round(double value, uint16_t rounding) {
    switch (rounding) {
        case kRoundDown:
            return std::floor(value);
        case kRoundUp:
            return std::ceil(value);
        default:
            return value >= 0.0 ? std::trunc(value + 0.5) : std::trunc(value - 0.5);
    }
}

CalculatedFactors CCalculatedFactorsForm::Calculate(uint16_t counts, float minPv, float maxPv,
                                                    uint16_t rounding) {
    CalculatedFactors result;
    const double span = static_cast<double>(maxPv) - static_cast<double>(minPv);
    result.factor = Round(counts / span, rounding);
    result.factorInRange = result.factor >= 1.0 && result.factor <= kMaximumFactor;
    result.offset = Round(result.factor * minPv + kScalingOffsetBias, rounding);
    result.offsetInRange = result.offset >= 0.0 && result.offset <= kMaximumOffset;
    return result;
}

std::string CCalculatedFactorsForm::Caption() const { return texts::kCalculatedFactorsCaption; }

std::vector<std::string> CCalculatedFactorsForm::RowKeys(int variable) const {
    const std::string key = config::VariableKey(variable);
    return {key + "-min-pv", key + "-max-pv"};
}

void CCalculatedFactorsForm::Read() {
    AddNumber(kCounts, texts::kCountsLineStart, std::to_string(Records()[0].counts)).suffix =
        texts::kCountsLineEnd;
    FormField rounding;
    rounding.key = kRounding;
    rounding.label = texts::kRoundingGroup;
    rounding.kind = FieldKind::Choice;
    rounding.choices = {texts::kRoundNearest, texts::kRoundDown, texts::kRoundUp};
    rounding.selected = Records()[0].rounding <= kRoundUp ? Records()[0].rounding : kRoundNearest;
    AddField(std::move(rounding));
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const IntegerScalingRecord& record = Records()[static_cast<size_t>(v)];
        const std::vector<std::string> keys = RowKeys(v);
        AddNumber(keys[0], kRowLabels[v], config::LimitText(record.minPv));
        AddNumber(keys[1], kRowLabels[v], config::LimitText(record.maxPv)).suffix = UnitsName(v);
    }
}

uint16_t CCalculatedFactorsForm::Rounding() const {
    const int selected = Field(kRounding)->selected;
    return selected < 0 ? kRoundNearest : static_cast<uint16_t>(selected);
}

bool CCalculatedFactorsForm::CalculateTyped(Typed& typed, FormOutcome& refusal) const {
    if (!ParseWord(kCounts, 1, kMaximumCounts, typed.counts)) {
        refusal = FormOutcome::Refuse(LoadString(kIdEnterCounts), kCounts);
        return false;
    }
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const auto i = static_cast<size_t>(v);
        const std::vector<std::string> keys = RowKeys(v);
        if (!ParsePv(keys[0], Records()[i].minPv, typed.minPv[i])) {
            refusal = FormOutcome::Refuse(texts::kEnterNumber, keys[0]);
            return false;
        }
        if (!ParsePv(keys[1], Records()[i].maxPv, typed.maxPv[i])) {
            refusal = FormOutcome::Refuse(texts::kEnterNumber, keys[1]);
            return false;
        }
        if (typed.maxPv[i] <= typed.minPv[i]) {
            refusal = FormOutcome::Refuse(LoadString(kIdMaximumPvNotAbove), keys[1]);
            return false;
        }
    }
    for (size_t i = 0; i < typed.factors.size(); ++i)
        typed.factors[i] = Calculate(typed.counts, typed.minPv[i], typed.maxPv[i], Rounding());
    return true;
}

bool CCalculatedFactorsForm::OutOfRange(const Typed& typed, FormOutcome& message) const {
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const CalculatedFactors& factors = typed.factors[static_cast<size_t>(v)];
        if (factors.InRange()) continue;
        const char* text = !factors.factorInRange   ? texts::kFactorOutOfRange
                           : Rounding() == kRoundUp ? texts::kOffsetOutOfRangeRoundingUp
                                                    : texts::kOffsetOutOfRange;
        message = FormOutcome::Refuse(text, RowKeys(v)[0], MsgIcon::Exclamation);
        return true;
    }
    return false;
}

FormOutcome CCalculatedFactorsForm::Ok() {
    Typed typed;
    FormOutcome outcome;
    if (!CalculateTyped(typed, outcome) || OutOfRange(typed, outcome)) return outcome;
    ScalingRecords records = Records();
    for (size_t i = 0; i < records.size(); ++i) {
        IntegerScalingRecord& record = records[i];
        record.method = kScalingCalculatedFactors;
        record.rounding = Rounding();
        record.counts = typed.counts;
        record.minPv = typed.minPv[i];
        record.maxPv = typed.maxPv[i];
        record.scaleFactor = static_cast<uint16_t>(typed.factors[i].factor);
        record.offset = static_cast<uint16_t>(typed.factors[i].offset);
    }
    SetRecords(records);
    return FormOutcome::Close(FormResult::Ok);
}

std::unique_ptr<CFactorsViewForm> CCalculatedFactorsForm::ViewFactors(FormOutcome& outcome) {
    Typed typed;
    outcome = FormOutcome::Stay();
    if (!CalculateTyped(typed, outcome)) return nullptr;
    OutOfRange(typed, outcome);
    UnitsNames units;
    for (int v = kVarDp; v <= kVarPt; ++v) units[static_cast<size_t>(v)] = UnitsName(v);
    return std::make_unique<CFactorsViewForm>(Doc(), Mode(), typed.counts, typed.factors, units);
}

std::string CCalculatedFactorsForm::SetValue(const std::string& key, const std::string& value) {
    if (key == kRounding) {
        for (uint16_t i = kRoundNearest; i <= kRoundUp; ++i) {
            if (value == kRoundingNames[i]) {
                SetChoice(kRounding, i);
                return std::string();
            }
        }
    }
    return CScalingParametersForm::SetValue(key, value);
}
