#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QFont>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/ui/CQtUserInterface.h"
#include "platform/UiServices.h"
#include "tests/ui/ModalHelper.h"

namespace {

TEST(QtUserInterface, WaitCursorIsCountedAndUnmatchedEndsAreHarmless) {
    CQtUserInterface ui;
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    ui.BeginWaitCursor();
    ui.BeginWaitCursor();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.EndWaitCursor();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    ui.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ui.EndWaitCursor();
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtUserInterface, PromptShowsTheArrowOverAWaitCursorAndWaitsInsideItShowAgain) {
    CQtUserInterface ui;
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    ui.BeginWaitCursor();
    {
        CScopedUi scope(ui);
        CPromptCursor prompt;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        {
            CWaitCursor transaction;  // a dialog opened from the prompt works
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ui.EndUserPrompt();  // unmatched: harmless
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtUserInterface, PumpMessagesDeliversPendingEvents) {
    CQtUserInterface ui;
    while (ui.PumpMessages()) {
    }
    bool delivered = false;
    QTimer::singleShot(0, [&delivered] { delivered = true; });
    for (int i = 0; i < 10 && !delivered; ++i) ui.PumpMessages();
    EXPECT_TRUE(delivered);
}

struct BoxCase {
    MsgButtons buttons;
    MsgIcon icon;
    QMessageBox::StandardButtons expectedButtons;
    QMessageBox::Icon expectedIcon;
    QMessageBox::StandardButton press;
    MsgAnswer answer;
};

TEST(QtUserInterface, MessageBoxesCarryTheirButtonsAndIcons) {
    const BoxCase cases[] = {
        {MsgButtons::Ok, MsgIcon::None, QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::Ok,
         MsgAnswer::Ok},
        {MsgButtons::OkCancel, MsgIcon::Exclamation, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Warning, QMessageBox::Cancel, MsgAnswer::Cancel},
        {MsgButtons::Ok, MsgIcon::Stop, QMessageBox::Ok, QMessageBox::Critical, QMessageBox::Ok,
         MsgAnswer::Ok},
        {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Question, QMessageBox::No, MsgAnswer::No},
        {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Question, QMessageBox::Yes, MsgAnswer::Yes},
    };
    CQtUserInterface ui;
    for (const BoxCase& c : cases) {
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        OnNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            icon = box->icon();
            box->button(c.press)->click();
        });
        EXPECT_EQ(ui.MessageBox("Some text", c.buttons, c.icon), c.answer);
        EXPECT_EQ(title, QStringLiteral("Corvel Configurator User Interface"));
        EXPECT_EQ(text, QStringLiteral("Some text"));
        EXPECT_EQ(buttons, c.expectedButtons);
        EXPECT_EQ(icon, c.expectedIcon);
    }
}

TEST(QtUserInterface, ReplaceQuestionOffersReplaceSaveAsAndCancel) {
    CQtUserInterface ui;
    const std::pair<QString, MsgAnswer> cases[] = {{QStringLiteral("&Replace"), MsgAnswer::Yes},
                                                   {QStringLiteral("Save &As..."), MsgAnswer::No},
                                                   {QStringLiteral("Cancel"), MsgAnswer::Cancel},
                                                   {QString(), MsgAnswer::Cancel}};
    for (const auto& [press, answer] : cases) {
        QStringList captions;
        QString defaultCaption;
        OnNextModal([&, press = press](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons()) captions << button->text();
            if (box->defaultButton() != nullptr) defaultCaption = box->defaultButton()->text();
            if (press.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == press) button->click();
            }
        });
        EXPECT_EQ(ui.MessageBox("Replace?", MsgButtons::ReplaceSaveAsCancel, MsgIcon::Exclamation),
                  answer)
            << press.toStdString();
        captions.sort();
        EXPECT_EQ(captions, (QStringList{QStringLiteral("&Replace"), QStringLiteral("Cancel"),
                                         QStringLiteral("Save &As...")}));
        // Return does not replace a file.
        EXPECT_EQ(defaultCaption, QStringLiteral("Save &As..."));
    }
}

