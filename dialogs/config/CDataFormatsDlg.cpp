#include "dialogs/config/CDataFormatsDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CCalculatedFactorsForm.h"
#include "config/CDataFormatsForm.h"
#include "config/CEndpointsForm.h"
#include "config/CEnteredFactorsForm.h"
#include "dialogs/config/CCalculatedFactorsDlg.h"
#include "dialogs/config/CEndpointsDlg.h"
#include "dialogs/config/CEnteredFactorsDlg.h"
#include "resources/Texts.h"
#include "transmitter/ModelTypes.h"

namespace {
// One byte of a float: a framed letter.
QLabel* BytePicture(char byte, QWidget* parent) {
    auto* label = new QLabel(QString(QLatin1Char(byte)), parent);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedSize(36, 28);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}
}  // namespace

CDataFormatsDlg::CDataFormatsDlg(CDataFormatsForm& form, QWidget* parent)
    : CFormDialog(form, parent), m_formats(form) {
    setObjectName(QStringLiteral("dataFormatsDlg"));

    auto* floatGroup = new QGroupBox(QString::fromUtf8(texts::kFloatFormatGroup), this);
    // The value's bytes as it holds them, and below them the bytes as they are sent.
    auto* held = new QHBoxLayout;
    held->setSpacing(0);
    held->addStretch();
    for (char byte : std::string("ABCD")) {
        QLabel* picture = BytePicture(byte, floatGroup);
        picture->setObjectName(QStringLiteral("heldByte") + QLatin1Char(byte));
        held->addWidget(picture);
    }
    held->addStretch();
    auto* arrow = new QLabel(QStringLiteral("\u2193"), floatGroup);
    arrow->setAlignment(Qt::AlignCenter);
    auto* sent = new QHBoxLayout;
    sent->addStretch();
    for (size_t i = 0; i < m_sent.size(); ++i) {
        m_sent[i] = BytePicture(' ', floatGroup);
        m_sent[i]->setObjectName(QStringLiteral("sentByte%1").arg(i));
        sent->addWidget(m_sent[i]);
    }
    sent->addStretch();
    auto* floatGrid = new QGridLayout(floatGroup);
    floatGrid->addLayout(held, 0, 0, 1, 2);
    floatGrid->addWidget(arrow, 1, 0, 1, 2);
    floatGrid->addLayout(sent, 2, 0, 1, 2);
    floatGrid->addWidget(FieldLabel("float-format"), 3, 0);
    floatGrid->addWidget(FieldWidget("float-format"), 3, 1);
    floatGrid->setColumnMinimumWidth(1, 200);

    auto* scalingGroup = new QGroupBox(QString::fromUtf8(texts::kIntegerScalingGroup), this);
    auto* scalingGrid = new QGridLayout(scalingGroup);
    scalingGrid->addWidget(FieldLabel("scaling"), 0, 0);
    scalingGrid->addWidget(FieldWidget("scaling"), 0, 1);
    scalingGrid->setColumnMinimumWidth(1, 200);
    m_parameters = new QPushButton(QString::fromUtf8(texts::kParametersButton), scalingGroup);
    m_parameters->setObjectName(QStringLiteral("parametersButton"));
    scalingGrid->addWidget(m_parameters, 1, 1, Qt::AlignRight);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancel, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(floatGroup);
    layout->addWidget(scalingGroup);
    layout->addLayout(buttons);

    // After the binding of the list has passed the choice to the form.
    connect(qobject_cast<QComboBox*>(FieldWidget("scaling")),
            QOverload<int>::of(&QComboBox::activated), this, &CDataFormatsDlg::OnMethodChosen);
    connect(m_parameters, &QPushButton::clicked, this, &CDataFormatsDlg::OpenParameters);
    connect(ok, &QPushButton::clicked, this, &CDataFormatsDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CDataFormatsDlg::reject);
    UpdateControls();
    FieldWidget("float-format")->setFocus();
}

void CDataFormatsDlg::UpdateControls() {
    const std::string order = m_formats.SelectedByteOrder();
    for (size_t i = 0; i < m_sent.size(); ++i)
        m_sent[i]->setText(i < order.size() ? QString(QLatin1Char(order[i])) : QString());
    m_parameters->setEnabled(m_formats.ParametersEnabled());
    // The list texts mark the methods whose parameters were changed.
    auto* list = qobject_cast<QComboBox*>(FieldWidget("scaling"));
    const FormField* scaling = m_formats.Field("scaling");
    for (int i = 0; i < list->count() && i < static_cast<int>(scaling->choices.size()); ++i)
        list->setItemText(i, QString::fromStdString(scaling->choices[static_cast<size_t>(i)]));
}

void CDataFormatsDlg::OnMethodChosen() {
    switch (m_formats.TakeSelection()) {
        case CDataFormatsForm::Selection::Failed:
            done(kAbortResult);
            return;
        case CDataFormatsForm::Selection::OpenParameters:
            OpenParameters();
            return;
        case CDataFormatsForm::Selection::None:
            Refresh();
            return;
    }
}

std::unique_ptr<CFormDialog> CDataFormatsDlg::ParameterWindow(CScalingParametersForm& parameters) {
    switch (parameters.Method()) {
        case transmitter::kScalingEndpoints:
            return std::make_unique<CEndpointsDlg>(static_cast<CEndpointsForm&>(parameters), this);
        case transmitter::kScalingEnteredFactors:
            return std::make_unique<CEnteredFactorsDlg>(parameters, this);
        default:
            return std::make_unique<CCalculatedFactorsDlg>(
                static_cast<CCalculatedFactorsForm&>(parameters), this);
    }
}

void CDataFormatsDlg::OpenParameters() {
    std::unique_ptr<CScalingParametersForm> parameters = m_formats.ParameterForm();
    if (parameters && parameters->Open()) {
        std::unique_ptr<CFormDialog> window = ParameterWindow(*parameters);
        if (window->exec() == QDialog::Accepted)
            m_formats.AcceptParameters(*parameters);
        else
            m_formats.RejectParameters();
    } else {
        m_formats.RejectParameters();
    }
    Refresh();
}
