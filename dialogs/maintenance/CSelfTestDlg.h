#pragma once

#include "dialogs/maintenance/CTimedStepDlg.h"

class CSelfTestForm;

// "Transmitter Self Test": the timed steps of the self test; a finished test
// opens Error Information over this window.
class CSelfTestDlg : public CTimedStepDlg {
    Q_OBJECT
  public:
    CSelfTestDlg(CSelfTestForm& form, QWidget* parent);
    ~CSelfTestDlg() override;

  private:
    CSelfTestForm& m_selfTest;
};
