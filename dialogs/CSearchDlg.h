#pragma once

#include <memory>

#include "app/CSearchEngine.h"
#include "dialogs/CStepWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;

// "Multidrop - Search": probes polling addresses 1 to 247, one per tick, with a
// busy animation, the address being polled, how many transmitters have
// answered so far and a progress bar. Closes with OK
// after address 247 and with Cancel when the user stopped it or a probe failed;
// the transmitter connected before the search is connected again either way.
class CSearchDlg : public CStepWindow {
    Q_OBJECT
  public:
    static constexpr int kTickIntervalMs = 50;

    CSearchDlg(WorkflowContext& context, QWidget* parent);
    ~CSearchDlg() override;

    const CSearchEngine& Search() const { return *m_search; }

  protected:
    CWorkflowEngine& Engine() override { return *m_search; }
    void ShowState() override;
    void Finished() override;

  private:
    void OnCancel();

    std::unique_ptr<CSearchEngine> m_search;
    QProgressBar* m_animation;
    QLabel* m_status;
    QLabel* m_found;
    QProgressBar* m_progress;
    QPushButton* m_cancel;
};
