// The LCD display, transmitter communication and passwords windows over their
// forms, and the log-in, security and privileges commands of the main view,
// offscreen, with the scripted user-interface double answering every box.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/CConnectEngine.h"
#include "app/CommandTable.h"
#include "app/ui/CDocumentAdapter.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "config/CLcdDisplayForm.h"
#include "config/CPasswordsForm.h"
#include "config/CTransmitterCommForm.h"
#include "dialogs/CFormDialog.h"
#include "dialogs/FormWindows.h"
#include "dialogs/config/CLcdDisplayDlg.h"
#include "dialogs/config/CPasswordsDlg.h"
#include "dialogs/config/CTransmitterCommDlg.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "tests/config/SecurityImageDevice.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/ModalHelper.h"
#include "tests/ui/QStringPrinter.h"
#include "tests/ui/WorkflowDialogBench.h"
#include "transmitter/CTransmitter.h"

namespace {

QStringList Entries(QListWidget* list) {
    QStringList entries;
    for (int row = 0; row < list->count(); ++row) entries << list->item(row)->text();
    return entries;
}

QStringList SelectedEntries(QListWidget* list) {
    QStringList entries;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) entries << list->item(row)->text();
    }
    return entries;
}

class DisplayAndSecurityWindowsTest : public testing::Test {
  protected:
    void Connect() {
        m_bench.Add(1, CWorkflowTestBench::Options("CORVEL"));
        m_bench.Start();
        m_bench.ConnectTo(1);
        ASSERT_TRUE(m_bench.context.Connected());
    }

