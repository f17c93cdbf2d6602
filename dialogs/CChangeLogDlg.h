#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/CChangeLog.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QTableWidget;

// View > Change Log...: the records of the change log, newest first, chosen by
// tag and by a first date, and "Export CSV..." of what is shown. It reads the
// log file when it opens and never writes to it.
class CChangeLogDlg : public QDialog {
    Q_OBJECT
  public:
    // Asks for the file to export to (the proposed name given); nullopt when
    // the user cancels. Empty: the window's own file dialog.
    using AskSavePath = std::function<std::optional<std::string>(const std::string& proposed)>;

    CChangeLogDlg(const std::string& logPath, QWidget* parent, AskSavePath askSavePath = {});

    // The records the table shows, in its order.
    const std::vector<ChangeRecord>& Shown() const { return m_shown; }
    // Writes the shown records as CSV to `path`; false (after its message)
    // when the file cannot be written.
    bool ExportCsv(const std::string& path);

  private:
    void Refill();
    void OnExport();

    std::vector<ChangeRecord> m_records;  // the whole log, in file order
    std::vector<ChangeRecord> m_shown;
    AskSavePath m_askSavePath;
    QComboBox* m_tag;
    QCheckBox* m_sinceCheck;
    QDateEdit* m_since;
    QTableWidget* m_table;
    QLabel* m_count;
};
