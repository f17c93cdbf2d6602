#pragma once

#include "dialogs/CFormDialog.h"

class CIdentificationForm;

// "Identification Information": the transmitter's identification numbers
// and its revisions, each in its group.
class CIdentificationDlg : public CFormDialog {
    Q_OBJECT
  public:
    CIdentificationDlg(CIdentificationForm& form, QWidget* parent);
};
