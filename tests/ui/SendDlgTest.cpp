#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/CSendDlg.h"
#include "dialogs/WorkflowDialogs.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/SendReceiveTestSupport.h"

namespace {

class SendDlgTest : public testing::Test {
  protected:
    void SetUp() override {
        bench.Start();
        bench.LoadSourceAndConnectTarget();
    }

    // A send engine whose safety question has been answered OK.
    std::unique_ptr<CSendEngine> StartedSend() {
        auto send = std::make_unique<CSendEngine>(bench.context);
        ui.ExpectWithIcon(LoadString(390), MsgIcon::Exclamation, MsgAnswer::Ok);
        EXPECT_TRUE(send->Start());
        return send;
    }

    CScriptedUi ui;
    CSendReceiveBench bench;
};

}  // namespace

TEST_F(SendDlgTest, WritesEveryAreaAndClosesByItself) {
    CSendDlg dlg(StartedSend(), nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Send Configuration"));
    auto* status = FindChild<QLabel>(dlg, "statusLabel");
    auto* progress = FindChild<QProgressBar>(dlg, "progressBar");
    auto* button = FindChild<QPushButton>(dlg, "cancelButton");
    EXPECT_EQ(status->text(), QStringLiteral("Sending data..."));
    EXPECT_EQ(progress->maximum(), 100);
    EXPECT_EQ(button->text(), QStringLiteral("&Cancel"));

    ASSERT_TRUE(RunUntil(dlg, [&] { return dlg.Result() != WorkflowResult::Running; }));
    // Nobody pressed anything: the window has closed on its own.
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Result(), WorkflowResult::Done);
    EXPECT_EQ(status->text().toStdString(), LoadString(405));
    EXPECT_EQ(progress->value(), 100);
    EXPECT_EQ(button->text(), QStringLiteral("Close"));
    EXPECT_EQ(bench.target->FloatFormat(), 2);
    EXPECT_DOUBLE_EQ(bench.target->Damping(SimVariable::kPt), 0.5);
    EXPECT_EQ(bench.target->Tag().substr(0, 6), "FT 101");
}

TEST_F(SendDlgTest, RefusedSafetyPromptSendsNothingAndOpensNoWindow) {
    CWindowOrderLog log(ui, QStringLiteral("sendDlg"));
    const uint64_t before = bench.line.RequestsSeen();
    ui.Expect(LoadString(390), MsgAnswer::Cancel);
    EXPECT_EQ(dialogs::RunSendConfiguration(nullptr, bench.context), WorkflowResult::NotStarted);
    EXPECT_EQ(bench.line.RequestsSeen(), before);
    EXPECT_EQ(log.events, (std::vector<std::string>{"asked: " + LoadString(390)}));
    EXPECT_FALSE(log.windowExistedAtAQuestion);
}

TEST_F(SendDlgTest, ProgressWindowIsCreatedOnlyAfterTheSafetyQuestionIsAnsweredOk) {
    CWindowOrderLog log(ui, QStringLiteral("sendDlg"));
    ui.Expect(LoadString(390), MsgAnswer::Ok);
    ui.Expect(LoadString(392));
    EXPECT_EQ(dialogs::RunSendConfiguration(nullptr, bench.context), WorkflowResult::Done);
    // The process-value notice follows once the window has closed.
    EXPECT_EQ(log.events, (std::vector<std::string>{"asked: " + LoadString(390), "window shown",
                                                    "asked: " + LoadString(392)}));
    EXPECT_FALSE(log.windowExistedAtAQuestion);
}

TEST_F(SendDlgTest, CancelDuringStep3FinishesThatStepAndWarnsWithoutTheProcessValueNotice) {
    // Each reply takes a little while, so the window is pumped during every step.
    bench.line.SetReplyDelayMs(20);
    std::vector<QString> shown;
    bool cancelled = false;
    ui.SetPumpHook([&] {
        QApplication::processEvents();
        const QString status = ModalStatus();
        if (shown.empty() || shown.back() != status) shown.push_back(status);
        if (!cancelled && status == QStringLiteral("SP parameters...")) {
            cancelled = true;
            FindChild<QPushButton>(*QApplication::activeModalWidget(), "cancelButton")->click();
        }
    });
    ui.Expect(LoadString(390), MsgAnswer::Ok);
    ui.ExpectWithIcon(LoadString(394), MsgIcon::Stop);
    EXPECT_EQ(dialogs::RunSendConfiguration(nullptr, bench.context), WorkflowResult::Cancelled);
    ui.SetPumpHook({});

    EXPECT_TRUE(cancelled);
    // The status line shows the resource's "&&" as one "&".
    EXPECT_NE(
        std::find(shown.begin(), shown.end(), QStringLiteral("Common sensor & DP parameters...")),
        shown.end());
    EXPECT_EQ(bench.target->FloatFormat(), 2);                         // step 1
    EXPECT_DOUBLE_EQ(bench.target->Damping(SimVariable::kDp), 1.5);    // step 2
    EXPECT_DOUBLE_EQ(bench.target->Damping(SimVariable::kSp), 2.0);    // step 3 ran to its end
    EXPECT_DOUBLE_EQ(bench.target->Damping(SimVariable::kPt), 0.896);  // step 4 never ran
    EXPECT_EQ(bench.target->Tag().substr(0, 6), "TARGET");
}

TEST_F(SendDlgTest, CancelIsHandledWhileASlowTransmitterIsAnswering) {
    bench.SetReplyTimeoutMs(2000);
    bench.ConnectTo(CSendReceiveBench::kTarget);
    bench.line.SetReplyDelayMs(250);
    ui.SetPumpHook([] { QApplication::processEvents(); });

    CSendDlg dlg(StartedSend(), nullptr);
    QString statusAtClick;
    bool stepRunningAtClick = false;
    QTimer::singleShot(150, &dlg, [&] {
        statusAtClick = FindChild<QLabel>(dlg, "statusLabel")->text();
        stepRunningAtClick = dlg.Send().NextStep() == 2 && !dlg.Send().Finished();
        FindChild<QPushButton>(dlg, "cancelButton")->click();
    });
    ASSERT_TRUE(RunUntil(
        dlg, [&] { return !dlg.isVisible(); }, 20000));
    ui.SetPumpHook({});

    EXPECT_EQ(statusAtClick, QStringLiteral("Transmitter parameters..."));
    EXPECT_TRUE(stepRunningAtClick);
    EXPECT_EQ(dlg.Result(), WorkflowResult::Cancelled);
    EXPECT_EQ(bench.target->FloatFormat(), 2);                         // the running step finished
    EXPECT_DOUBLE_EQ(bench.target->Damping(SimVariable::kDp), 0.896);  // the next never started
}
