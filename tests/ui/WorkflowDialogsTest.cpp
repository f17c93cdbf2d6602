#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/WorkflowDialogs.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/ModalHelper.h"
#include "tests/ui/WorkflowDialogBench.h"

namespace {

class StartupConnectionTest : public testing::Test {
  protected:
    bool Run() {
        return dialogs::RunStartupConnection(nullptr, bench.context, [this] { ++closed; });
    }

    CScriptedUi ui;
    CWorkflowDialogBench bench;
    int closed = 0;
};

}  // namespace

TEST_F(StartupConnectionTest, SilenceAtAddress1OffersRetryAndCancelLeavesTheProgramOffline) {
    bench.Start();
    std::vector<QString> messages;
    auto answer = [&](const char* button) {
        return [&messages, button](QWidget* prompt) {
            messages.push_back(FindChild<QLabel>(*prompt, "messageLabel")->text());
            FindChild<QPushButton>(*prompt, button)->click();
        };
    };
    // Retry once, then give up.
    OnModalNamed("retryPrompt", [&](QWidget* prompt) {
        answer("retryButton")(prompt);
        OnModalNamed("retryPrompt", answer("cancelButton"));
    });
    EXPECT_FALSE(Run());

    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].toStdString(), LoadString(2101));
    EXPECT_EQ(messages[1].toStdString(), LoadString(2101));
    EXPECT_GE(closed, 1);
    EXPECT_EQ(bench.doc.PollingAddress(), -1);
    EXPECT_TRUE(bench.doc.LinkAvailable());
    EXPECT_FALSE(bench.context.Connected());
}

TEST_F(StartupConnectionTest, ForeignDeviceAtAddress1LeadsThroughTheConnectDialogToAnotherAddress) {
    bench.line.AddForeignDevice(1, 12, 34);
    bench.Add(7, "FT-7");
    bench.Start();
    QString message;
    OnModalNamed("retryPrompt", [&](QWidget* prompt) {
        message = FindChild<QLabel>(*prompt, "messageLabel")->text();
        OnModalNamed("connectDlg", [](QWidget* dlg) {
            FindChild<QLineEdit>(*dlg, "addressEdit")->setText(QStringLiteral("7"));
            FindChild<QPushButton>(*dlg, "okButton")->click();
        });
        FindChild<QPushButton>(*prompt, "connectDialogButton")->click();
    });
    EXPECT_TRUE(Run());

    EXPECT_EQ(message.toStdString(), LoadString(2100));
    ASSERT_TRUE(bench.context.Connected());
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 7);
    EXPECT_EQ(bench.doc.PollingAddress(), 7);
}

TEST_F(StartupConnectionTest, CorvelAtAddress1ConnectsWithoutAnyPrompt) {
    bench.Add(1, "FT-1");
    bench.Start();
    EXPECT_TRUE(Run());
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 1);
    EXPECT_GE(closed, 1);
}
