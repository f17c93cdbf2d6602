#pragma once

#include "dialogs/CFormDialog.h"

class CSetupLimitsForm;

// "Setup Sensor Operating Limits": the lower and upper operating limit of DP,
// SP and PT in the document, each row ending with its units.
class CSetupLimitsDlg : public CFormDialog {
    Q_OBJECT
  public:
    CSetupLimitsDlg(CSetupLimitsForm& form, QWidget* parent);
};
