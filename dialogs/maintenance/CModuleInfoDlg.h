#pragma once

#include "dialogs/CFormDialog.h"

class CModuleInfoForm;

// "Module Information": the sensor table (range code, limits, units and
// minimum span of DP, SP and PT) and the materials of construction.
class CModuleInfoDlg : public CFormDialog {
    Q_OBJECT
  public:
    CModuleInfoDlg(CModuleInfoForm& form, QWidget* parent);
};
