#include "dialogs/maintenance/CSensorTrimDlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/maintenance/CTrimStepDlg.h"
#include "resources/Texts.h"

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
constexpr const char* kSensorNames[] = {"sensor_DP", "sensor_SP", "sensor_PT"};
}  // namespace

CSensorTrimDlg::CSensorTrimDlg(CSensorTrimForm& form, QWidget* parent)
    : CFormDialog(form, parent), m_trim(form) {
    setObjectName(QStringLiteral("sensorTrimDlg"));
    using Form = CSensorTrimForm;
    m_trim.SetStepRunner([this](CTrimStepForm& step) { return RunStep(step); });

    auto* sensorGroup = new QGroupBox(QString::fromLatin1(texts::kSensorSelectionGroup), this);
    auto* sensorButtons = new QButtonGroup(this);
    auto* radios = new QVBoxLayout;
    for (int sensor = 0; sensor < 3; ++sensor) {
        auto* radio = new QRadioButton(Q(m_trim.SensorChoiceText(sensor)), sensorGroup);
        radio->setObjectName(QString::fromLatin1(kSensorNames[sensor]));
        sensorButtons->addButton(radio, sensor);
        radios->addWidget(radio);
        m_sensors[static_cast<size_t>(sensor)] = radio;
    }
    radios->addStretch();
    auto* lines = new QGridLayout;
    int row = 0;
    for (const char* key : {Form::kLowerKey, Form::kUpperKey, Form::kMinSpanKey,
                            Form::kOffsetPointKey, Form::kSlopePointKey})
        AddFieldRow(lines, row++, key);
    lines->setColumnMinimumWidth(1, 150);
    auto* sensorLayout = new QHBoxLayout(sensorGroup);
    sensorLayout->addLayout(radios);
    sensorLayout->addSpacing(12);
    sensorLayout->addLayout(lines, 1);

    auto* trimGroup = new QGroupBox(QString::fromLatin1(texts::kTrimGroup), this);
    auto* typeButtons = new QButtonGroup(this);
    auto* recall = new QRadioButton(Q(Form::RecallText()), trimGroup);
    recall->setObjectName(QStringLiteral("recallButton"));
    recall->setEnabled(false);
    m_offset = new QRadioButton(QString::fromLatin1(texts::kOffsetTrimButton), trimGroup);
    m_offset->setObjectName(QStringLiteral("offsetTrimButton"));
    m_pair = new QRadioButton(QString::fromLatin1(texts::kOffsetSlopeTrimButton), trimGroup);
    m_pair->setObjectName(QStringLiteral("offsetSlopeTrimButton"));
    typeButtons->addButton(recall);
    typeButtons->addButton(m_offset);
    typeButtons->addButton(m_pair);
    auto* trim = new QGridLayout(trimGroup);
    trim->setColumnMinimumWidth(0, 20);
    trim->addWidget(recall, 0, 0, 1, 4);
    trim->addWidget(m_offset, 1, 0, 1, 4);
    trim->addWidget(m_pair, 3, 0, 1, 4);
    const std::array<std::pair<const char*, int>, 3> entries = {std::pair{Form::kOffsetKey, 2},
                                                                std::pair{Form::kPairOffsetKey, 4},
                                                                std::pair{Form::kSlopeKey, 5}};
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string key = entries[i].first;
        QLabel* label = FieldLabel(key);
        m_entryLabels[i] = label;
        trim->addWidget(label, entries[i].second, 1);
        trim->addWidget(FieldWidget(key), entries[i].second, 2);
        trim->addWidget(FieldWidget(key + Form::kUnitsSuffix), entries[i].second, 3);
    }

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* trimButton = AddButton(buttons, texts::kTrimButton, "trimButton");
    trimButton->setDefault(true);
    QPushButton* close = AddButton(buttons, texts::kCloseButton, "closeButton");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sensorGroup);
    layout->addWidget(trimGroup);
    layout->addLayout(buttons);

    connect(sensorButtons, &QButtonGroup::idClicked, this, &CSensorTrimDlg::OnSensor);
    connect(m_offset, &QRadioButton::clicked, this,
            [this] { OnTrimType(CSensorTrimForm::TrimType::Offset); });
    connect(m_pair, &QRadioButton::clicked, this,
            [this] { OnTrimType(CSensorTrimForm::TrimType::OffsetAndSlope); });
    connect(trimButton, &QPushButton::clicked, this, [this] { Handle(m_trim.Trim()); });
    connect(close, &QPushButton::clicked, this, &CSensorTrimDlg::OnOk);
    UpdateControls();
    m_sensors[0]->setFocus();
}

void CSensorTrimDlg::OnSensor(int sensor) {
    bool failed = false;
    m_trim.SelectSensor(sensor, &failed);
    if (failed) {
        done(kAbortResult);
        return;
    }
    Refresh();
}

void CSensorTrimDlg::OnTrimType(CSensorTrimForm::TrimType type) {
    m_trim.SelectTrimType(type);
    Refresh();
}

void CSensorTrimDlg::UpdateControls() {
    for (int sensor = 0; sensor < 3; ++sensor) {
        QRadioButton* radio = m_sensors[static_cast<size_t>(sensor)];
        radio->setChecked(m_trim.Sensor() == sensor);
        radio->setEnabled(sensor != 2 || !m_trim.PtFixed());
    }
    m_offset->setChecked(m_trim.Type() == CSensorTrimForm::TrimType::Offset);
    m_pair->setChecked(m_trim.Type() == CSensorTrimForm::TrimType::OffsetAndSlope);
    const char* keys[] = {CSensorTrimForm::kOffsetKey, CSensorTrimForm::kPairOffsetKey,
                          CSensorTrimForm::kSlopeKey};
    for (size_t i = 0; i < m_entryLabels.size(); ++i)
        m_entryLabels[i]->setEnabled(m_trim.Field(keys[i])->enabled);
}

CSensorTrimForm::StepResult CSensorTrimDlg::RunStep(CTrimStepForm& step) {
    CTrimStepDlg window(step, this);
    switch (window.exec()) {
        case QDialog::Accepted:
            return CSensorTrimForm::StepResult::Ok;
        case QDialog::Rejected:
            return CSensorTrimForm::StepResult::Cancel;
        default:
            return CSensorTrimForm::StepResult::Failed;
    }
}
