#pragma once

#include "dialogs/CFormDialog.h"

class CTrimStepForm;
class QTimer;

// One trim step: the sensor, the step, the range limits, the value entered and
// the value measured, read again 250 ms after the last read ended (the timer
// stands while a read is under way). OK confirms the step, Cancel skips it; a
// failed read closes the window with the abort result.
class CTrimStepDlg : public CFormDialog {
    Q_OBJECT
  public:
    CTrimStepDlg(CTrimStepForm& form, QWidget* parent);

    void done(int result) override;

  private:
    void OnTimer();

    CTrimStepForm& m_step;
    QTimer* m_timer;
};
