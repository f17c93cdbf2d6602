#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <string>

#include "dialogs/CReceiveDlg.h"
#include "dialogs/WorkflowDialogs.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/SendReceiveTestSupport.h"

namespace {

class ReceiveDlgTest : public testing::Test {
  protected:
    void SetUp() override {
        bench.Start();
        bench.ConnectTo(CSendReceiveBench::kSource);
    }

    CScriptedUi ui;
    CSendReceiveBench bench;
};

}  // namespace

TEST_F(ReceiveDlgTest, ModifiedDocumentIsOfferedForSavingAndCancelReceivesNothing) {
    CWindowOrderLog log(ui, QStringLiteral("receiveDlg"));
    bench.doc.SetModified(true);
    const uint64_t before = bench.line.RequestsSeen();
    ui.ExpectWithIcon("Save changes to Untitled?", MsgIcon::Question, MsgAnswer::Cancel);
    EXPECT_EQ(dialogs::RunReceiveConfiguration(nullptr, bench.context), WorkflowResult::NotStarted);
    EXPECT_EQ(bench.line.RequestsSeen(), before);
    EXPECT_TRUE(bench.doc.IsModified());
    EXPECT_TRUE(bench.doc.PathName().empty());

    // The main window's own question is asked instead when it gives one.
    int asked = 0;
    EXPECT_EQ(dialogs::RunReceiveConfiguration(nullptr, bench.context,
                                               [&] {
                                                   ++asked;
                                                   return false;
                                               }),
              WorkflowResult::NotStarted);
    EXPECT_EQ(asked, 1);
    // No progress window was ever shown behind the question or after it.
    EXPECT_EQ(log.events, (std::vector<std::string>{"asked: Save changes to Untitled?"}));
    EXPECT_FALSE(log.windowExistedAtAQuestion);
}

TEST_F(ReceiveDlgTest, ProgressWindowIsCreatedOnlyAfterTheSaveQuestionIsAnswered) {
    CWindowOrderLog log(ui, QStringLiteral("receiveDlg"));
    bench.doc.SetModified(true);
    ui.Expect("Save changes to Untitled?", MsgAnswer::No);
    // The window waits for "&Close" at the end.
    bool closed = false;
    ui.SetPumpHook([&] {
        QApplication::processEvents();
        QWidget* modal = QApplication::activeModalWidget();
        auto* button = modal != nullptr ? modal->findChild<QPushButton*>("cancelButton") : nullptr;
        if (!closed && button != nullptr && button->text() == QStringLiteral("&Close")) {
            closed = true;
            button->click();
        }
    });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] { ui.PumpMessages(); });
    closer.start(20);
    EXPECT_EQ(dialogs::RunReceiveConfiguration(nullptr, bench.context), WorkflowResult::Done);
    ui.SetPumpHook({});
    EXPECT_TRUE(closed);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"asked: Save changes to Untitled?", "window shown"}));
    EXPECT_FALSE(log.windowExistedAtAQuestion);
}

TEST_F(ReceiveDlgTest, WaitsForCloseAndNamesTheDocumentAfterTheTag) {
    std::string named;
    auto receive = std::make_unique<CReceiveEngine>(bench.context);
    ASSERT_TRUE(receive->Start({}));
    CReceiveDlg dlg(
        bench.context, std::move(receive), [&](const std::string& name) { named = name; }, nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Receive Configuration"));
    auto* status = FindChild<QLabel>(dlg, "statusLabel");
    auto* icon = FindChild<QLabel>(dlg, "completionIcon");
    auto* button = FindChild<QPushButton>(dlg, "cancelButton");
    EXPECT_EQ(status->text(), QStringLiteral("Receiving data..."));

    ASSERT_TRUE(RunUntil(dlg, [&] { return dlg.Result() != WorkflowResult::Running; }));
    EXPECT_EQ(dlg.Result(), WorkflowResult::Done);
    QTest::qWait(50);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(button->text(), QStringLiteral("&Close"));
    EXPECT_EQ(status->text().toStdString(), LoadString(405));
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_EQ(named, "FT.CMM");
    EXPECT_EQ(bench.doc.PathName(), "FT.CMM");
    EXPECT_TRUE(bench.doc.IsModified());
    EXPECT_EQ(bench.doc.Transmitter().FloatFormat(), 2);

    button->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(ReceiveDlgTest, CancelBetweenStepsSaysTheDocumentIsIncomplete) {
    bench.line.SetReplyDelayMs(20);
    bool cancelled = false;
    ui.SetPumpHook([&] {
        QApplication::processEvents();
        if (!cancelled && ModalStatus() == QStringLiteral("Common sensor & DP parameters...")) {
            cancelled = true;
            FindChild<QPushButton>(*QApplication::activeModalWidget(), "cancelButton")->click();
        }
    });
    ui.Expect(LoadString(396));
    EXPECT_EQ(dialogs::RunReceiveConfiguration(nullptr, bench.context), WorkflowResult::Cancelled);
    ui.SetPumpHook({});
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(ui.Beeps(), 0);
    EXPECT_TRUE(bench.doc.PathName().empty());
}

TEST_F(ReceiveDlgTest, FailedStepShowsTheErrorThenTheFailureNotice) {
    // SP damping (holding registers 446 and 447) is refused with "illegal value".
    bench.line.SetExceptionRange(446, 447, 3);
    ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kIllegalValue)), MsgIcon::Stop);
    ui.Expect(LoadString(395));
    EXPECT_EQ(dialogs::RunReceiveConfiguration(nullptr, bench.context), WorkflowResult::Failed);
    EXPECT_TRUE(bench.doc.PathName().empty());
}
