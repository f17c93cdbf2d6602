#pragma once

#include "dialogs/CFormDialog.h"

class CErrorInfoForm;

// "Error Information": the status the transmitter reports, one line a bit.
class CErrorInfoDlg : public CFormDialog {
    Q_OBJECT
  public:
    CErrorInfoDlg(CErrorInfoForm& form, QWidget* parent);
};
