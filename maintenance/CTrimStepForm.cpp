#include "maintenance/CTrimStepForm.h"

#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"

namespace {
constexpr unsigned kIdOffsetCaption = 2300;  // 2301 the slope step
constexpr unsigned kIdDpSensor = 2302;       // 2303 SP, 2304 PT
constexpr unsigned kIdOffsetType = 2305;     // 2306 slope
}  // namespace

CTrimStepForm::CTrimStepForm(CMVDoc& doc, int sensor, Kind kind, float entered,
                             std::string unitsName)
    : CConfigForm(doc, config::kTransmitterMode),
      m_sensor(sensor),
      m_kind(kind),
      m_entered(entered),
      m_unitsName(std::move(unitsName)) {}

std::string CTrimStepForm::Caption() const {
    return LoadString(kIdOffsetCaption + (m_kind == Kind::Slope ? 1 : 0));
}

std::string CTrimStepForm::WithUnits(double value) const {
    return FormatText(texts::kValueWithUnit, value, m_unitsName.c_str());
}

void CTrimStepForm::Read() {
    const VariableSettings settings = Model().Variable(m_sensor).ReadSettings(Access());
    if (m_unitsName.empty()) m_unitsName = CUnit(settings.unitsCode, m_sensor).Name();
    auto add = [this](const char* key, const char* label, const std::string& text) {
        FormField field;
        field.key = key;
        field.label = label;
        field.kind = FieldKind::Value;
        field.text = text;
        AddField(std::move(field));
    };
    add(kSensorKey, texts::kTrimStepSensorLabel,
        LoadString(kIdDpSensor + static_cast<unsigned>(m_sensor)));
    add(kTypeKey, texts::kTrimStepTypeLabel,
        LoadString(kIdOffsetType + (m_kind == Kind::Slope ? 1 : 0)));
    add(kLowerKey, texts::kTrimStepLrlLabel, WithUnits(settings.lowerRangeLimit));
    add(kUpperKey, texts::kTrimStepUrlLabel, WithUnits(settings.upperRangeLimit));
    add(kEnteredKey, texts::kTrimStepEnteredLabel, WithUnits(m_entered));
    add(kMeasuredKey, texts::kTrimStepMeasuredLabel, std::string());
    ReadMeasured();
}

void CTrimStepForm::ReadMeasured() {
    m_measured = Model().Variable(m_sensor).ReadPresentValue().value;
    MutableField(kMeasuredKey).text = WithUnits(m_measured);
}

bool CTrimStepForm::Refresh() {
    try {
        ReadMeasured();
    } catch (const std::exception& e) {
        ReportException(e);
        return false;
    }
    return true;
}

FormOutcome CTrimStepForm::Ok() { return FormOutcome::Close(FormResult::Ok); }
