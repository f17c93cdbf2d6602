#include "maintenance/CReadOutputsForm.h"

#include <ctime>

#include "link/ErrorReport.h"
#include "platform/CException.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"
#include "transmitter/VariableNames.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdNotCompleted = 2102;

bool IsMeasured(int code) { return code >= kVarDp && code <= kVarPt; }

std::string LocalTimeText(std::chrono::system_clock::time_point now, const char* format) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[96] = {};
    std::strftime(text, sizeof text, format, &local);
    return text;
}
}  // namespace

CReadOutputsForm::CReadOutputsForm(CMVDoc& doc, Clock clock)
    : CConfigForm(doc, config::kTransmitterMode), m_clock(std::move(clock)) {
    if (!m_clock) m_clock = [] { return std::chrono::system_clock::now(); };
}

std::string CReadOutputsForm::Caption() const { return texts::kReadOutputsCaption; }

std::string CReadOutputsForm::LabelKey(int row) { return "label-" + std::to_string(row + 1); }
std::string CReadOutputsForm::ValueKey(int row) { return "value-" + std::to_string(row + 1); }
std::string CReadOutputsForm::UnitsKey(int row) { return "units-" + std::to_string(row + 1); }

void CReadOutputsForm::Read() {
    m_phase = 0;
    m_samples.clear();
    m_spType = Model().Sp().ReadSpType(Access());
    auto add = [this](const std::string& key) {
        FormField field;
        field.key = key;
        field.kind = FieldKind::Value;
        AddField(std::move(field));
    };
    for (int row = 0; row < kRows; ++row) {
        add(LabelKey(row));
        add(ValueKey(row));
        add(UnitsKey(row));
    }
    add(kTimeKey);
    add(kDateKey);
    // Both phases, so that every row is filled when the window shows.
    Step();
    Step();
}

FormOutcome CReadOutputsForm::Refresh() {
    try {
        Step();
    } catch (const std::exception& e) {
        ReportException(e);
        return FormOutcome::Close(FormResult::Abort);
    }
    return FormOutcome::Stay();
}

void CReadOutputsForm::Step() {
    ShowClock();
    switch (m_phase) {
        case 0:
            ReadLabels();
            break;
        case 1:
            ReadValues();
            break;
        default:
            Ui().MessageBox(LoadString(kIdNotCompleted), MsgButtons::Ok, MsgIcon::Stop);
            AbandonSilently();
    }
    m_phase = m_phase == 0 ? 1 : 0;
}

void CReadOutputsForm::ShowClock() {
    const auto now = m_clock();
    MutableField(kDateKey).text = LocalTimeText(now, texts::kDateLineFormat);
    MutableField(kTimeKey).text = LocalTimeText(now, texts::kTimeLineFormat);
}

void CReadOutputsForm::ReadLabels() {
    m_codes = m_assignment ? m_assignment() : Model().ReadVariableAssignment(Access());
    for (int row = 0; row < kRows; ++row)
        MutableField(LabelKey(row)).text = GetVariableName(m_codes[static_cast<size_t>(row)]);
}

void CReadOutputsForm::ReadValues() {
    const std::array<PresentValue, 3> values = Model().Comm().ReadPresentValues();
    const auto now = m_clock();
    for (int row = 0; row < kRows; ++row) {
        const int code = m_codes[static_cast<size_t>(row)];
        FormField& value = MutableField(ValueKey(row));
        FormField& units = MutableField(UnitsKey(row));
        if (!IsMeasured(code)) {
            value.text.clear();
            units.text.clear();
            continue;
        }
        const PresentValue& present = values[static_cast<size_t>(code)];
        value.text = FormatText("%#lg", present.value);
        units.text = UnitsName(code, present.unitsCode);
        m_samples.push_back({now, GetVariableName(code), present.value, units.text});
    }
}

std::string CReadOutputsForm::UnitsName(int code, int unitsCode) const {
    const CUnit unit(unitsCode, code);
    return code == kVarSp ? unit.NameWithSuffix(m_spType) : unit.Name();
}

FormOutcome CReadOutputsForm::Ok() { return FormOutcome::Close(FormResult::Ok); }
