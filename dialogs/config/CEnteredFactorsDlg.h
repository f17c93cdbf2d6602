#pragma once

#include "dialogs/CFormDialog.h"

// "Process Variable Integer Scaling - Entered Scale Factors and Offsets": the
// full-scale count and per variable a scale factor and an offset. The same
// layout, every field disabled and without buttons, is the read-only view of
// calculated factors (closed from its window frame).
class CEnteredFactorsDlg : public CFormDialog {
    Q_OBJECT
  public:
    enum class Buttons { SetScaling, None };

    // The form is the Entered Scale Factors and Offsets form, or the view of
    // calculated factors with Buttons::None.
    CEnteredFactorsDlg(CConfigForm& form, QWidget* parent, Buttons buttons = Buttons::SetScaling);
};
