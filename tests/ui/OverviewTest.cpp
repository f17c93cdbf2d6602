// The configuration overview in the main window: the document's values, the
// compare with the connected transmitter, its marks and filter, and the
// windows a row opens.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/CConnectEngine.h"
#include "app/CommandTable.h"
#include "app/ui/CDocumentAdapter.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/COverviewModel.h"
#include "app/ui/COverviewPane.h"
#include "config/CDampingForm.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/support/PdfText.h"
#include "tests/ui/ModalHelper.h"
#include "tests/ui/QStringPrinter.h"
#include "tests/ui/WorkflowDialogBench.h"
#include "transmitter/CTransmitter.h"

namespace {

const std::string kSafety = LoadString(390);
const std::string kNotice = LoadString(392);

class OverviewTest : public testing::Test {
  protected:
    void Connect() {
        sim = &bench.Add(1, CWorkflowTestBench::Options("CORVEL"));
        bench.Start();
        CConnectEngine(*document.Workflow()).ConnectTo(1);
        ASSERT_TRUE(document.Workflow()->Connected());
    }

    // The document as the transmitter holds it.
    void ReceiveIntoDocument() {
        CTransmitter& model = Model();
        model.ReceiveDataFormats();
        for (int v = 0; v <= 2; ++v) model.ReceiveVariable(v);
        model.ReceiveDeviceInformation();
        model.ReceiveLcd();
    }

    CTransmitter& Model() { return document.Workflow()->Model(); }
    COverviewPane& Pane() { return frame.View().Overview(); }
    COverviewModel& Rows() { return Pane().Model(); }

    // The index of a value row in a column; invalid when it is not shown.
    QModelIndex Find(const std::string& path, int column = COverviewModel::kFieldColumn) {
        for (int g = 0; g < Rows().rowCount(); ++g) {
            const QModelIndex group = Rows().index(g, 0);
            for (int r = 0; r < Rows().rowCount(group); ++r) {
                const QModelIndex index = Rows().index(r, column, group);
                if (index.data(COverviewModel::kPathRole).toString().toStdString() == path)
                    return index;
            }
        }
        return {};
    }
    QString Cell(const std::string& path, int column) {
        return Find(path, column).data().toString();
    }

    // Every value row shown, as paths.
    std::vector<std::string> ShownPaths() {
        std::vector<std::string> paths;
        for (int g = 0; g < Rows().rowCount(); ++g) {
            const QModelIndex group = Rows().index(g, 0);
            for (int r = 0; r < Rows().rowCount(group); ++r)
                paths.push_back(Rows()
                                    .index(r, 0, group)
                                    .data(COverviewModel::kPathRole)
                                    .toString()
                                    .toStdString());
        }
        return paths;
    }

    size_t Writes() const {
        size_t writes = 0;
        for (const auto& request : sim->Requests())
            writes += request.function == 5 || request.function == 6 || request.function == 16;
        return writes;
    }

