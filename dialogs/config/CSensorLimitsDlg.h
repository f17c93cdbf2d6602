#pragma once

#include "dialogs/CFormDialog.h"

class CSensorLimitsForm;

// "Sensor Limits": the write-protect state and present values, the range and
// operating limits the transmitter holds, the new operating limits, and the
// caution about the control loop.
class CSensorLimitsDlg : public CFormDialog {
    Q_OBJECT
  public:
    CSensorLimitsDlg(CSensorLimitsForm& form, QWidget* parent);
};
