#pragma once

#include "dialogs/CFormDialog.h"

class CTimedForm;
class QTimer;

// "Transmitter Master Reset" and "Transmitter Self Test": one centred line
// while the form's steps run on the window's one-shot timer. The safety
// prompt comes before the window shows; once the steps run the window offers
// no Cancel and ignores Escape and its close box, but repaints throughout.
class CTimedStepDlg : public CFormDialog {
    Q_OBJECT
  public:
    CTimedStepDlg(CTimedForm& form, QWidget* parent);

    // The safety prompt; after OK the window runs its steps modally.
    int exec() override;

  private:
    void OnTimer();

    CTimedForm& m_timed;
    QTimer* m_timer;
};