    CScriptedUi ui;
    CWorkflowDialogBench bench;
    CDocumentAdapter document{bench.settings};
    CMainFrame frame{document, bench.settings};
    CSimTransmitter* sim = nullptr;
};

TEST_F(OverviewTest, ShowsTheDocumentAndFollowsEveryChange) {
    frame.UpdateCommandUi();
    EXPECT_EQ(Rows().rowCount(), 8);
    EXPECT_EQ(Cell("DP.damping", COverviewModel::kDocumentColumn), QStringLiteral("0.896 seconds"));
    EXPECT_EQ(Cell("DP.damping", COverviewModel::kTransmitterColumn), QString());
    EXPECT_FALSE(frame.Action(cmd::kCompare)->isEnabled());

    Model().Dp().SetDamping(CDimlessValue(12));
    frame.UpdateCommandUi();
    EXPECT_EQ(Cell("DP.damping", COverviewModel::kDocumentColumn), QStringLiteral("12 seconds"));

    frame.View().NewDocument();
    frame.UpdateCommandUi();
    EXPECT_EQ(Cell("DP.damping", COverviewModel::kDocumentColumn), QStringLiteral("0.896 seconds"));
    EXPECT_TRUE(Rows().Differing().empty());
}

TEST_F(OverviewTest, CompareMarksExactlyTheChangedRowsAndReadsOnly) {
    Connect();
    ReceiveIntoDocument();
    Model().Sp().SetDamping(CDimlessValue(5));
    Model().SetTurnaroundDelay(75);
    sim->ClearRequests();
    frame.UpdateCommandUi();
    ASSERT_TRUE(frame.Action(cmd::kCompare)->isEnabled());
    EXPECT_EQ(frame.Action(cmd::kCompare)->shortcut(), QKeySequence(Qt::Key_F5));

    frame.View().OnCommand(cmd::kCompare);
    EXPECT_EQ(Writes(), 0u);
    EXPECT_FALSE(sim->Requests().empty());
    EXPECT_EQ(Rows().Differing(), (std::set<std::string>{"SP.damping", "comm.turnaround"}));
    // Marked by a symbol and by colour.
    const QModelIndex marked = Find("SP.damping");
    EXPECT_TRUE(
        marked.data().toString().startsWith(QString::fromUtf8(COverviewModel::kDifferenceMark)));
    EXPECT_TRUE(marked.data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(Find("DP.damping")
                     .data()
                     .toString()
                     .startsWith(QString::fromUtf8(COverviewModel::kDifferenceMark)));
    EXPECT_FALSE(Find("DP.damping").data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(Cell("SP.damping", COverviewModel::kDocumentColumn), QStringLiteral("5 seconds"));
    EXPECT_FALSE(Cell("SP.damping", COverviewModel::kTransmitterColumn).isEmpty());

    Pane().DifferencesOnly()->setChecked(true);
    EXPECT_EQ(ShownPaths(), (std::vector<std::string>{"SP.damping", "comm.turnaround"}));
    Pane().DifferencesOnly()->setChecked(false);
    EXPECT_GT(ShownPaths().size(), 20u);
}

TEST_F(OverviewTest, AWriteMakesTheColumnStaleAndDisconnectClearsIt) {
    Connect();
    frame.View().OnCommand(cmd::kCompare);
    const QString fresh =
        Rows().headerData(COverviewModel::kTransmitterColumn, Qt::Horizontal).toString();

    ui.Expect(kSafety, MsgAnswer::Ok);
    ui.Expect(kNotice);
    CDampingForm damping(document.Workflow()->doc, config::kTransmitterMode);
    ASSERT_TRUE(damping.Open());
    damping.SetText("PT", "9");
    ASSERT_EQ(damping.Ok().result, FormResult::Ok);
    frame.UpdateCommandUi();
    EXPECT_TRUE(frame.View().Compare().Stale());
    EXPECT_NE(Rows().headerData(COverviewModel::kTransmitterColumn, Qt::Horizontal).toString(),
              fresh);
    EXPECT_TRUE(Pane().CompareLine()->text().contains(QStringLiteral("stale")));

    frame.View().OnCommand(cmd::kDisconnect);
    EXPECT_FALSE(frame.View().Compare().HasSummary());
    EXPECT_EQ(Cell("PT.damping", COverviewModel::kTransmitterColumn), QString());
}

TEST_F(OverviewTest, ARowOpensItsWindowInTheModeOfItsColumn) {
    frame.UpdateCommandUi();
    QString shown;
    OnNextModal([&shown](QWidget* modal) {
        shown = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    emit Pane().Tree()->activated(Find("DP.damping", COverviewModel::kDocumentColumn));
    EXPECT_EQ(shown.toStdString(), LoadString(770));

    Connect();
    frame.View().OnCommand(cmd::kCompare);
    shown.clear();
    OnNextModal([&shown](QWidget* modal) {
        shown = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    emit Pane().Tree()->activated(Find("DP.damping", COverviewModel::kTransmitterColumn));
    EXPECT_EQ(shown.toStdString(), LoadString(771));
    // Online, the document's column opens nothing: Setup windows are for offline work.
    emit Pane().Tree()->activated(Find("DP.damping", COverviewModel::kDocumentColumn));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(OverviewTest, TheSendPromptSaysWhatWillChangeBeforeTheSafetyText) {
    Connect();
    ReceiveIntoDocument();
    Model().Dp().SetDamping(CDimlessValue(3));
    Model().DeviceInfo().SetTag("FT-101");
    sim->ClearRequests();
    ui.Expect("2 values differ: tag, DP damping.\n\n" + kSafety, MsgAnswer::Cancel);
    frame.View().OnCommand(cmd::kSendConfig);
    ui.Verify();
    EXPECT_EQ(Writes(), 0u);
    // The fresh compare is shown in the overview too.
    EXPECT_EQ(Rows().Differing(), (std::set<std::string>{"device.tag", "DP.damping"}));
}

TEST_F(OverviewTest, ExportReportWritesThePdfWithTheCompareAndIdentificationWhenConnected) {
    ASSERT_EQ(std::system("command -v pdftotext >/dev/null"), 0);
    Connect();
    ReceiveIntoDocument();
    Model().DeviceInfo().SetTag("FT-202");
    const std::string pdf = testing::TempDir() + "overview_report.pdf";
    std::remove(pdf.c_str());
    frame.View().SetFileDialogProvider(
        [&pdf](CMVView::FileDialog kind, const std::string&) -> std::optional<std::string> {
            EXPECT_EQ(kind, CMVView::FileDialog::Report);
            return pdf;
        });
    sim->ClearRequests();
    frame.View().OnCommand(cmd::kExportReport);
    EXPECT_EQ(Writes(), 0u);
    const std::string text = PdfText(pdf, false);
    EXPECT_NE(text.find("Commissioning report FT-202"), std::string::npos) << text;
    EXPECT_NE(text.find("Manufacturer"), std::string::npos);
    EXPECT_NE(text.find("Compared with the transmitter"), std::string::npos);
    EXPECT_NE(text.find("1 value differs"), std::string::npos);
    EXPECT_NE(text.find("\u2260 Tag"), std::string::npos) << text;
}

}  // namespace
