#pragma once

#include "dialogs/CFormDialog.h"

class CPasswordsForm;

// "Passwords": the six medium level passwords in two rows of three and the
// high level password; what is typed turns to upper case.
class CPasswordsDlg : public CFormDialog {
    Q_OBJECT
  public:
    CPasswordsDlg(CPasswordsForm& form, QWidget* parent);
};