TEST(QtUserInterface, PasswordIsHiddenAndTurnedToUpperCase) {
    CQtUserInterface ui;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    QString shown;
    OnNextModal([&](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>("passwordEdit");
        ASSERT_NE(edit, nullptr);
        echo = edit->echoMode();
        QTest::keyClicks(edit, "aBc1x");
        shown = edit->text();
        modal->findChild<QPushButton*>("okButton")->click();
    });
    EXPECT_EQ(ui.PromptPassword(), std::optional<std::string>("ABC1X"));
    EXPECT_EQ(echo, QLineEdit::Password);
    EXPECT_EQ(shown, QStringLiteral("ABC1X"));

    OnNextModal([](QWidget* modal) { modal->findChild<QPushButton*>("cancelButton")->click(); });
    EXPECT_EQ(ui.PromptPassword(), std::nullopt);
}

// Wide enough for the caption in a bold font beside a title bar's icon and
// three buttons (about 100 pixels on the common desktops).
int CaptionNeeds(const QString& caption) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(caption) + 100;
}

TEST(QtUserInterface, BoxesWithShortTextsKeepRoomForTheirCaption) {
    CQtUserInterface ui;
    int boxWidth = 0;
    QString boxTitle;
    OnNextModal([&](QWidget* modal) {
        boxWidth = modal->width();
        boxTitle = modal->windowTitle();
        qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
    });
    ui.MessageBox("OK", MsgButtons::Ok, MsgIcon::None);
    EXPECT_GE(boxWidth, CaptionNeeds(boxTitle));

    int promptWidth = 0;
    QString promptTitle;
    OnNextModal([&](QWidget* modal) {
        promptWidth = modal->width();
        promptTitle = modal->windowTitle();
        modal->findChild<QPushButton*>("cancelButton")->click();
    });
    ui.PromptPassword();
    EXPECT_EQ(promptTitle, QStringLiteral("Corvel Configurator User Interface"));
    EXPECT_GE(promptWidth, CaptionNeeds(promptTitle));
}

TEST(QtUserInterface, TransmitterStatusDialogListsAndAnswers) {
    CQtUserInterface ui;
    TransmitterStatusRequest request;
    request.statusByte = 0x81;
    request.lines = {"Transmitter is malfunctioning", "Primary variable is beyond its limits"};
    bool errorInfoEnabled = true;
    int lines = 0;
    OnNextModal([&](QWidget* modal) {
        errorInfoEnabled = modal->findChild<QPushButton*>("errorInfoButton")->isEnabled();
        lines = modal->findChild<QListWidget*>("statusList")->count();
        modal->findChild<QCheckBox*>("ignoreCheck")->setChecked(true);
        modal->findChild<QPushButton*>("okButton")->click();
    });
    TransmitterStatusAnswer answer = ui.ShowTransmitterStatus(request);
    EXPECT_FALSE(errorInfoEnabled);
    EXPECT_EQ(lines, 2);
    EXPECT_TRUE(answer.ignoreNext50);
    EXPECT_FALSE(answer.errorInfoPressed);

    // Without anything to open "&Error Info" stays disabled.
    request.errorInfoEnabled = true;
    OnNextModal([&](QWidget* modal) {
        errorInfoEnabled = modal->findChild<QPushButton*>("errorInfoButton")->isEnabled();
        modal->findChild<QPushButton*>("okButton")->click();
    });
    ui.ShowTransmitterStatus(request);
    EXPECT_FALSE(errorInfoEnabled);

    // "&Error Info" opens over the status dialog, which stays open for its OK.
    QWidget* openedOver = nullptr;
    ui.SetErrorInfoOpener([&openedOver](QWidget* parent) { openedOver = parent; });
    QWidget* status = nullptr;
    bool stillOpen = false;
    OnNextModal([&](QWidget* modal) {
        status = modal;
        modal->findChild<QPushButton*>("errorInfoButton")->click();
        stillOpen = modal->isVisible();
        modal->findChild<QPushButton*>("okButton")->click();
    });
    answer = ui.ShowTransmitterStatus(request);
    EXPECT_TRUE(answer.errorInfoPressed);
    EXPECT_FALSE(answer.ignoreNext50);
    EXPECT_TRUE(stillOpen);
    EXPECT_NE(openedOver, nullptr);
    EXPECT_EQ(openedOver, status);
}

}  // namespace
