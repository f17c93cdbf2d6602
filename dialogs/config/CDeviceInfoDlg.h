#pragma once

#include "dialogs/CFormDialog.h"

class CDeviceInfoForm;

// "Transmitter Device Information" / "Setup Device Information": tag, date,
// descriptor and message beside the eight construction lists.
class CDeviceInfoDlg : public CFormDialog {
    Q_OBJECT
  public:
    CDeviceInfoDlg(CDeviceInfoForm& form, QWidget* parent);
};
