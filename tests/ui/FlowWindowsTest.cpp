// Flow setup, its completion window with the hidden test-file writer, and
// Test Calculation, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "app/CommandTable.h"
#include "app/FileBytes.h"
#include "app/ui/CDocumentAdapter.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "cli/CliProgram.h"
#include "config/CFlowSetup.h"
#include "config/CTestCalculationForm.h"
#include "dialogs/flow/CFlowSetupCompleteDlg.h"
#include "dialogs/flow/CTestCalculationDlg.h"
#include "platform/CMemorySettingsStore.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/WorkflowDialogBench.h"

namespace {

// Runs a test in a fresh current folder and goes back afterwards.
class CCurrentFolder {
  public:
    CCurrentFolder() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_folder.path()); }
    ~CCurrentFolder() { QDir::setCurrent(m_previous); }
    QString File(const char* name) const { return m_folder.filePath(QString::fromLatin1(name)); }

  private:
    QTemporaryDir m_folder;
    QString m_previous;
};

void DoubleClick(QWidget& window, QPoint at, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(at), window.mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(&window, &event);
}

bool Exists(const QString& path) { return QFileInfo::exists(path); }

TEST(FlowWindows, FlowSetupAndTestCalculationAreInNoMenu) {
    CScriptedUi ui;
    CMemorySettingsStore settings;
    CDocumentAdapter document(settings);
    CMainFrame frame(document, settings);
    EXPECT_EQ(frame.Action(cmd::kSetupFlow), nullptr);
    EXPECT_EQ(frame.Action(cmd::kTestCalculation), nullptr);
    for (QAction* menu : frame.menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            EXPECT_FALSE(item->text().contains(QStringLiteral("Compensated Flow")));
            EXPECT_FALSE(item->text().contains(QStringLiteral("Test &Calculation")));
        }
    }
}

TEST(FlowWindows, TheFlowSetupCommandEndsWithNotCompletedAndKeepsTheDocument) {
    CScriptedUi ui;
    CMemorySettingsStore settings;
    CDocumentAdapter document(settings);
    CMainFrame frame(document, settings);
    const std::vector<uint8_t> before = document.Workflow()->doc.Store();
    ui.ExpectWithIcon(LoadString(2102), MsgIcon::Stop);
    frame.View().OnCommand(cmd::kSetupFlow);
    EXPECT_EQ(document.Workflow()->doc.Store(), before);
}

class FlowSetupCompleteTest : public testing::Test {
  protected:
    CScriptedUi m_ui;
    CMVDoc m_doc;
};

TEST_F(FlowSetupCompleteTest, TheCornerDoubleClickWritesTheTestFilesOfTheTerminal) {
    CCurrentFolder here;
    config::CFlowSetupCompletion completion(m_doc, true);
    CFlowSetupCompleteDlg window(completion, {}, nullptr);
    window.show();
    m_ui.Expect(texts::kWritingFlowTestFiles);
    DoubleClick(window, QPoint(10, 13), Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(Exists(here.File(texts::kGasTestFile)));
    ASSERT_TRUE(Exists(here.File(texts::kSendTestFile)));

    QTemporaryDir terminal;
    CMemorySettingsStore store;
    std::ostringstream out, err;
    ASSERT_EQ(cli::RunProgram({"flow-test-files", "--dir", terminal.path().toStdString()}, store,
                              out, err),
              0)
        << err.str();
    for (const char* name : {texts::kGasTestFile, texts::kSendTestFile}) {
        EXPECT_EQ(app::ReadFileBytes(here.File(name).toStdString()),
                  app::ReadFileBytes(terminal.filePath(QString::fromLatin1(name)).toStdString()))
            << name;
    }
}

TEST_F(FlowSetupCompleteTest, ADoubleClickOutsideTheCornerOrWithoutShiftWritesNothing) {
    CCurrentFolder here;
    config::CFlowSetupCompletion completion(m_doc, true);
    CFlowSetupCompleteDlg window(completion, {}, nullptr);
    window.show();
    DoubleClick(window, QPoint(11, 13), Qt::ControlModifier | Qt::ShiftModifier);
    DoubleClick(window, QPoint(10, 14), Qt::ControlModifier | Qt::ShiftModifier);
    DoubleClick(window, QPoint(2, 2), Qt::ControlModifier);
    EXPECT_FALSE(Exists(here.File(texts::kGasTestFile)));
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(FlowSetupCompleteTest, FileSavesAndStaysOpenConnectClosesWithItsResult) {
    int saves = 0;
    config::CFlowSetupCompletion completion(m_doc, true);
    CFlowSetupCompleteDlg window(
        completion, [&saves] { ++saves; }, nullptr);
    window.show();
    QTest::mouseClick(FindChild<QPushButton>(window, "fileButton"), Qt::LeftButton);
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(window.isVisible());
    QTest::mouseClick(FindChild<QPushButton>(window, "connectButton"), Qt::LeftButton);
    EXPECT_EQ(window.result(), CFlowSetupCompleteDlg::kConnectResult);

    config::CFlowSetupCompletion offline(m_doc, false);
    CFlowSetupCompleteDlg refused(offline, {}, nullptr);
    EXPECT_FALSE(FindChild<QPushButton>(refused, "connectButton")->isEnabled());
}

TEST(TestCalculationWindow, CalculateWaitsForTheAnswerWithTheButtonDisabled) {
    CScriptedUi ui;
    CWorkflowDialogBench bench;
    bench.Add(1, CWorkflowTestBench::Options("CORVEL"));
    bench.Start();
    bench.ConnectTo(1);
    CTestCalculationForm form(bench.doc, config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    CTestCalculationDlg window(form, nullptr);
    window.show();
    auto* calculate = FindChild<QPushButton>(window, "okButton");
    QTest::mouseClick(calculate, Qt::LeftButton);
    EXPECT_TRUE(form.Waiting());
    EXPECT_FALSE(calculate->isEnabled());
    QTest::mouseClick(FindChild<QPushButton>(window, "cancelButton"), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

}  // namespace
