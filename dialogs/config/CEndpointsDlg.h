#pragma once

#include "dialogs/CFormDialog.h"

class CEndpointsForm;

// "Process Variable Integer Scaling - Entered Endpoints": per variable the
// integers at the minimum and maximum PV and the two PVs, with its units.
class CEndpointsDlg : public CFormDialog {
    Q_OBJECT
  public:
    CEndpointsDlg(CEndpointsForm& form, QWidget* parent);
};
