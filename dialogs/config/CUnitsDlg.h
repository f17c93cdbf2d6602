#pragma once

#include "dialogs/CFormDialog.h"

class CUnitsForm;

// "Transmitter Units" / "Setup Units": a list of units for DP, SP and PT.
class CUnitsDlg : public CFormDialog {
    Q_OBJECT
  public:
    CUnitsDlg(CUnitsForm& form, QWidget* parent);
};
