#pragma once

#include <QDialog>

#include "app/CWorkflowEngine.h"

class QTimer;

// A small progress window that performs one step of a workflow per one-shot
// timer tick, so that it repaints and its Cancel button is handled between
// (and, while the link waits, during) the steps. Escape and the close box
// request a cancel while steps remain; the cancel is acted on at the next tick.
// While a step runs, the window keeps showing what the engine reports, so the
// status line names the step in progress.
class CStepWindow : public QDialog {
    Q_OBJECT
  public:
    WorkflowResult Result() { return Engine().Result(); }
    // The pause before each step.
    void SetTickIntervalMs(int ms);

    void reject() override;

  protected:
    CStepWindow(int tickIntervalMs, QWidget* parent);

    virtual CWorkflowEngine& Engine() = 0;
    // Shows the engine's status text and progress.
    virtual void ShowState() = 0;
    // The engine has no steps left.
    virtual void Finished() = 0;

    void RequestCancel() { Engine().RequestCancel(); }
    bool Running() { return m_begun && !Engine().Finished(); }

    void showEvent(QShowEvent* event) override;

  private:
    void Tick();

    QTimer* m_timer;
    QTimer* m_refresh;
    bool m_begun = false;
};
