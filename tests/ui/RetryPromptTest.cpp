#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <string>

#include "dialogs/CRetryPrompt.h"
#include "dialogs/WorkflowDialogs.h"
#include "tests/ui/ModalHelper.h"
#include "tests/ui/WorkflowDialogBench.h"

TEST(RetryPrompt, AShortMessageLeavesRoomForTheCaption) {
    CRetryPrompt prompt("No answer", nullptr);
    prompt.show();
    QFont bold = QApplication::font();
    bold.setBold(true);
    // The caption beside a title bar's icon and three buttons.
    EXPECT_GE(prompt.width(), QFontMetrics(bold).horizontalAdvance(prompt.windowTitle()) + 100);
}

TEST(RetryPrompt, ShowsTheMessageAndOffersItsButtonsLeftToRight) {
    CRetryPrompt prompt("The transmitter and Configurator User Interface are not in communication",
                        nullptr);
    prompt.show();
    EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Corvel Configurator User Interface"));
    EXPECT_EQ(
        FindChild<QLabel>(prompt, "messageLabel")->text(),
        QStringLiteral("The transmitter and Configurator User Interface are not in communication"));
    auto* connectDialog = FindChild<QPushButton>(prompt, "connectDialogButton");
    auto* retry = FindChild<QPushButton>(prompt, "retryButton");
    auto* cancel = FindChild<QPushButton>(prompt, "cancelButton");
    EXPECT_EQ(connectDialog->text(), QStringLiteral("Connect &Dialog"));
    EXPECT_EQ(retry->text(), QStringLiteral("&Retry Address 1"));
    EXPECT_EQ(cancel->text(), QStringLiteral("&Cancel"));
    EXPECT_LT(connectDialog->x(), retry->x());
    EXPECT_LT(retry->x(), cancel->x());
    EXPECT_EQ(prompt.Answer(), CRetryPrompt::kCancel);
}

TEST(RetryPrompt, EachButtonClosesThePromptWithItsAnswer) {
    const std::pair<const char*, RetryAnswer> cases[] = {
        {"connectDialogButton", RetryAnswer::ConnectDialog},
        {"retryButton", RetryAnswer::RetryAddress1},
        {"cancelButton", RetryAnswer::Cancel},
    };
    for (const auto& [button, answer] : cases) {
        OnNextModal(
            [name = button](QWidget* modal) { FindChild<QPushButton>(*modal, name)->click(); });
        EXPECT_EQ(dialogs::RunRetryPrompt(nullptr, "message"), answer) << button;
    }
    // The close box is a Cancel.
    OnNextModal([](QWidget* modal) { modal->close(); });
    EXPECT_EQ(dialogs::RunRetryPrompt(nullptr, "message"), RetryAnswer::Cancel);
}
