#include "maintenance/CSensorTrimForm.h"

#include <cmath>
#include <sstream>

#include "config/FormNumbers.h"
#include "link/ErrorReport.h"
#include "platform/Numbers.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdCancelled = 380;
constexpr unsigned kIdUndetermined = 381;
constexpr unsigned kIdNotYetImplemented = 382;
constexpr unsigned kIdPtFixed = 2159;
constexpr const char* kSensorButtons[] = {texts::kTrimDpButton, texts::kTrimSpButton,
                                          texts::kTrimPtButton};
const EmsArrayId kFixedModeArray{0, 0, 0, 2};

// The number a line of the window starts with ("2.5 psi" gives 2.5).
bool LeadingNumber(const std::string& text, double& value) {
    std::istringstream words(text);
    std::string first;
    words >> first;
    return platform::ParseDouble(first, value);
}
}  // namespace

CSensorTrimForm::CSensorTrimForm(CMVDoc& doc) : CConfigForm(doc, config::kTransmitterMode) {}

std::string CSensorTrimForm::Caption() const { return texts::kSensorTrimCaption; }

std::string CSensorTrimForm::SensorChoiceText(int sensor) const {
    if (sensor == kVarPt && m_ptFixed) return LoadString(kIdPtFixed);
    return kSensorButtons[sensor];
}

std::string CSensorTrimForm::RecallText() {
    return std::string(texts::kRecallFactoryTrim) + LoadString(kIdNotYetImplemented);
}

void CSensorTrimForm::AddEntry(const char* key, const char* label) {
    FormField field;
    field.key = key;
    field.label = label;
    field.kind = FieldKind::Number;
    AddField(std::move(field));
    FormField units;
    units.key = std::string(key) + kUnitsSuffix;
    units.kind = FieldKind::Choice;
    units.enabled = false;
    AddField(std::move(units));
}

void CSensorTrimForm::Read() {
    m_sensor = kVarDp;
    m_type = TrimType::Offset;
    m_ptFixed = Model().Comm().ReadEmsArray(kFixedModeArray).at(0) != 0;
    for (const auto& [key, label] : {std::pair{kLowerKey, texts::kLowerLimitLabel},
                                     {kUpperKey, texts::kUpperLimitLabel},
                                     {kMinSpanKey, texts::kMinSpanLabel},
                                     {kOffsetPointKey, texts::kOffsetTrimPointLine},
                                     {kSlopePointKey, texts::kSlopeTrimPointLine}}) {
        FormField field;
        field.key = key;
        field.label = label;
        field.kind = FieldKind::Value;
        AddField(std::move(field));
    }
    AddEntry(kOffsetKey, texts::kOffsetTrimField);
    AddEntry(kPairOffsetKey, texts::kOffsetSlopeOffsetField);
    AddEntry(kSlopeKey, texts::kSlopeTrimField);
    ReadSensorLines();
    EnableFields();
}

void CSensorTrimForm::ReadSensorLines() {
    CMeasuredVariable& variable = Model().Variable(m_sensor);
    const VariableSettings settings = variable.ReadSettings(Access());
    const TrimPoints points = variable.ReadTrimPoints();
    const CUnit units(settings.unitsCode, m_sensor);
    m_unitsName = units.Name();
    auto line = [this](double value) {
        return FormatText(texts::kValueWithUnit, value, m_unitsName.c_str());
    };
    MutableField(kLowerKey).text = line(settings.lowerRangeLimit);
    MutableField(kUpperKey).text = line(settings.upperRangeLimit);
    MutableField(kMinSpanKey).text = line(settings.minimumSpan);
    MutableField(kOffsetPointKey).text = line(points.offsetPoint);
    MutableField(kSlopePointKey).text = line(points.slopePoint);
    MutableField(kOffsetKey).text = config::LimitText(points.offsetPoint);
    MutableField(kPairOffsetKey).text = config::LimitText(points.offsetPoint);
    MutableField(kSlopeKey).text = config::LimitText(points.slopePoint);

    const CGoArray<CUnit>& allowed = variable.AllowedUnits();
    for (const char* key : {kOffsetKey, kPairOffsetKey, kSlopeKey}) {
        FormField& list = MutableField(std::string(key) + kUnitsSuffix);
        list.choices.clear();
        list.selected = -1;
        for (size_t i = 0; i < allowed.GetSize(); ++i) {
            list.choices.push_back(allowed[i].Name());
            if (allowed[i].UnitCode() == units.UnitCode()) list.selected = static_cast<int>(i);
        }
    }
}

void CSensorTrimForm::EnableFields() {
    MutableField(kOffsetKey).enabled = m_type == TrimType::Offset;
    MutableField(kPairOffsetKey).enabled = m_type == TrimType::OffsetAndSlope;
    MutableField(kSlopeKey).enabled = m_type == TrimType::OffsetAndSlope;
}

