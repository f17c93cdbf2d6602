#include "dialogs/flow/CTestCalculationDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "config/CTestCalculationForm.h"
#include "resources/Texts.h"

CTestCalculationDlg::CTestCalculationDlg(CTestCalculationForm& form, QWidget* parent)
    : CFormDialog(form, parent), m_calculation(form) {
    setObjectName(QStringLiteral("testCalculationDlg"));
    auto* inputs = new QGridLayout;
    int row = 0;
    for (const char* key : {"DP", "SP", "PT"}) {
        inputs->addWidget(FieldLabel(key), row, 0);
        inputs->addWidget(FieldWidget(key), row, 1);
        inputs->addWidget(FieldWidget(std::string(key) + "-unit"), row, 2);
        ++row;
    }
    inputs->setColumnMinimumWidth(1, 120);

    auto* results = new QGridLayout;
    row = 0;
    for (const char* key : {"mass-flow", "density", "gas-expansion", "discharge-coefficient",
                            "reynolds", "viscosity"}) {
        results->addWidget(FieldLabel(key), row, 0);
        results->addWidget(FieldWidget(key), row, 1);
        ++row;
    }
    results->setColumnMinimumWidth(1, 140);

    QHBoxLayout* buttons = ButtonRow();
    m_calculate = AddButton(buttons, texts::kTestCalcCalculateButton, "okButton");
    m_calculate->setDefault(true);
    QPushButton* exit = AddButton(buttons, texts::kTestCalcExitButton, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addSpacing(8);
    layout->addLayout(results);
    layout->addLayout(buttons);

    m_poll = new QTimer(this);
    m_poll->setSingleShot(true);
    m_poll->setInterval(CTestCalculationForm::kPollIntervalMs);
    connect(m_poll, &QTimer::timeout, this, &CTestCalculationDlg::OnPoll);
    connect(m_calculate, &QPushButton::clicked, this, &CTestCalculationDlg::OnCalculate);
    connect(exit, &QPushButton::clicked, this, &CTestCalculationDlg::reject);
    FieldWidget("DP")->setFocus();
}

void CTestCalculationDlg::OnCalculate() {
    OnOk();
    if (m_calculation.Waiting()) m_poll->start();
    UpdateControls();
}

void CTestCalculationDlg::OnPoll() {
    if (Acting()) {
        m_poll->start();
        return;
    }
    RunAction([this] { m_calculation.Poll(); });
    Refresh();
    // The next poll starts only after this one ended.
    if (m_calculation.Waiting()) m_poll->start();
}

void CTestCalculationDlg::UpdateControls() {
    // One calculation at a time.
    if (m_calculate != nullptr) m_calculate->setEnabled(!m_calculation.Waiting());
}

void CTestCalculationDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && (event->modifiers() & both) == both &&
        at.x() <= kCornerWidth && at.y() <= kCornerHeight) {
        if (RunAction([this] { m_calculation.RefreshFromTransmitter(); })) Refresh();
        return;
    }
    CFormDialog::mouseDoubleClickEvent(event);
}
