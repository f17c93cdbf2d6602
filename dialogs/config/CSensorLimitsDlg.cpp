#include "dialogs/config/CSensorLimitsDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "config/CSensorLimitsForm.h"
#include "resources/Texts.h"

namespace {
constexpr const char* kVariables[] = {"DP", "SP", "PT"};
constexpr const char* kRowLabels[] = {texts::kDpRow, texts::kSpRow, texts::kPtRow};

std::string Key(const char* variable, const char* part) { return std::string(variable) + part; }

QLabel* Heading(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
}  // namespace

CSensorLimitsDlg::CSensorLimitsDlg(CSensorLimitsForm& form, QWidget* parent)
    : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("sensorLimitsDlg"));
    // Shown values sit in sunken boxes, so that they read as values and not as labels.
    auto value = [this](const std::string& key) {
        auto* label = qobject_cast<QLabel*>(FieldWidget(key));
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(90);
        return label;
    };

    auto* sensorValues = new QGroupBox(QString::fromUtf8(texts::kSensorValuesGroup), this);
    auto* valuesGrid = new QGridLayout(sensorValues);
    valuesGrid->addWidget(new QLabel(QString::fromUtf8(texts::kWriteProtectStatusLabel), this), 0,
                          0, 1, 2);
    valuesGrid->addWidget(value("write-protect"), 0, 2);
    valuesGrid->addWidget(Heading(texts::kPresentValueColumn, this), 1, 1);
    valuesGrid->addWidget(Heading(texts::kUnitsColumn, this), 1, 2);
    for (int v = 0; v < 3; ++v) {
        valuesGrid->addWidget(new QLabel(QString::fromUtf8(kRowLabels[v]), this), v + 2, 0);
        valuesGrid->addWidget(value(Key(kVariables[v], "-present")), v + 2, 1);
        QLabel* units = value(Key(kVariables[v], "-units"));
        units->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        valuesGrid->addWidget(units, v + 2, 2);
    }

    auto* present = new QGroupBox(QString::fromUtf8(texts::kLimitPresentValuesGroup), this);
    auto* presentGrid = new QGridLayout(present);
    const char* columns[] = {texts::kRangeLimitColumn, texts::kOperatingLimitColumn,
                             texts::kOperatingLimitColumn, texts::kRangeLimitColumn};
    const char* parts[] = {"-LRL", "-LOL", "-UOL", "-URL"};
    for (int c = 0; c < 4; ++c) presentGrid->addWidget(Heading(columns[c], this), 0, c + 1);
    for (int v = 0; v < 3; ++v) {
        presentGrid->addWidget(new QLabel(QString::fromUtf8(kRowLabels[v]), this), v + 1, 0);
        for (int c = 0; c < 4; ++c)
            presentGrid->addWidget(value(Key(kVariables[v], parts[c])), v + 1, c + 1);
    }

    auto* setpoints = new QGroupBox(QString::fromUtf8(texts::kLimitSetpointValuesGroup), this);
    auto* setpointGrid = new QGridLayout(setpoints);
    setpointGrid->addWidget(Heading(texts::kLowerColumn, this), 0, 1);
    setpointGrid->addWidget(Heading(texts::kUpperColumn, this), 0, 2);
    for (int v = 0; v < 3; ++v) {
        const std::string lower = CSensorLimitsForm::LowerKey(v);
        setpointGrid->addWidget(FieldLabel(lower), v + 1, 0);
        setpointGrid->addWidget(FieldWidget(lower), v + 1, 1);
        setpointGrid->addWidget(FieldWidget(CSensorLimitsForm::UpperKey(v)), v + 1, 2);
    }
    setpointGrid->setColumnMinimumWidth(1, 110);
    setpointGrid->setColumnMinimumWidth(2, 110);

    auto* caution = new QGroupBox(QString::fromUtf8(texts::kCautionGroup), this);
    auto* icon = new QLabel(caution);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size));
    auto* cautionText =
        new QLabel(QString::fromUtf8(texts::kCautionRangeValues) + QStringLiteral("\n") +
                       QString::fromUtf8(texts::kCautionManualMode),
                   caution);
    cautionText->setWordWrap(true);
    auto* cautionLayout = new QHBoxLayout(caution);
    cautionLayout->addWidget(icon, 0, Qt::AlignTop);
    cautionLayout->addWidget(cautionText, 1);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kSetLimitsButton, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancelButton, "cancelButton");

    auto* top = new QHBoxLayout;
    top->addWidget(sensorValues);
    top->addWidget(present, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(setpoints);
    bottom->addWidget(caution, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CSensorLimitsDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CSensorLimitsDlg::reject);
    FieldWidget(CSensorLimitsForm::LowerKey(0))->setFocus();
}
