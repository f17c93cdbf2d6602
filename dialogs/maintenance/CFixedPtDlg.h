#pragma once

#include "dialogs/CFormDialog.h"

class CFixedPtForm;
class QCheckBox;
class QLabel;

// "Fixed Process Temp.": the check box with its second line, the fixed
// temperature with the PT units beside it, OK and Cancel. Ticking the box
// enables the field and puts the focus in it; clearing it empties the field.
class CFixedPtDlg : public CFormDialog {
    Q_OBJECT
  public:
    CFixedPtDlg(CFixedPtForm& form, QWidget* parent);

  protected:
    void UpdateControls() override;

  private:
    CFixedPtForm& m_fixed;
    QCheckBox* m_check;
    QLabel* m_label;
};
