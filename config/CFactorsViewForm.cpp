#include "config/CFactorsViewForm.h"

#include "config/ConfigKeys.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

using namespace transmitter;

namespace {
constexpr const char* kRowLabels[] = {texts::kDpRow, texts::kSpRow, texts::kPtRow};

std::string Shown(double value, bool inRange) {
    return inRange ? FormatText("%.0f", value) : std::string(texts::kOutOfRangeField);
}
}  // namespace

CFactorsViewForm::CFactorsViewForm(CMVDoc& doc, int mode, uint16_t counts,
                                   const std::array<CalculatedFactors, 3>& factors,
                                   const UnitsNames& units)
    : CConfigForm(doc, mode), m_counts(counts), m_factors(factors), m_units(units) {}

std::string CFactorsViewForm::Caption() const { return texts::kCalculatedFactorsCaption; }

void CFactorsViewForm::Read() {
    auto add = [this](const std::string& key, const char* label, const std::string& text) {
        FormField field;
        field.key = key;
        field.label = label;
        field.kind = FieldKind::Number;
        field.text = text;
        field.enabled = false;
        return &AddField(std::move(field));
    };
    add("counts", texts::kCountsLineStart, std::to_string(m_counts))->suffix =
        texts::kCountsLineEnd;
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const CalculatedFactors& factors = m_factors[static_cast<size_t>(v)];
        const std::string key = config::VariableKey(v);
        add(key + "-factor", kRowLabels[v], Shown(factors.factor, factors.factorInRange));
        add(key + "-offset", kRowLabels[v], Shown(factors.offset, factors.InRange()))->suffix =
            m_units[static_cast<size_t>(v)];
    }
}

FormOutcome CFactorsViewForm::Ok() { return FormOutcome::Close(FormResult::Ok); }
