#pragma once

#include <QString>

#include "dialogs/CFormDialog.h"

class COutputTrend;
class CReadOutputsForm;
class QComboBox;
class QPushButton;
class QTimer;

// "Read Outputs": three rows of name, value and units, the time and date lines,
// the live trend with its window, Pause/Resume and "Export CSV...", and OK.
// One form step runs 250 ms after the last one ended; the timer stands while
// a step exchanges with the transmitter.
class CReadOutputsDlg : public CFormDialog {
    Q_OBJECT
  public:
    CReadOutputsDlg(CReadOutputsForm& form, QWidget* parent);

    // Writes every sample since opening to a CSV file; false (the failure
    // shown) when the file could not be written.
    bool ExportCsv(const QString& path);
    COutputTrend& Trend() { return *m_trend; }

    void done(int result) override;

  private:
    void OnTimer();
    void OnPause();
    void OnExport();

    CReadOutputsForm& m_outputs;
    QTimer* m_timer;
    COutputTrend* m_trend;
    QPushButton* m_pause;
};
