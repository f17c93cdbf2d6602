#pragma once

#include "dialogs/CFormDialog.h"

class CTransmitterCommForm;

// "Transmitter Communication Parameters" / "Setup Transmitter Communication
// Parameters": the turnaround delay in mS.
class CTransmitterCommDlg : public CFormDialog {
    Q_OBJECT
  public:
    CTransmitterCommDlg(CTransmitterCommForm& form, QWidget* parent);
};
