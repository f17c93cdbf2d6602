#include "config/CTestCalculationForm.h"

#include <cmath>
#include <cstring>

#include "config/ConfigKeys.h"
#include "link/ErrorReport.h"
#include "platform/Numbers.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"
#include "units/CPressure.h"
#include "units/CTemperature.h"
#include "units/Units.h"

using namespace transmitter;

namespace {

constexpr unsigned kIdUnknown = 598;
constexpr unsigned kIdTooLong = 3310;
constexpr int kUnitInH2O68 = 1;
constexpr int kUnitPsi = 6;
constexpr int kUnitRankine = 34;

constexpr const char* kInputLabels[] = {texts::kTestCalcDpLabel, texts::kTestCalcSpLabel,
                                        texts::kTestCalcPtLabel};
struct ResultField {
    const char* key;
    const char* label;
};
constexpr ResultField kResults[] = {
    {"mass-flow", texts::kTestCalcMassFlowLabel},
    {"density", texts::kTestCalcDensityLabel},
    {"gas-expansion", texts::kTestCalcGasExpansionLabel},
    {"discharge-coefficient", texts::kTestCalcDischargeLabel},
    {"reynolds", texts::kTestCalcReynoldsLabel},
    {"viscosity", texts::kTestCalcViscosityLabel},
};

std::string UnitKey(int variable) { return config::VariableKey(variable) + "-unit"; }

// The unit the transmitter takes a variable's test input in.
CUnit SentUnit(int variable) {
    switch (variable) {
        case kVarDp:
            return CUnit(kUnitInH2O68, units::kMtcDp);
        case kVarSp:
            return CUnit(kUnitPsi, units::kMtcSp);
        default:
            return CUnit(kUnitRankine, units::kMtcPt);
    }
}

double Convert(double value, const CUnit& from, const CUnit& to) {
    if (from == to) return value;
    if (to.MeasType() == units::kMtcPt) {
        CTemperature t(CDimValue(value, from));
        t.ConvertTo(to);
        return t.Value();
    }
    CPressure p(CDimValue(value, from));
    p.ConvertTo(to);
    return p.Value();
}

void PutFloat(CTestCalculationForm::Block& block, size_t offset, double value) {
    const auto single = static_cast<float>(value);
    uint32_t bits = 0;
    std::memcpy(&bits, &single, sizeof bits);
    for (size_t i = 0; i < 4; ++i) block[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace

CTestCalculationForm::CTestCalculationForm(CMVDoc& doc, int mode, Clock clock)
    : CConfigForm(doc, mode), m_clock(std::move(clock)) {}

std::string CTestCalculationForm::Caption() const { return texts::kTestCalcCaption; }

void CTestCalculationForm::Read() {
    for (int v = kVarDp; v <= kVarPt; ++v) {
        CMeasuredVariable& variable = Model().Variable(v);
        const PresentValue present = variable.ReadPresentValue();
        FormField input;
        input.key = config::VariableKey(v);
        input.label = kInputLabels[v];
        input.kind = FieldKind::Number;
        // A value the transmitter cannot give is shown empty and taken as 0.
        input.text = std::isnan(present.value) ? std::string() : FormatText("%g", present.value);
        AddField(std::move(input));

        FormField unit;
        unit.key = UnitKey(v);
        unit.kind = FieldKind::Choice;
        const CGoArray<CUnit>& allowed = variable.AllowedUnits();
        for (size_t i = 0; i < allowed.GetSize(); ++i) {
            unit.choices.push_back(allowed[i].Name());
            if (allowed[i].UnitCode() == present.unitsCode) unit.selected = static_cast<int>(i);
        }
        AddField(std::move(unit));
    }
    for (const ResultField& result : kResults) {
        FormField field;
        field.key = result.key;
        field.label = result.label;
        field.kind = FieldKind::Value;
        field.text = LoadString(kIdUnknown);
        AddField(std::move(field));
    }
}

std::vector<int> CTestCalculationForm::ChoiceCodes(const std::string& key) const {
    std::vector<int> codes;
    for (int v = kVarDp; v <= kVarPt; ++v) {
        if (key != UnitKey(v)) continue;
        const CGoArray<CUnit>& allowed = config::VariableOf(Model(), v).AllowedUnits();
        for (size_t i = 0; i < allowed.GetSize(); ++i) codes.push_back(allowed[i].UnitCode());
    }
    return codes;
}

CTestCalculationForm::Block CTestCalculationForm::RequestBlock(double dpInH2O68, double spPsi,
                                                               double ptRankine) {
    Block block{};
    block[0] = kRequestCode;
    size_t offset = 1;
    for (double value : {dpInH2O68, spPsi, ptRankine}) {
        const double sent = value < 0.0 ? 0.0 : value;
        PutFloat(block, offset, sent);
        PutFloat(block, offset + 4, std::sqrt(sent));
        offset += 8;
    }
    return block;
}

std::array<float, 6> CTestCalculationForm::Values(const Block& block) {
    std::array<float, 6> values{};
    for (size_t k = 0; k < values.size(); ++k) {
        uint32_t bits = 0;
        for (size_t i = 0; i < 4; ++i)
            bits |= static_cast<uint32_t>(block[1 + 4 * k + i]) << (8 * i);
        std::memcpy(&values[k], &bits, sizeof bits);
    }
    return values;
}

FormOutcome CTestCalculationForm::Ok() {
    std::array<double, 3> sent{};
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const FormField& input = *Field(config::VariableKey(v));
        double value = 0.0;
        if (!input.text.empty() && !platform::ParseDouble(input.text, value))
            return FormOutcome::Refuse(texts::kEnterNumber, input.key);
        const FormField& unit = *Field(UnitKey(v));
        if (unit.selected < 0) return FormOutcome::Refuse(texts::kChooseUnit, unit.key);
        const CUnit from = Model().Variable(v).AllowedUnits()[static_cast<size_t>(unit.selected)];
        sent[static_cast<size_t>(v)] = Convert(value, from, SentUnit(v));
    }
    const Block request = RequestBlock(sent[0], sent[1], sent[2]);
    try {
        CFormWaitCursor wait(*this);
        Model().Comm().WriteFlowBlock(request);
    } catch (const std::exception& e) {
        ReportException(e);
        return FormOutcome::Stay();
    }
    m_sent = Values(request);
    m_sentAt = m_clock();
    m_waiting = true;
    return FormOutcome::Stay();
}

bool CTestCalculationForm::EchoMatches(const Block& echo) const {
    if (echo[0] != kRequestCode) return false;
    const std::array<float, 6> echoed = Values(echo);
    for (size_t k = 0; k < echoed.size(); ++k) {
        const double difference = std::fabs(static_cast<double>(echoed[k]) - m_sent[k]);
        if (!(difference <= kEchoTolerance * m_sent[k])) return false;
    }
    return true;
}

void CTestCalculationForm::ShowResults(const Block& results) {
    const std::array<float, 6> r = Values(results);
    const double viscosity = r[5] != 0.0f ? 1.0 / r[5] : std::nan("");
    const std::array<double, 6> shown = {
        r[0], static_cast<double>(r[1]) * r[1], r[2], r[3], r[4], viscosity};
    for (size_t k = 0; k < shown.size(); ++k) {
        MutableField(kResults[k].key).text = std::isfinite(shown[k])
                                                 ? FormatText(texts::kTestCalcResult, shown[k])
                                                 : LoadString(kIdUnknown);
    }
}

void CTestCalculationForm::Poll() {
    if (!m_waiting) return;
    try {
        CFormWaitCursor wait(*this);
        const Block echo = Model().Comm().ReadFlowBlock(kEchoSelector);
        if (EchoMatches(echo)) {
            ShowResults(Model().Comm().ReadFlowBlock(kResultsSelector));
            m_waiting = false;
            return;
        }
    } catch (const std::exception& e) {
        m_waiting = false;
        ReportException(e);
        return;
    }
    if (m_clock() - m_sentAt >= kGiveUp) {
        m_waiting = false;
        Ui().MessageBox(LoadString(kIdTooLong), MsgButtons::Ok, MsgIcon::Stop);
    }
}

void CTestCalculationForm::RefreshFromTransmitter() {
    try {
        CFormWaitCursor wait(*this);
        const Block echo = Model().Comm().ReadFlowBlock(kEchoSelector);
        ShowResults(Model().Comm().ReadFlowBlock(kResultsSelector));
        const std::array<float, 6> echoed = Values(echo);
        for (int v = kVarDp; v <= kVarPt; ++v) {
            const FormField& unit = *Field(UnitKey(v));
            if (unit.selected < 0) continue;
            const CUnit to = Model().Variable(v).AllowedUnits()[static_cast<size_t>(unit.selected)];
            const double value = Convert(echoed[static_cast<size_t>(2 * v)], SentUnit(v), to);
            MutableField(config::VariableKey(v)).text = FormatText("%g", value);
        }
    } catch (const std::exception& e) {
        ReportException(e);
    }
}
