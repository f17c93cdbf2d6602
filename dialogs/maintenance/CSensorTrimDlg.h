#pragma once

#include <array>

#include "dialogs/CFormDialog.h"
#include "maintenance/CSensorTrimForm.h"

class QLabel;
class QRadioButton;

// "Sensor Trim": the sensor and its lines, the trim type with its fields and
// their (always disabled) units lists, "&Trim" and "&Close". Each trim step
// opens the trim step window modally over this one.
class CSensorTrimDlg : public CFormDialog {
    Q_OBJECT
  public:
    CSensorTrimDlg(CSensorTrimForm& form, QWidget* parent);

  protected:
    void UpdateControls() override;

  private:
    void OnSensor(int sensor);
    void OnTrimType(CSensorTrimForm::TrimType type);
    CSensorTrimForm::StepResult RunStep(CTrimStepForm& step);

    CSensorTrimForm& m_trim;
    std::array<QRadioButton*, 3> m_sensors{};
    QRadioButton* m_offset = nullptr;
    QRadioButton* m_pair = nullptr;
    std::array<QLabel*, 3> m_entryLabels{};
};