    static void Type(QWidget& window, const char* field, const QString& text) {
        auto* edit = FindChild<QLineEdit>(window, field);
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    static void Click(QWidget& window, const char* button) {
        auto* push = FindChild<QPushButton>(window, button);
        ASSERT_NE(push, nullptr);
        ASSERT_TRUE(push->isEnabled()) << button;
        QTest::mouseClick(push, Qt::LeftButton);
    }

    // The caption of the window a command opens; the window is closed with Escape.
    static QString CaptionOpenedBy(const std::function<void()>& command) {
        QString shown;
        OnNextModal([&shown](QWidget* modal) {
            shown = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        command();
        return shown;
    }

    CScriptedUi m_ui;
    CWorkflowDialogBench m_bench;
};

TEST_F(DisplayAndSecurityWindowsTest, TheSetupMenuOpensTheLcdAndCommunicationWindows) {
    CDocumentAdapter document(m_bench.settings);
    CMainFrame frame(document, m_bench.settings);
    EXPECT_EQ(CaptionOpenedBy([&] { frame.View().OnCommand(cmd::kSetupLcdDisplay); }),
              QStringLiteral("Setup LCD Display Configuration"));
    EXPECT_EQ(CaptionOpenedBy([&] { frame.View().OnCommand(cmd::kSetupXmtrComm); }),
              QStringLiteral("Setup Transmitter Communication Parameters"));
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(DisplayAndSecurityWindowsTest, TheTransmitterCommandsOpenTheirWindowsOnTheTransmitter) {
    Connect();
    const std::vector<std::pair<int, QString>> windows = {
        {cmd::kXmtrLcdDisplay, QStringLiteral("LCD Display Configuration")},
        {cmd::kXmtrComm, QStringLiteral("Transmitter Communication Parameters")},
        {cmd::kPrivileges, QStringLiteral("Passwords")},
    };
    for (const auto& [command, caption] : windows) {
        int result = -1;
        EXPECT_EQ(CaptionOpenedBy([&, id = command] {
                      result = dialogs::RunFormWindow(nullptr, m_bench.context, id);
                  }),
                  caption);
        EXPECT_EQ(result, QDialog::Rejected) << command;
    }
}

TEST_F(DisplayAndSecurityWindowsTest, LcdWindowMovesTheSelectedEntriesAcrossInListOrder) {
    CLcdDisplayForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CLcdDisplayDlg window(form, nullptr);
    window.show();
    auto* displayed = FindChild<QListWidget>(window, "displayedList");
    auto* notDisplayed = FindChild<QListWidget>(window, "notDisplayedList");
    EXPECT_EQ(displayed->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(Entries(displayed), (QStringList{"Differential Pressure", "Static Pressure",
                                               "Process Temperature", "Communication Setup"}));
    EXPECT_TRUE(Entries(notDisplayed).isEmpty());
    EXPECT_EQ(FindChild<QLineEdit>(window, "field_interval")->text(), QStringLiteral("3"));

    displayed->item(3)->setSelected(true);
    displayed->item(1)->setSelected(true);
    Click(window, "moveOutButton");
    EXPECT_EQ(Entries(displayed), (QStringList{"Differential Pressure", "Process Temperature"}));
    EXPECT_EQ(Entries(notDisplayed), (QStringList{"Static Pressure", "Communication Setup"}));
    EXPECT_EQ(SelectedEntries(notDisplayed), Entries(notDisplayed)) << "the moved stay selected";

    Click(window, "moveInButton");
    EXPECT_EQ(Entries(displayed), (QStringList{"Differential Pressure", "Process Temperature",
                                               "Static Pressure", "Communication Setup"}));
    Click(window, "okButton");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_bench.doc.Transmitter().LcdDisplay().Items(), (std::vector<uint16_t>{1, 4, 2, 8}));
    EXPECT_TRUE(m_bench.doc.IsModified());
}

TEST_F(DisplayAndSecurityWindowsTest, LcdWindowRefusesElevenAndSelectsTheInterval) {
    CLcdDisplayForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CLcdDisplayDlg window(form, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    Type(window, "field_interval", QStringLiteral("11"));
    m_ui.ExpectWithIcon("Please enter an integer between 1 and 10.", MsgIcon::None);
    Click(window, "okButton");
    EXPECT_TRUE(window.isVisible());
    auto* interval = FindChild<QLineEdit>(window, "field_interval");
    EXPECT_TRUE(interval->hasFocus());
    EXPECT_EQ(interval->selectedText(), QStringLiteral("11"));
    EXPECT_FALSE(m_bench.doc.IsModified());
}

TEST_F(DisplayAndSecurityWindowsTest, CommWindowWarnsBelowFiftyAndCancelReturnsToTheField) {
    CTransmitterCommForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CTransmitterCommDlg window(form, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    Type(window, "field_turnaround", QStringLiteral("20"));
    m_ui.ExpectWithIcon(texts::kTurnaroundDelayWarning, MsgIcon::Exclamation, MsgAnswer::Cancel);
    Click(window, "okButton");
    EXPECT_TRUE(window.isVisible());
    auto* field = FindChild<QLineEdit>(window, "field_turnaround");
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->selectedText(), QStringLiteral("20"));
    EXPECT_EQ(m_bench.doc.Transmitter().TurnaroundDelay(), 50);

    m_ui.Expect(texts::kTurnaroundDelayWarning, MsgAnswer::Ok);
    Click(window, "okButton");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_bench.doc.Transmitter().TurnaroundDelay(), 20);
    EXPECT_TRUE(m_bench.doc.IsModified());
}

TEST_F(DisplayAndSecurityWindowsTest, PasswordsWindowHasTwoRowsOfThreeAndTypesUpperCase) {
    SecurityImageDevice device;
    device.Install(m_bench.doc.Transmitter().Comm());
    CSecurity builder(5);
    device.Configure(builder, true, "ADMIN", {"ONE", "TWO", "THREE", "FOUR", "FIVE", "SIX"});
    m_bench.security.ReadAll(m_bench.doc.Transmitter().Comm());
    device.writtenSlots.clear();

    CPasswordsForm form(m_bench.doc, m_bench.security);
    ASSERT_TRUE(form.Open());
    CPasswordsDlg window(form, nullptr);
    window.show();
    QApplication::processEvents();
    std::vector<QLineEdit*> medium;
    for (int i = 1; i <= 6; ++i) {
        medium.push_back(
            FindChild<QLineEdit>(window, ("field_medium-" + std::to_string(i)).c_str()));
        ASSERT_NE(medium.back(), nullptr);
        EXPECT_EQ(medium.back()->maxLength(), 8);
        EXPECT_NE(medium.back()->echoMode(), QLineEdit::Password);
    }
    EXPECT_EQ(medium[0]->text(), QStringLiteral("ONE"));
    EXPECT_EQ(FindChild<QLineEdit>(window, "field_high")->text(), QStringLiteral("ADMIN"));
    // 1 to 3 in the first row, 4 to 6 below them.
    EXPECT_EQ(medium[0]->y(), medium[2]->y());
    EXPECT_LT(medium[0]->x(), medium[1]->x());
    EXPECT_LT(medium[1]->x(), medium[2]->x());
    EXPECT_EQ(medium[3]->y(), medium[5]->y());
    EXPECT_GT(medium[3]->y(), medium[0]->y());
    EXPECT_EQ(medium[3]->x(), medium[0]->x());

    Type(window, "field_medium-5", QStringLiteral("fifth5"));
    EXPECT_EQ(medium[4]->text(), QStringLiteral("FIFTH5"));
    m_ui.ExpectWithIcon(LoadString(3106), MsgIcon::Exclamation, MsgAnswer::Ok);
    Click(window, "okButton");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(device.writtenSlots, std::vector<int>{6});
    EXPECT_EQ(device.PasswordInSlot(6), "FIFTH5");
}

// The main window on the simulated transmitter, whose inert security image
// reads security off and every password empty.
class MainViewSecurityTest : public DisplayAndSecurityWindowsTest {
  protected:
    void SetUp() override {
        m_bench.Add(1, CWorkflowTestBench::Options("CORVEL"));
        m_bench.Start();
        m_document.SetLinkAvailable(true);
        CConnectEngine connect(*m_document.Workflow());
        connect.DropDevice();
        connect.ConnectTo(1);
        m_frame.SetSecurityMenuText(m_document.Workflow()->security.Enabled());
        m_frame.UpdateCommandUi();
    }

    QString MenuText(int command) { return m_frame.Action(command)->text(); }
    QString SecurityPane() { return m_frame.SecurityPane()->text().trimmed(); }
    bool Enabled(int command) {
        m_frame.UpdateCommandUi();
        return m_frame.Action(command)->isEnabled();
    }

    CDocumentAdapter m_document{m_bench.settings};
    CMainFrame m_frame{m_document, m_bench.settings};
};

TEST_F(MainViewSecurityTest, TheSecurityCommandSwitchesAndItsMenuTextFollows) {
    EXPECT_EQ(SecurityPane(), QStringLiteral("Security: Disabled"));
    EXPECT_EQ(MenuText(cmd::kSecurityOnOff).toStdString(), LoadString(3102));
    EXPECT_FALSE(Enabled(cmd::kLogIn)) << "no log-in while security is off";
    EXPECT_FALSE(Enabled(cmd::kPrivileges));
    ASSERT_TRUE(Enabled(cmd::kSecurityOnOff));

    m_ui.ExpectWithIcon(LoadString(3105), MsgIcon::Exclamation, MsgAnswer::Ok).ExpectPassword("X");
    m_ui.ExpectWithIcon(LoadString(3100), MsgIcon::Stop);
    m_frame.Action(cmd::kSecurityOnOff)->trigger();
    EXPECT_EQ(MenuText(cmd::kSecurityOnOff).toStdString(), LoadString(3102)) << "unchanged";

    m_ui.Expect(LoadString(3105), MsgAnswer::Ok).ExpectPassword("");
    m_frame.Action(cmd::kSecurityOnOff)->trigger();
    EXPECT_EQ(MenuText(cmd::kSecurityOnOff).toStdString(), LoadString(3103));
    EXPECT_EQ(SecurityPane(), QStringLiteral("Security: High"));
    EXPECT_TRUE(Enabled(cmd::kPrivileges));

    m_ui.ExpectWithIcon(LoadString(3104), MsgIcon::Exclamation, MsgAnswer::Cancel);
    m_frame.Action(cmd::kSecurityOnOff)->trigger();
    EXPECT_EQ(MenuText(cmd::kSecurityOnOff).toStdString(), LoadString(3103));

    m_ui.Expect(LoadString(3104), MsgAnswer::Ok);
    m_frame.Action(cmd::kSecurityOnOff)->trigger();
    EXPECT_EQ(MenuText(cmd::kSecurityOnOff).toStdString(), LoadString(3102));
    EXPECT_EQ(SecurityPane(), QStringLiteral("Security: Disabled"));
}

TEST_F(MainViewSecurityTest, LogInAsksThePasswordAndThePrivilegesFollowTheLevel) {
    m_ui.Expect(LoadString(3105), MsgAnswer::Ok).ExpectPassword("");
    m_frame.Action(cmd::kSecurityOnOff)->trigger();
    ASSERT_TRUE(Enabled(cmd::kLogIn));

    m_ui.ExpectPassword("GUESS").ExpectWithIcon(LoadString(3101), MsgIcon::Stop);
    m_frame.Action(cmd::kLogIn)->trigger();
    EXPECT_EQ(SecurityPane(), QStringLiteral("Security: Low"));
    EXPECT_FALSE(Enabled(cmd::kPrivileges));
    EXPECT_FALSE(Enabled(cmd::kSecurityOnOff));
    EXPECT_FALSE(Enabled(cmd::kSendConfig));

    m_ui.ExpectPassword(std::nullopt);  // Cancel at the prompt changes nothing
    m_frame.Action(cmd::kLogIn)->trigger();
    EXPECT_EQ(SecurityPane(), QStringLiteral("Security: Low"));

    m_ui.ExpectPassword("");
    m_frame.Action(cmd::kLogIn)->trigger();
    EXPECT_EQ(SecurityPane(), QStringLiteral("Security: High"));
    ASSERT_TRUE(Enabled(cmd::kPrivileges));
    EXPECT_EQ(CaptionOpenedBy([&] { m_frame.Action(cmd::kPrivileges)->trigger(); }),
              QStringLiteral("Passwords"));
}

}  // namespace
