// The diagnostics windows over their forms, offscreen, with the scripted
// user-interface double answering every message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <memory>

#include "app/CommandTable.h"
#include "app/ui/CQtUserInterface.h"
#include "diagnostics/CErrorInfoForm.h"
#include "diagnostics/CIdentificationForm.h"
#include "diagnostics/CMasterResetForm.h"
#include "diagnostics/CModuleInfoForm.h"
#include "diagnostics/CSelfTestForm.h"
#include "dialogs/CFormDialog.h"
#include "dialogs/FormWindows.h"
#include "dialogs/maintenance/CErrorInfoDlg.h"
#include "dialogs/maintenance/CIdentificationDlg.h"
#include "dialogs/maintenance/CModuleInfoDlg.h"
#include "dialogs/maintenance/CSelfTestDlg.h"
#include "dialogs/maintenance/CTimedStepDlg.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/ModalHelper.h"
#include "tests/ui/QStringPrinter.h"
#include "tests/ui/WorkflowDialogBench.h"

namespace {

const std::string kSafety = LoadString(390);
const std::string kNotice = LoadString(392);

// Acts on the modal window of this name once it is the active one.
void WhenModal(const QString& name, std::function<void(QWidget*)> act, int attemptsLeft = 500) {
    QTimer::singleShot(10, [name, act = std::move(act), attemptsLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->objectName() == name) {
            act(modal);
        } else if (attemptsLeft > 0) {
            WhenModal(name, std::move(act), attemptsLeft - 1);
        }
    });
}

// Counts the paint events a widget receives.
class CPaintCounter : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

// Counts the windows shown while it watches the application.
class CShowCounter : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->isWidgetType() &&
            static_cast<QWidget*>(object)->isWindow())
            ++count;
        return false;
    }
};

class DiagnosticsWindowsTest : public testing::Test {
  protected:
    void Connect(const SimTransmitterOptions& options = CWorkflowTestBench::Options("CORVEL")) {
        m_sim = &m_bench.Add(1, options);
        m_bench.Start();
        m_bench.ConnectTo(1);
        ASSERT_TRUE(m_bench.context.Connected());
    }

    static QString Text(QWidget& window, const char* field) {
        auto* label = FindChild<QLabel>(window, field);
        return label != nullptr ? label->text() : QString();
    }

    static QStringList Lines(QWidget& window) {
        QStringList lines;
        auto* list = window.findChild<QListWidget*>(QStringLiteral("statusList"));
        EXPECT_NE(list, nullptr);
        for (int i = 0; list != nullptr && i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

    CScriptedUi m_ui;
    CWorkflowDialogBench m_bench;
    CSimTransmitter* m_sim = nullptr;
};

TEST_F(DiagnosticsWindowsTest, TheDiagnosticsMenuOpensEachViewOnTheTransmitter) {
    Connect();
    const std::vector<std::pair<int, QString>> windows = {
        {cmd::kModuleInfo, QStringLiteral("Module Information")},
        {cmd::kIdentificationInfo, QStringLiteral("Identification Information")},
        {cmd::kErrorInfo, QStringLiteral("Error Information")},
    };
    for (const auto& [command, caption] : windows) {
        QString shown;
        OnNextModal([&shown](QWidget* modal) {
            shown = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Return);
        });
        EXPECT_EQ(dialogs::RunFormWindow(nullptr, m_bench.context, command), QDialog::Accepted);
        EXPECT_EQ(shown, caption) << command;
    }
}

TEST_F(DiagnosticsWindowsTest, CancelAtTheSafetyPromptNeverShowsResetOrSelfTest) {
    Connect();
    CShowCounter shows;
    qApp->installEventFilter(&shows);
    for (int command : {cmd::kMasterReset, cmd::kSelfTest}) {
        m_ui.Expect(kSafety, MsgAnswer::Cancel);
        EXPECT_EQ(dialogs::RunFormWindow(nullptr, m_bench.context, command), QDialog::Rejected);
        m_ui.Verify();
    }
    qApp->removeEventFilter(&shows);
    EXPECT_EQ(shows.count, 0);
    EXPECT_FALSE(m_sim->IsSelfTestRunning());
    EXPECT_FALSE(m_sim->IsSilent());
}

TEST_F(DiagnosticsWindowsTest, ErrorInformationListsEverySetBit) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.statusBytes = {0x01, 0, 0, 0x04, 0, 0x02};
    Connect(options);
    CErrorInfoForm form(m_bench.doc);
    ASSERT_TRUE(form.Open());
    CErrorInfoDlg window(form, nullptr);
    window.show();
    EXPECT_EQ(Lines(window),
              (QStringList{QStringLiteral("DP signal below Lower Range Limit"),
                           QStringLiteral("Status Bit Not Labelled (byte 3, bit 2)")}));
    QTest::mouseClick(FindChild<QPushButton>(window, "okButton"), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(DiagnosticsWindowsTest, ModuleAndIdentificationInformationShowTheirValues) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.register10 = 1;  // gauge SP sensor
    Connect(options);
    CModuleInfoForm module(m_bench.doc);
    ASSERT_TRUE(module.Open());
    CModuleInfoDlg moduleWindow(module, nullptr);
    moduleWindow.show();
    EXPECT_EQ(Text(moduleWindow, "field_dp-lrl"), QStringLiteral("-250"));
    EXPECT_EQ(Text(moduleWindow, "field_sp-units"), QStringLiteral("psig"));
    EXPECT_EQ(Text(moduleWindow, "field_pt-min-span"), QStringLiteral("12"));
    EXPECT_EQ(Text(moduleWindow, "field_flange-type"), QStringLiteral("Coplanar"));
    EXPECT_EQ(Text(moduleWindow, "field_fixed-pt"), QStringLiteral("Disabled"));

    CIdentificationForm identification(m_bench.doc);
    ASSERT_TRUE(identification.Open());
    CIdentificationDlg identificationWindow(identification, nullptr);
    identificationWindow.show();
    EXPECT_EQ(Text(identificationWindow, "field_manufacturer"), QStringLiteral("Brackwell"));
    EXPECT_EQ(Text(identificationWindow, "field_output-board-revision"), QStringLiteral("1.2"));
    QTest::keyClick(&identificationWindow, Qt::Key_Escape);
    EXPECT_EQ(identificationWindow.result(), QDialog::Rejected);
}

TEST_F(DiagnosticsWindowsTest, TheMasterResetWaitRepaintsAndCannotBeCancelled) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    // Back between the polls at 4 and 8 seconds, whatever the timers' jitter.
    options.masterResetDurationMs = 6500;
    Connect(options);
    // Five seconds of the wait pass in every real second.
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    auto clock = [started] {
        return std::chrono::steady_clock::time_point(
            std::chrono::milliseconds(5 * started->elapsed()));
    };
    m_sim->SetTimeSource(clock);
    CMasterResetForm form(m_bench.context, clock);
    ASSERT_TRUE(form.Open());
    CTimedStepDlg window(form, nullptr);
    CPaintCounter paints;
    window.installEventFilter(&paints);
    bool escapeIgnored = false;
    int buttons = -1;
    OnNextModal([&](QWidget* modal) {
        buttons = static_cast<int>(modal->findChildren<QPushButton*>().size());
        QTest::keyClick(modal, Qt::Key_Escape);
        modal->close();
        escapeIgnored = modal->isVisible();
        modal->update();
    });
    m_ui.Expect(kSafety, MsgAnswer::Ok).Expect(kNotice);
    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_EQ(buttons, 0);
    EXPECT_TRUE(escapeIgnored);
    EXPECT_GT(paints.count, 0);
    EXPECT_EQ(form.Polls(), 2);
    EXPECT_EQ(Text(window, "field_status"), QStringLiteral("The transmitter is being reset..."));
    m_sim->SetTimeSource(nullptr);
}

