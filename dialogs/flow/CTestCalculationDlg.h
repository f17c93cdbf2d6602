#pragma once

#include "dialogs/CFormDialog.h"

class CTestCalculationForm;
class QPushButton;
class QTimer;

// "Test Calculation": inputs with their unit lists, the six results, and the
// poll of the transmitter's answer every 2000 ms after "&Calculate". A
// Ctrl+Shift double click in the top-left corner shows the last answer again.
class CTestCalculationDlg : public CFormDialog {
    Q_OBJECT
  public:
    static constexpr int kCornerWidth = 10;
    static constexpr int kCornerHeight = 13;

    CTestCalculationDlg(CTestCalculationForm& form, QWidget* parent);

  protected:
    void UpdateControls() override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void OnCalculate();
    void OnPoll();

    CTestCalculationForm& m_calculation;
    QPushButton* m_calculate = nullptr;
    QTimer* m_poll = nullptr;
};
