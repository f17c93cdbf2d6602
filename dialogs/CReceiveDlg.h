#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/CReceiveEngine.h"
#include "dialogs/CStepWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;

// "Receive Configuration": reads the transmitter's configuration into the
// document one area per tick. It is given an engine that has been started (a
// modified document has been dealt with), so the window never stands behind
// the save question. At the end
// the document is named after the transmitter's tag, the completion mark shows,
// the button becomes "&Close" and the window waits for it. A cancel or a
// failure is reported by the engine and closes the window.
class CReceiveDlg : public CStepWindow {
    Q_OBJECT
  public:
    static constexpr int kTickIntervalMs = 10;
    // Told the name the received document takes.
    using NamedCallback = std::function<void(const std::string& name)>;

    // `receive` has been started on `context`.
    CReceiveDlg(WorkflowContext& context, std::unique_ptr<CReceiveEngine> receive,
                NamedCallback named, QWidget* parent);
    ~CReceiveDlg() override;

    const CReceiveEngine& Receive() const { return *m_receive; }

  protected:
    CWorkflowEngine& Engine() override { return *m_receive; }
    void ShowState() override;
    void Finished() override;

  private:
    void OnButton();

    WorkflowContext& m_context;
    std::unique_ptr<CReceiveEngine> m_receive;
    NamedCallback m_named;
    QLabel* m_status;
    QProgressBar* m_progress;
    QLabel* m_completion;
    QPushButton* m_button;
};
