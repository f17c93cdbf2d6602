#pragma once

#include <array>
#include <memory>

#include "dialogs/CFormDialog.h"

class CDataFormatsForm;
class CScalingParametersForm;
class QLabel;
class QPushButton;

// "Data Formats" / "Setup Data Formats": the byte transmission order of
// floats with a picture of the bytes A to D as sent, and the integer scaling
// method with "&Parameters ...", which opens the method's parameter window.
class CDataFormatsDlg : public CFormDialog {
    Q_OBJECT
  public:
    CDataFormatsDlg(CDataFormatsForm& form, QWidget* parent);

  protected:
    void UpdateControls() override;

  private:
    void OnMethodChosen();
    // Runs the parameter window of the current method; OK there accepts the
    // method, Cancel goes back to the one accepted before.
    void OpenParameters();
    std::unique_ptr<CFormDialog> ParameterWindow(CScalingParametersForm& parameters);

    CDataFormatsForm& m_formats;
    std::array<QLabel*, 4> m_sent{};
    QPushButton* m_parameters = nullptr;
};
