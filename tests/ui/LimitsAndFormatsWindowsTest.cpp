// The operating-limits and data-formats windows and the integer-scaling
// parameter windows over their forms, offscreen, with the scripted
// user-interface double answering every message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/CommandTable.h"
#include "app/ui/CDocumentAdapter.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "config/CCalculatedFactorsForm.h"
#include "config/CDataFormatsForm.h"
#include "config/CSensorLimitsForm.h"
#include "config/CSetupLimitsForm.h"
#include "dialogs/CFormDialog.h"
#include "dialogs/FormWindows.h"
#include "dialogs/config/CCalculatedFactorsDlg.h"
#include "dialogs/config/CDataFormatsDlg.h"
#include "dialogs/config/CSensorLimitsDlg.h"
#include "dialogs/config/CSetupLimitsDlg.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/ModalHelper.h"
#include "tests/ui/QStringPrinter.h"
#include "tests/ui/WorkflowDialogBench.h"
#include "transmitter/CTransmitter.h"

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

class LimitsAndFormatsWindowsTest : public testing::Test {
  protected:
    void Connect(SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL")) {
        m_bench.Add(1, options);
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

    // Chooses a list entry as the user does: the list's selection, confirmed.
    static void Choose(QWidget& window, const char* list, int index) {
        auto* box = FindChild<QComboBox>(window, list);
        ASSERT_NE(box, nullptr);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    static QString SentBytes(QWidget& window) {
        QString bytes;
        for (int i = 0; i < 4; ++i)
            bytes +=
                FindChild<QLabel>(window, QStringLiteral("sentByte%1").arg(i).toLatin1())->text();
        return bytes;
    }

    CScriptedUi m_ui;
    CWorkflowDialogBench m_bench;
};

TEST_F(LimitsAndFormatsWindowsTest, TheMenusOpenTheLimitsAndDataFormatsWindows) {
    CDocumentAdapter document(m_bench.settings);
    CMainFrame frame(document, m_bench.settings);
    for (const auto& [command, caption] : std::vector<std::pair<int, QString>>{
             {cmd::kSetupSensorLimits, Q(texts::kSetupLimitsCaption)},
             {cmd::kSetupDataFormats, Q("Setup Data Formats")}}) {
        QString shown;
        OnNextModal([&shown](QWidget* modal) {
            shown = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        frame.View().OnCommand(command);
        EXPECT_EQ(shown, caption) << command;
    }
    EXPECT_TRUE(m_ui.Messages().empty());

    Connect();
    for (const auto& [command, caption] :
         std::vector<std::pair<int, QString>>{{cmd::kXmtrSensorLimits, Q("Sensor Limits")},
                                              {cmd::kXmtrDataFormats, Q("Data Formats")}}) {
        QString shown;
        OnNextModal([&shown](QWidget* modal) {
            shown = modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        EXPECT_EQ(dialogs::RunFormWindow(nullptr, m_bench.context, command), QDialog::Rejected);
        EXPECT_EQ(shown, caption) << command;
    }
    EXPECT_EQ(dialogs::FindFormWindow(dialogs::kOpenedByWindow), nullptr)
        << "no command opens a parameter window";
}

TEST_F(LimitsAndFormatsWindowsTest, SensorLimitsRefusesAnEmptySpanWithTheFocusOnTheUpperField) {
    Connect();
    CSensorLimitsForm form(m_bench.doc, config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    CSensorLimitsDlg window(form, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(FindChild<QLabel>(window, "field_write-protect")->text(), QStringLiteral("OFF"));
    EXPECT_EQ(FindChild<QLabel>(window, "field_PT-URL")->text(), QStringLiteral("1200"));
    EXPECT_EQ(FindChild<QPushButton>(window, "okButton")->text(), Q(texts::kSetLimitsButton));
    Type(window, "field_DP-lower", QStringLiteral("250"));
    m_ui.ExpectWithIcon(LoadString(2430), MsgIcon::None);
    Click(window, "okButton");
    EXPECT_TRUE(window.isVisible());
    auto* upper = FindChild<QLineEdit>(window, "field_DP-upper");
    EXPECT_TRUE(upper->hasFocus());
    EXPECT_EQ(upper->selectedText(), QStringLiteral("250"));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_F(LimitsAndFormatsWindowsTest, SetupLimitsWritesTheTypedLimitToTheDocument) {
    CSetupLimitsForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CSetupLimitsDlg window(form, nullptr);
    window.show();
    Type(window, "field_PT-upper", QStringLiteral("1200"));
    Click(window, "okButton");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_bench.doc.Transmitter().Pt().UpperOperatingLimit().Value(), 1200.0);
    EXPECT_TRUE(m_bench.doc.IsModified());
}

TEST_F(LimitsAndFormatsWindowsTest, TheBytePicturesFollowTheChosenFormat) {
    CDataFormatsForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CDataFormatsDlg window(form, nullptr);
    window.show();
    EXPECT_EQ(SentBytes(window), QStringLiteral("ABCD"));
    EXPECT_FALSE(FindChild<QPushButton>(window, "parametersButton")->isEnabled());
    Choose(window, "field_float-format", 2);
    EXPECT_EQ(SentBytes(window), QStringLiteral("DCBA"));
    Choose(window, "field_float-format", 1);
    EXPECT_EQ(SentBytes(window), QStringLiteral("CDAB"));
}

TEST_F(LimitsAndFormatsWindowsTest, ChoosingAMethodOpensItsParametersAtOnce) {
    CDataFormatsForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CDataFormatsDlg window(form, nullptr);
    window.show();
    QString title;
    OnNextModal([&title](QWidget* modal) {
        title = modal->windowTitle();
        Type(*modal, "field_SP-max-integer", QStringLiteral("30000"));
        Click(*modal, "okButton");
    });
    Choose(window, "field_scaling", 1);
    EXPECT_EQ(title, Q(texts::kEndpointsCaption));
    auto* scaling = FindChild<QComboBox>(window, "field_scaling");
    EXPECT_EQ(scaling->currentIndex(), 1);
    EXPECT_EQ(scaling->itemText(1), QStringLiteral("Entered Endpoints*"));
    EXPECT_TRUE(FindChild<QPushButton>(window, "parametersButton")->isEnabled());

    // Cancel in the next method's window goes back to the endpoints.
    OnNextModal([&title](QWidget* modal) {
        title = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    Choose(window, "field_scaling", 2);
    EXPECT_EQ(title, Q(texts::kEnteredFactorsCaption));
    EXPECT_EQ(scaling->currentIndex(), 1);

    Click(window, "okButton");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_bench.doc.Transmitter().IntegerScalingMethod(), transmitter::kScalingEndpoints);
    EXPECT_EQ(m_bench.doc.Transmitter().Sp().IntegerScaling().maxInteger, 30000);
}

TEST_F(LimitsAndFormatsWindowsTest, ParametersOpensTheWindowOfTheCurrentMethod) {
    m_bench.doc.Transmitter().SetIntegerScalingMethod(transmitter::kScalingCalculatedFactors);
    CDataFormatsForm form(m_bench.doc, config::kSetupMode);
    ASSERT_TRUE(form.Open());
    CDataFormatsDlg window(form, nullptr);
    window.show();
    bool roundingUp = false;
    OnNextModal([&roundingUp](QWidget* modal) {
        auto* up = FindChild<QRadioButton>(*modal, "roundUp");
        QTest::mouseClick(up, Qt::LeftButton);
        roundingUp = up->isChecked();
        Type(*modal, "field_DP-min-pv", QStringLiteral("-200"));
        Click(*modal, "okButton");
    });
    Click(window, "parametersButton");
    EXPECT_TRUE(roundingUp);
    Click(window, "okButton");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const IntegerScalingRecord& dp = m_bench.doc.Transmitter().Dp().IntegerScaling();
    EXPECT_EQ(dp.rounding, CCalculatedFactorsForm::kRoundUp);
    EXPECT_EQ(dp.minPv, -200.0f);
    EXPECT_EQ(dp.scaleFactor, 146);  // 65534 / 450 = 145.6, rounded up
}

TEST_F(LimitsAndFormatsWindowsTest, ViewFactorsWarnsThenShowsTheFactorsReadOnly) {
    ScalingRecords records;
    const float pvs[3][2] = {{-250.0f, 250.0f}, {0.0f, 800.0f}, {-40.0f, 400.0f}};
    for (size_t i = 0; i < records.size(); ++i) {
        records[i].minPv = pvs[i][0];
        records[i].maxPv = pvs[i][1];
    }
    CCalculatedFactorsForm form(m_bench.doc, config::kSetupMode, records, {"a", "b", "c"});
    ASSERT_TRUE(form.Open());
    CCalculatedFactorsDlg window(form, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    Type(window, "field_SP-min-pv", QStringLiteral("-1000"));
    m_ui.ExpectWithIcon(texts::kOffsetOutOfRange, MsgIcon::Exclamation);
    QString offset;
    bool disabled = false;
    bool hasButtons = true;
    OnNextModal([&](QWidget* modal) {
        auto* field = FindChild<QLineEdit>(*modal, "field_SP-offset");
        offset = field->text();
        disabled = !field->isEnabled();
        hasButtons = !modal->findChildren<QPushButton*>().isEmpty();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    Click(window, "viewFactorsButton");
    EXPECT_EQ(offset, Q(texts::kOutOfRangeField));
    EXPECT_TRUE(disabled);
    EXPECT_FALSE(hasButtons);
    EXPECT_TRUE(window.isVisible());
    // The focus stays where the warning put it while the view was open.
    EXPECT_EQ(window.focusWidget(), FindChild<QLineEdit>(window, "field_SP-min-pv"));
}

TEST_F(LimitsAndFormatsWindowsTest, ATransmitterWithoutIntegerScalingNeverShowsTheWindow) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.integerScalingSupported = false;
    Connect(options);
    m_ui.Expect(LoadString(972));
    EXPECT_EQ(dialogs::RunFormWindow(nullptr, m_bench.context, cmd::kXmtrDataFormats),
              CFormDialog::kAbortResult);
}

}  // namespace
