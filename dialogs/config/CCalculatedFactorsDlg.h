#pragma once

#include <array>

#include "dialogs/CFormDialog.h"

class CCalculatedFactorsForm;
class QRadioButton;

// "Process Variable Integer Scaling - Calculated Scale Factors and Offsets":
// the full-scale count, the rounding, per variable the PVs at 0 and at the
// full-scale count, and "&View Factors..." to see the factors they give.
class CCalculatedFactorsDlg : public CFormDialog {
    Q_OBJECT
  public:
    CCalculatedFactorsDlg(CCalculatedFactorsForm& form, QWidget* parent);

  protected:
    void UpdateControls() override;

  private:
    void OnViewFactors();

    CCalculatedFactorsForm& m_calculated;
    std::array<QRadioButton*, 3> m_rounding{};
};
