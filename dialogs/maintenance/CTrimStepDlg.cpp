#include "dialogs/maintenance/CTrimStepDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "maintenance/CTrimStepForm.h"
#include "resources/Texts.h"

CTrimStepDlg::CTrimStepDlg(CTrimStepForm& form, QWidget* parent)
    : CFormDialog(form, parent), m_step(form), m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("trimStepDlg"));
    auto* grid = new QGridLayout;
    int row = 0;
    for (const char* key :
         {CTrimStepForm::kSensorKey, CTrimStepForm::kTypeKey, CTrimStepForm::kLowerKey,
          CTrimStepForm::kUpperKey, CTrimStepForm::kEnteredKey, CTrimStepForm::kMeasuredKey})
        AddFieldRow(grid, row++, key);
    grid->setColumnStretch(1, 1);
    auto* measured = static_cast<QLabel*>(FieldWidget(CTrimStepForm::kMeasuredKey));
    measured->setMinimumWidth(
        measured->fontMetrics().horizontalAdvance(QStringLiteral("-0000.00 InH2O-60°F")));

    auto* instruction = new QLabel(QString::fromUtf8(texts::kTrimStepInstruction), this);
    instruction->setObjectName(QStringLiteral("instruction"));
    instruction->setWordWrap(true);
    instruction->setMinimumWidth(300);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancel, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(instruction);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CTrimStepDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CTrimStepDlg::reject);
    m_timer->setObjectName(QStringLiteral("measureTimer"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CTrimStepDlg::OnTimer);
    m_timer->start(CTrimStepForm::kRefreshMs);
}

void CTrimStepDlg::OnTimer() {
    if (!m_step.Refresh()) {
        done(kAbortResult);
        return;
    }
    Refresh();
    if (isVisible()) m_timer->start(CTrimStepForm::kRefreshMs);
}

void CTrimStepDlg::done(int result) {
    m_timer->stop();
    CFormDialog::done(result);
}
