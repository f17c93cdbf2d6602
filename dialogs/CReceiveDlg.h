#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/CReceiveEngine.h"
#include "dialogs/CStepWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;

// "Receive Configuration": offers to save a modified document, then reads the
// transmitter's configuration into the document one area per tick. At the end
// the document is named after the transmitter's tag, the completion mark shows,
// the button becomes "&Close" and the window waits for it. A cancel or a
// failure is reported by the engine and closes the window.
class CReceiveDlg : public CStepWindow {
    Q_OBJECT
  public:
    static constexpr int kTickIntervalMs = 10;
    // Told the name the received document takes.
    using NamedCallback = std::function<void(const std::string& name)>;

    CReceiveDlg(WorkflowContext& context, CReceiveEngine::SaveModifiedQuestion saveModified,
                NamedCallback named, QWidget* parent);
    ~CReceiveDlg() override;

    const CReceiveEngine& Receive() const { return *m_receive; }

  protected:
    CWorkflowEngine& Engine() override { return *m_receive; }
    bool Begin() override;
    void ShowState() override;
    void Finished() override;

  private:
    void OnButton();

    WorkflowContext& m_context;
    std::unique_ptr<CReceiveEngine> m_receive;
    CReceiveEngine::SaveModifiedQuestion m_saveModified;
    NamedCallback m_named;
    QLabel* m_status;
    QProgressBar* m_progress;
    QLabel* m_completion;
    QPushButton* m_button;
};