TEST_F(DiagnosticsWindowsTest, AFinishedSelfTestOpensErrorInformationOverItsWindow) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.selfTestDurationMs = 0;
    Connect(options);
    m_sim->SetSelfTestResult({0, 0, 0x01, 0, 0, 0});
    CSelfTestForm form(m_bench.doc);
    ASSERT_TRUE(form.Open());
    CSelfTestDlg window(form, nullptr);
    // The two-second wait for the result is shortened: its length is the form's.
    QTimer shorten;
    QObject::connect(&shorten, &QTimer::timeout, [&window] {
        auto* step = window.findChild<QTimer*>(QStringLiteral("stepTimer"));
        if (step != nullptr && step->isActive() && step->interval() > 1) step->setInterval(1);
    });
    shorten.start(5);
    QStringList shown;
    QWidget* over = nullptr;
    WhenModal(QStringLiteral("errorInfoDlg"), [&](QWidget* modal) {
        shown = Lines(*modal);
        over = modal->parentWidget();
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
    });
    m_ui.Expect(kSafety, MsgAnswer::Ok).Expect(kNotice);
    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_EQ(shown, QStringList{QStringLiteral("RTD is disconnected")});
    EXPECT_EQ(over, &window);
}

TEST_F(DiagnosticsWindowsTest, TheStatusDialogsErrorInfoOpensErrorInformationAndStaysOpen) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.statusBytes = {0, 0, 0, 0, 0x80, 0};
    Connect(options);
    CQtUserInterface ui;
    ui.SetErrorInfoOpener([this](QWidget* parent) {
        dialogs::RunFormWindow(parent, m_bench.context, cmd::kErrorInfo);
    });
    TransmitterStatusRequest request;
    request.statusByte = 0x10;
    request.lines = {"More Info Available"};
    request.errorInfoEnabled = true;
    QStringList shown;
    bool statusStillOpen = false;
    OnNextModal([&](QWidget* status) {
        WhenModal(QStringLiteral("errorInfoDlg"), [&shown](QWidget* modal) {
            shown = Lines(*modal);
            QTest::keyClick(modal, Qt::Key_Return);
        });
        QTest::mouseClick(status->findChild<QPushButton*>(QStringLiteral("errorInfoButton")),
                          Qt::LeftButton);
        statusStillOpen = status->isVisible();
        QTest::mouseClick(status->findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
    });
    const TransmitterStatusAnswer answer = ui.ShowTransmitterStatus(request);
    EXPECT_TRUE(answer.errorInfoPressed);
    EXPECT_TRUE(statusStillOpen);
    EXPECT_EQ(shown, QStringList{QStringLiteral("Sensor Module is Not Updating")});
}

}  // namespace
