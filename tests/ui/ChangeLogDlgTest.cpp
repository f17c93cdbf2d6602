#include "dialogs/CChangeLogDlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTableWidget>
#include <fstream>
#include <sstream>

#include "app/ChangeLogQuery.h"
#include "app/FileBytes.h"
#include "link/ErrorReport.h"
#include "tests/support/CScratchFolder.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/QStringPrinter.h"

namespace {

ChangeRecord Record(const std::string& tag, const std::string& time, const std::string& field,
                    const std::string& outcome) {
    ChangeRecord r;
    r.time = time;
    r.port = "COM2";
    r.bitRate = 9600;
    r.address = 1;
    r.tag = tag;
    r.area = "Damping";
    r.field = field;
    r.oldValue = "1 seconds";
    r.newValue = "2 seconds";
    r.outcome = outcome;
    if (outcome == ChangeRecord::kRejected) r.error = "Illegal data value";
    return r;
}

class ChangeLogDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CChangeLog log(m_path);
        for (const ChangeRecord& r :
             {Record("FT-101  ", "2026-12-07T10:00:00+01:00", "DP", ChangeRecord::kDone),
              Record("PT-7", "2026-12-08T11:00:00+01:00", "SP", ChangeRecord::kRejected),
              Record("FT-101", "2026-12-09T12:00:00+01:00", "PT", ChangeRecord::kDone)}) {
            ASSERT_TRUE(log.Append(r));
        }
        std::ofstream(m_path, std::ios::app) << "{\"time\":\"2026-12-09T12:00:01";  // torn
    }

    static QString Cell(CChangeLogDlg& dlg, int row, int column) {
        auto* table = dlg.findChild<QTableWidget*>(QStringLiteral("changeTable"));
        QTableWidgetItem* item = table->item(row, column);
        return item ? item->text() : QString();
    }
    static int Rows(CChangeLogDlg& dlg) {
        return dlg.findChild<QTableWidget*>(QStringLiteral("changeTable"))->rowCount();
    }

    CScriptedUi m_ui;
    CScratchFolder m_folder;
    std::string m_path = m_folder.File("changes.jsonl");
};

}  // namespace

TEST_F(ChangeLogDlgTest, ListsTheRecordsNewestFirstAndSkipsATornLine) {
    CChangeLogDlg dlg(m_path, nullptr);
    ASSERT_EQ(Rows(dlg), 3);
    EXPECT_EQ(Cell(dlg, 0, 0), QStringLiteral("2026-12-09T12:00:00+01:00"));
    EXPECT_EQ(Cell(dlg, 0, 6), QStringLiteral("PT"));
    EXPECT_EQ(Cell(dlg, 1, 1), QStringLiteral("PT-7"));
    EXPECT_EQ(Cell(dlg, 1, 9), QStringLiteral("rejected: Illegal data value"));
    EXPECT_EQ(Cell(dlg, 2, 1), QStringLiteral("FT-101"));
    EXPECT_EQ(Cell(dlg, 2, 3), QStringLiteral("9600"));
    EXPECT_EQ(Cell(dlg, 2, 7), QStringLiteral("1 seconds"));
}

TEST_F(ChangeLogDlgTest, FiltersByTagAndByFirstDate) {
    CChangeLogDlg dlg(m_path, nullptr);
    auto* tag = dlg.findChild<QComboBox*>(QStringLiteral("tagFilter"));
    ASSERT_EQ(tag->count(), 3);  // all, FT-101, PT-7
    tag->setCurrentIndex(tag->findText(QStringLiteral("FT-101")));
    ASSERT_EQ(Rows(dlg), 2);
    EXPECT_EQ(Cell(dlg, 0, 6), QStringLiteral("PT"));
    EXPECT_EQ(Cell(dlg, 1, 6), QStringLiteral("DP"));

    auto* since = dlg.findChild<QDateEdit*>(QStringLiteral("sinceDate"));
    since->setDate(QDate(2026, 12, 8));
    EXPECT_EQ(Rows(dlg), 2) << "the date counts only once it is switched on";
    dlg.findChild<QCheckBox*>(QStringLiteral("sinceCheck"))->setChecked(true);
    ASSERT_EQ(Rows(dlg), 1);
    EXPECT_EQ(Cell(dlg, 0, 6), QStringLiteral("PT"));

    tag->setCurrentIndex(0);
    EXPECT_EQ(Rows(dlg), 2);
    since->setDate(QDate(2026, 12, 10));
    EXPECT_EQ(Rows(dlg), 0);
}

TEST_F(ChangeLogDlgTest, ExportWritesTheShownRecordsAsCsv) {
    const std::string csv = m_folder.File("export.csv");
    std::string proposed;
    CChangeLogDlg dlg(m_path, nullptr, [&](const std::string& name) -> std::optional<std::string> {
        proposed = name;
        return csv;
    });
    auto* tag = dlg.findChild<QComboBox*>(QStringLiteral("tagFilter"));
    tag->setCurrentIndex(tag->findText(QStringLiteral("PT-7")));
    dlg.findChild<QPushButton*>(QStringLiteral("exportCsvButton"))->click();
    EXPECT_EQ(proposed, "changes.csv");
    std::ifstream in(csv, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    ASSERT_EQ(dlg.Shown().size(), 1u);
    EXPECT_EQ(text.str(), changelog::Csv(dlg.Shown()));
    EXPECT_NE(text.str().find("PT-7,Damping,SP,1 seconds,2 seconds,rejected,Illegal data value"),
              std::string::npos)
        << text.str();
}

TEST_F(ChangeLogDlgTest, AnExportThatCannotBeWrittenSaysSo) {
    const std::string path = m_folder.File("no/such/folder/export.csv");
    std::string expected;
    try {
        app::WriteFileAtomically(path, {});
    } catch (const std::exception& e) {
        expected = MessageText(e);
    }
    ASSERT_FALSE(expected.empty());
    CChangeLogDlg dlg(m_path, nullptr);
    m_ui.ExpectWithIcon(expected, MsgIcon::Stop);
    EXPECT_FALSE(dlg.ExportCsv(path));
}
