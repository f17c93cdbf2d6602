#include "dialogs/maintenance/CTimedStepDlg.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "diagnostics/CTimedForm.h"

CTimedStepDlg::CTimedStepDlg(CTimedForm& form, QWidget* parent)
    : CFormDialog(form, parent), m_timed(form), m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("timedStepDlg"));
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* text = static_cast<QLabel*>(FieldWidget(CTimedForm::kStatusKey));
    text->setAlignment(Qt::AlignCenter);
    text->setMinimumWidth(text->fontMetrics().horizontalAdvance(text->text()) + 80);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(text);

    m_timer->setObjectName(QStringLiteral("stepTimer"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CTimedStepDlg::OnTimer);
}

int CTimedStepDlg::exec() {
    const FormOutcome started = m_timed.Start();
    if (started.result != FormResult::StayOpen) {
        Handle(started);
        return result();
    }
    m_timer->start(m_timed.DelayMs());
    return CFormDialog::exec();
}

void CTimedStepDlg::OnTimer() {
    // A button's exchange is running: the step waits for the next tick.
    if (Acting()) {
        m_timer->start(m_timed.DelayMs());
        return;
    }
    FormOutcome outcome;
    RunAction([&] { outcome = m_timed.Step(); });
    if (outcome.result == FormResult::StayOpen) {
        m_timer->start(m_timed.DelayMs());
        return;
    }
    Handle(outcome);
}
