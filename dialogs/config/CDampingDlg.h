#pragma once

#include "dialogs/CFormDialog.h"

class CDampingForm;
class QLabel;
class QPushButton;

// "Transmitter Damping" / "Setup Damping": the damping of DP, SP and PT in
// seconds, the note about the nearest values the transmitter keeps, and
// "&Close" to keep the values a transmitter approximated.
class CDampingDlg : public CFormDialog {
    Q_OBJECT
  public:
    CDampingDlg(CDampingForm& form, QWidget* parent);

  protected:
    void UpdateControls() override;

  private:
    CDampingForm& m_damping;
    QLabel* m_note = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_close = nullptr;
};
