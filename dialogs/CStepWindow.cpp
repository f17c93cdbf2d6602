#include "dialogs/CStepWindow.h"

#include <QTimer>

namespace {
// How often the status line follows the engine while a step waits for the link.
constexpr int kRefreshIntervalMs = 20;
}  // namespace

CStepWindow::CStepWindow(int tickIntervalMs, QWidget* parent) : QDialog(parent) {
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("stepTimer"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(tickIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &CStepWindow::Tick);
    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshIntervalMs);
    connect(m_refresh, &QTimer::timeout, this, &CStepWindow::ShowState);
}

void CStepWindow::SetTickIntervalMs(int ms) { m_timer->setInterval(ms); }

void CStepWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_begun) return;
    // The steps start once the window is on the screen.
    m_begun = true;
    ShowState();
    m_refresh->start();
    m_timer->start();
}

void CStepWindow::Tick() {
    const bool more = Engine().Step();
    ShowState();
    if (more) {
        m_timer->start();
    } else {
        m_refresh->stop();
        Finished();
    }
}

void CStepWindow::reject() {
    if (Running()) {
        RequestCancel();
        return;
    }
    QDialog::reject();
}
