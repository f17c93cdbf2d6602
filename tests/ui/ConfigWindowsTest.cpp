// The configuration windows over their forms, offscreen, with the scripted
// user-interface double answering every message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/CommandTable.h"
#include "app/ui/CDocumentAdapter.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "config/CDeviceInfoForm.h"
#include "config/CUnitsForm.h"
#include "dialogs/CFormDialog.h"
#include "dialogs/FormWindows.h"
#include "dialogs/config/CDampingDlg.h"
#include "dialogs/config/CDeviceInfoDlg.h"
#include "dialogs/config/CUnitsDlg.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "tests/config/CHalfSecondDampingForm.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/ModalHelper.h"
#include "tests/ui/QStringPrinter.h"
#include "tests/ui/WorkflowDialogBench.h"
#include "transmitter/CTransmitter.h"

namespace {

const std::string kSafety = LoadString(390);
const std::string kNotice = LoadString(392);

class ConfigWindowsTest : public testing::Test {
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

    CScriptedUi m_ui;
    CWorkflowDialogBench m_bench;
};

TEST_F(ConfigWindowsTest, TheSetupMenuOpensEachWindowInSetupMode) {
    CDocumentAdapter document(m_bench.settings);
    CMainFrame frame(document, m_bench.settings);
    const std::vector<std::pair<int, QString>> windows = {
        {cmd::kSetupUnits, QStringLiteral("Setup Units")},
        {cmd::kSetupDamping, QStringLiteral("Setup Damping")},
        {cmd::kSetupDeviceInfo, QStringLiteral("Setup Device Information")},
    };
    for (const auto& [command, caption] : windows) {
        QString shown;
        OnNextModal([&shown](QWidget* modal) {
            shown = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        frame.View().OnCommand(command);
        EXPECT_EQ(shown, caption) << command;
    }
    EXPECT_TRUE(m_ui.Messages().empty()) << "no command answers that it cannot be completed";
}

TEST_F(ConfigWindowsTest, TheTransmitterMenuOpensEachWindowOnTheTransmitter) {
    Connect();
    const std::vector<std::pair<int, QString>> windows = {
        {cmd::kXmtrUnits, QStringLiteral("Transmitter Units")},
        {cmd::kXmtrDamping, QStringLiteral("Transmitter Damping")},
        {cmd::kXmtrDeviceInfo, QStringLiteral("Transmitter Device Information")},
    };
    for (const auto& [command, caption] : windows) {
        QString shown;
        OnNextModal([&shown](QWidget* modal) {
            shown = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        EXPECT_EQ(dialogs::RunFormWindow(nullptr, m_bench.context, command), QDialog::Rejected);
        EXPECT_EQ(shown, caption) << command;
    }
}

TEST_F(ConfigWindowsTest, DampingWindowSendsTheTypedValueBetweenTheSafetyBoxes) {
    Connect();
    CDampingForm form(m_bench.doc, config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    CDampingDlg window(form, nullptr);
    window.show();
    EXPECT_EQ(FindChild<QLineEdit>(window, "field_DP")->text(), QStringLiteral("0.896"));
    EXPECT_FALSE(FindChild<QPushButton>(window, "closeButton")->isEnabled());
    Type(window, "field_SP", QStringLiteral("4.5"));
    EXPECT_EQ(FindChild<QLabel>(window, "noteText")->text().toStdString(), LoadString(777));
    m_ui.Expect(kSafety, MsgAnswer::Ok).Expect(kNotice);
    Click(window, "okButton");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_FALSE(window.isVisible());
    EXPECT_DOUBLE_EQ(m_bench.line.TransmitterAt(1)->Damping(SimVariable::kSp), 4.5);
}

TEST_F(ConfigWindowsTest, AButtonPressedWhileTheLinkWaitsIsRefusedWithABeep) {
    Connect();
    m_bench.line.SetWireTiming(9600);  // every reply takes a while on the wire
    CDampingForm form(m_bench.doc, config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    CDampingDlg window(form, nullptr);
    window.show();
    Type(window, "field_SP", QStringLiteral("4.5"));
    CSimTransmitter* sim = m_bench.line.TransmitterAt(1);
    sim->ClearRequests();

    // While the write waits for its reply, OK and Cancel are pressed again.
    bool pressed = false;
    m_ui.SetPumpHook([&] {
        if (pressed) return;
        pressed = true;
        QTest::mouseClick(FindChild<QPushButton>(window, "okButton"), Qt::LeftButton);
        QTest::mouseClick(FindChild<QPushButton>(window, "cancelButton"), Qt::LeftButton);
    });
    m_ui.Expect(kSafety, MsgAnswer::Ok).Expect(kNotice);
    Click(window, "okButton");
    m_ui.SetPumpHook(nullptr);

    ASSERT_TRUE(pressed) << "the link never waited";
    EXPECT_EQ(m_ui.Beeps(), 2);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    size_t writes = 0;
    for (const auto& request : sim->Requests())
        if (request.function == 16) ++writes;
    EXPECT_EQ(writes, 1u) << "one damping write, not one per press";
    EXPECT_DOUBLE_EQ(sim->Damping(SimVariable::kSp), 4.5);
}

TEST_F(ConfigWindowsTest, ARefusedValueIsShownAndTheFocusReturnsToItsFieldSelected) {
    CDampingForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CDampingDlg window(form, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(FindChild<QPushButton>(window, "okButton")->text(), QStringLiteral("Set &Values"));
    Type(window, "field_PT", QStringLiteral("31"));
    m_ui.ExpectWithIcon("Please enter a number between 0 and 30.", MsgIcon::None);
    Click(window, "okButton");
    EXPECT_TRUE(window.isVisible());
    auto* pt = FindChild<QLineEdit>(window, "field_PT");
    EXPECT_TRUE(pt->hasFocus());
    EXPECT_EQ(pt->selectedText(), QStringLiteral("31"));
    EXPECT_FALSE(m_bench.doc.IsModified());
}

TEST_F(ConfigWindowsTest, TheApproximationStateOffersCloseAndKeepsTheRoundedValues) {
    Connect();
    CHalfSecondDampingForm form(m_bench.doc, config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    CDampingDlg window(form, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    Type(window, "field_DP", QStringLiteral("1.9"));
    m_ui.Expect(kSafety, MsgAnswer::Ok);
    m_ui.Expect(LoadString(CommErrorMessageId(commerr::kDampingNearest)));
    Click(window, "okButton");
    ASSERT_TRUE(window.isVisible());
    auto* dp = FindChild<QLineEdit>(window, "field_DP");
    EXPECT_EQ(dp->text(), QStringLiteral("2"));
    EXPECT_TRUE(dp->hasFocus());
    EXPECT_FALSE(FindChild<QPushButton>(window, "okButton")->isEnabled());
    EXPECT_EQ(FindChild<QLabel>(window, "noteText")->text().toStdString(), LoadString(776));
    Click(window, "closeButton");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(m_bench.line.TransmitterAt(1)->Damping(SimVariable::kDp), 2.0);
}

TEST_F(ConfigWindowsTest, UnitsWindowWritesTheChosenUnitToTheDocument) {
    CUnitsForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CUnitsDlg window(form, nullptr);
    window.show();
    auto* sp = FindChild<QComboBox>(window, "field_SP");
    ASSERT_EQ(sp->count(), 3);
    EXPECT_EQ(sp->currentText(), QStringLiteral("psi"));
    sp->setCurrentIndex(1);
    emit sp->activated(1);
    Click(window, "okButton");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(QString::fromStdString(m_bench.doc.Transmitter().Sp().Units().Name()),
              sp->itemText(1));
    EXPECT_TRUE(m_bench.doc.IsModified());
}

TEST_F(ConfigWindowsTest, DeviceInfoWindowNamesTheIllegalCharacterAndKeepsTheTagField) {
    CDeviceInfoForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CDeviceInfoDlg window(form, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    auto* tag = FindChild<QLineEdit>(window, "field_tag");
    EXPECT_EQ(tag->maxLength(), 8);
    Type(window, "field_tag", QStringLiteral("ft-101"));
    m_ui.ExpectWithIcon(LoadString(716) + "f", MsgIcon::Exclamation);
    Click(window, "okButton");
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(tag->hasFocus());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(m_bench.doc.Transmitter().DeviceInfo().Tag(), "");
}

TEST_F(ConfigWindowsTest, AReadFailureAtOpeningNeverShowsTheWindow) {
    Connect();
    m_bench.line.SetExceptionRange(21, 28, 4);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    EXPECT_EQ(dialogs::RunFormWindow(nullptr, m_bench.context, cmd::kXmtrDeviceInfo),
              CFormDialog::kAbortResult);
}

}  // namespace
