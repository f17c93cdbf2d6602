#pragma once

#include <memory>

#include "app/CSendEngine.h"
#include "dialogs/CStepWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;

// "Send Configuration": writes the document's configuration to the transmitter
// one area per tick and closes by itself after the last one. It is given an
// engine whose safety question has already been answered OK, so the window
// never stands behind that question. What the result means for the process is
// shown by the caller afterwards (CSendEngine::ReportOutcome).
class CSendDlg : public CStepWindow {
    Q_OBJECT
  public:
    static constexpr int kTickIntervalMs = 10;

    // `send` has been started (its safety question answered OK).
    CSendDlg(std::unique_ptr<CSendEngine> send, QWidget* parent);
    ~CSendDlg() override;

    const CSendEngine& Send() const { return *m_send; }

  protected:
    CWorkflowEngine& Engine() override { return *m_send; }
    void ShowState() override;
    void Finished() override;

  private:
    std::unique_ptr<CSendEngine> m_send;
    QLabel* m_status;
    QProgressBar* m_progress;
    QPushButton* m_button;
};