bool CSensorTrimForm::SelectSensor(int sensor, bool* failed) {
    if (failed != nullptr) *failed = false;
    if (sensor < kVarDp || sensor > kVarPt || (sensor == kVarPt && m_ptFixed)) return false;
    m_sensor = sensor;
    try {
        CFormWaitCursor wait(*this);
        ReadSensorLines();
    } catch (const std::exception& e) {
        ReportException(e);
        if (failed != nullptr) *failed = true;
        return false;
    }
    return true;
}

bool CSensorTrimForm::SelectTrimType(TrimType type) {
    if (type == TrimType::Recall) return false;
    m_type = type;
    EnableFields();
    return true;
}

FormOutcome CSensorTrimForm::Trim() {
    const bool pair = m_type == TrimType::OffsetAndSlope;
    const char* offsetKey = pair ? kPairOffsetKey : kOffsetKey;
    float offset = 0.0F;
    float slope = 0.0F;
    if (!config::ParseFloat(Field(offsetKey)->text, offset))
        return FormOutcome::Refuse(texts::kEnterNumber, offsetKey);
    if (!config::ParseFloat(Field(kSlopeKey)->text, slope))
        return FormOutcome::Refuse(texts::kEnterNumber, pair ? kSlopeKey : offsetKey);
    double minSpan = 0.0;
    LeadingNumber(Field(kMinSpanKey)->text, minSpan);
    if (std::fabs(static_cast<double>(slope) - static_cast<double>(offset)) < minSpan)
        return FormOutcome::Refuse(texts::kTrimSpanTooSmall, offsetKey);

    if (!ConfirmWrite()) return FormOutcome::Stay();
    try {
        CFormWaitCursor wait(*this);
        ++m_trimModeOn;
        Model().Comm().SetCoil(kTrimModeCoil, 1);
    } catch (const std::exception& e) {
        ReportException(e);
        // The write may have reached the transmitter all the same.
        TrimModeOff();
        return FormOutcome::Stay();
    }

    bool stop = false;
    if (!RunStep(CTrimStepForm::Kind::Offset, offset, stop)) return TrimFailed();
    if (pair && !stop && !RunStep(CTrimStepForm::Kind::Slope, slope, stop)) return TrimFailed();

    NotifyWritten();
    const bool off = TrimModeOff();
    try {
        CFormWaitCursor wait(*this);
        ReadSensorLines();
    } catch (const std::exception& e) {
        ReportException(e);
        return FormOutcome::Close(FormResult::Abort);
    }
    if (!off) return FormOutcome::Close(FormResult::Abort);
    FormOutcome outcome = FormOutcome::Stay();
    outcome.settled = true;
    return outcome;
}

bool CSensorTrimForm::RunStep(CTrimStepForm::Kind kind, float value, bool& stop) {
    CTrimStepForm step(Doc(), m_sensor, kind, value, m_unitsName);
    StepResult result = StepResult::Failed;
    if (step.Open() && m_runStep) result = m_runStep(step);
    switch (result) {
        case StepResult::Ok:
            try {
                CFormWaitCursor wait(*this);
                CMeasuredVariable& variable = Model().Variable(m_sensor);
                const bool offsetStep = kind == CTrimStepForm::Kind::Offset;
                // Logged as the measured value the trim moves onto the entered one.
                const FormField* measured = step.Field(CTrimStepForm::kMeasuredKey);
                const FormField* entered = step.Field(CTrimStepForm::kEnteredKey);
                static const char* const kVariables[] = {"DP", "SP", "PT"};
                Write(std::string(kVariables[m_sensor]) +
                          (offsetStep ? " offset trim" : " slope trim"),
                      measured != nullptr ? measured->text : std::string(),
                      entered != nullptr ? entered->text : std::string(), [&] {
                          if (offsetStep)
                              variable.OffsetTrim(value);
                          else
                              variable.SlopeTrim(value);
                      });
            } catch (const std::exception& e) {
                ReportException(e);
                return false;
            }
            return true;
        case StepResult::Interrupted:
            stop = true;
            [[fallthrough]];
        case StepResult::Cancel:
            Ui().MessageBox(LoadString(kIdCancelled), MsgButtons::Ok, MsgIcon::Stop);
            return true;
        case StepResult::Failed:
            break;
    }
    return false;
}

bool CSensorTrimForm::TrimModeOff() {
    try {
        CFormWaitCursor wait(*this);
        ++m_trimModeOff;
        Model().Comm().SetCoil(kTrimModeCoil, 0);
    } catch (const std::exception& e) {
        ReportException(e);
        return false;
    }
    return true;
}

FormOutcome CSensorTrimForm::TrimFailed() {
    Ui().MessageBox(LoadString(kIdUndetermined), MsgButtons::Ok, MsgIcon::Stop);
    TrimModeOff();
    return FormOutcome::Close(FormResult::Abort);
}

FormOutcome CSensorTrimForm::Ok() { return FormOutcome::Close(FormResult::Ok); }
