// The maintenance windows over their forms, offscreen, on the simulated
// transmitter, with the scripted user-interface double answering every box.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/CommandTable.h"
#include "dialogs/FormWindows.h"
#include "dialogs/maintenance/CFixedPtDlg.h"
#include "dialogs/maintenance/COutputTrend.h"
#include "dialogs/maintenance/CReadOutputsDlg.h"
#include "dialogs/maintenance/CSensorTrimDlg.h"
#include "maintenance/CFixedPtForm.h"
#include "maintenance/CReadOutputsForm.h"
#include "maintenance/CSensorTrimForm.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/ModalHelper.h"
#include "tests/ui/QStringPrinter.h"
#include "tests/ui/WorkflowDialogBench.h"

namespace {

const std::string kSafety = LoadString(390);
const std::string kNotice = LoadString(392);
constexpr uint16_t kDpOffsetTrim = 436;
constexpr uint8_t kWriteCoil = 5;

// A click on a radio button's indicator (its middle may lie beyond its text).
void Click(QRadioButton* radio) {
    QTest::mouseClick(radio, Qt::LeftButton, Qt::KeyboardModifiers(),
                      QPoint(8, radio->height() / 2));
}

class MaintenanceWindowsTest : public testing::Test {
  protected:
    void Connect(bool rtdMode = true) {
        SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
        options.presentValueNoise = 0.0;
        options.rtdMode = rtdMode;
        m_sim = &m_bench.Add(1, options);
        m_bench.Start();
        m_bench.ConnectTo(1);
        ASSERT_TRUE(m_bench.context.Connected());
        m_sim->ClearRequests();
    }

    int Writes(uint8_t function, uint16_t address) const {
        int count = 0;
        for (const auto& request : m_sim->Requests())
            count += request.function == function && request.address == address ? 1 : 0;
        return count;
    }

    CScriptedUi m_ui;
    CWorkflowDialogBench m_bench;
    CSimTransmitter* m_sim = nullptr;
};

TEST_F(MaintenanceWindowsTest, TheMenuCommandsOpenTheirWindowsOnTheTransmitter) {
    Connect();
    const std::vector<std::pair<int, QString>> windows = {
        {cmd::kSensorTrim, QStringLiteral("Sensor Trim")},
        {cmd::kFixedProcessTemp, QStringLiteral("Fixed Process Temp.")},
        {cmd::kReadOutputs, QStringLiteral("Read Outputs")},
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
    EXPECT_EQ(Writes(kWriteCoil, 2), 0);
}

TEST_F(MaintenanceWindowsTest, SensorTrimShowsFixedPtRecallAndDisabledUnitsLists) {
    Connect(false);
    CSensorTrimForm form(m_bench.doc);
    ASSERT_TRUE(form.Open());
    CSensorTrimDlg window(form, nullptr);
    window.show();
    auto* pt = FindChild<QRadioButton>(window, "sensor_PT");
    EXPECT_EQ(pt->text(), QStringLiteral("PT (fixed)"));
    EXPECT_FALSE(pt->isEnabled());
    EXPECT_TRUE(FindChild<QRadioButton>(window, "sensor_DP")->isChecked());
    auto* recall = FindChild<QRadioButton>(window, "recallButton");
    EXPECT_FALSE(recall->isEnabled());
    EXPECT_TRUE(recall->text().endsWith(QStringLiteral(" (not yet implemented)")));
    EXPECT_TRUE(FindChild<QRadioButton>(window, "offsetTrimButton")->isChecked());
    EXPECT_FALSE(FindChild<QComboBox>(window, "field_offset-units")->isEnabled());
    EXPECT_TRUE(FindChild<QLineEdit>(window, "field_offset")->isEnabled());
    EXPECT_FALSE(FindChild<QLineEdit>(window, "field_slope")->isEnabled());

    Click(FindChild<QRadioButton>(window, "offsetSlopeTrimButton"));
    EXPECT_FALSE(FindChild<QLineEdit>(window, "field_offset")->isEnabled());
    EXPECT_TRUE(FindChild<QLineEdit>(window, "field_slope")->isEnabled());
    Click(FindChild<QRadioButton>(window, "sensor_SP"));
    EXPECT_EQ(FindChild<QLabel>(window, "field_upper-limit")->text(), QStringLiteral("800 psi"));
}

TEST_F(MaintenanceWindowsTest, ASpanTooSmallPutsTheFocusOnTheOffsetField) {
    Connect();
    CSensorTrimForm form(m_bench.doc);
    ASSERT_TRUE(form.Open());
    m_sim->ClearRequests();
    CSensorTrimDlg window(form, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    auto* offset = FindChild<QLineEdit>(window, "field_offset");
    offset->setText(QStringLiteral("249"));
    emit offset->textEdited(offset->text());
    m_ui.ExpectWithIcon("Trim span from offset to slope values too small", MsgIcon::None);
    QTest::mouseClick(FindChild<QPushButton>(window, "trimButton"), Qt::LeftButton);
    EXPECT_TRUE(offset->hasFocus());
    EXPECT_EQ(offset->selectedText(), QStringLiteral("249"));
    EXPECT_TRUE(m_sim->Requests().empty());
}

TEST_F(MaintenanceWindowsTest, TheTrimStepWindowUpdatesTheMeasuredValueAndOkSendsTheTrim) {
    Connect();
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, 5.0);
    CSensorTrimForm form(m_bench.doc);
    ASSERT_TRUE(form.Open());
    CSensorTrimDlg window(form, nullptr);
    window.show();
    auto* offset = FindChild<QLineEdit>(window, "field_offset");
    offset->setText(QStringLiteral("4"));
    emit offset->textEdited(offset->text());
    QString caption;
    QString firstMeasured;
    QString laterMeasured;
    m_ui.Expect(kSafety, MsgAnswer::Ok);
    m_ui.Expect(kNotice);
    OnModalNamed("trimStepDlg", [&](QWidget* step) {
        caption = step->windowTitle();
        auto* measured = step->findChild<QLabel*>(QStringLiteral("field_measured"));
        firstMeasured = measured->text();
        m_sim->SetPresentValueSetPoint(SimVariable::kDp, 5.5);
        // The value follows within a few ticks of 250 ms.
        EXPECT_TRUE(QTest::qWaitFor([&] { return measured->text() != firstMeasured; }, 3000));
        laterMeasured = measured->text();
        QTest::mouseClick(step->findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
    });
    QTest::mouseClick(FindChild<QPushButton>(window, "trimButton"), Qt::LeftButton);
    EXPECT_EQ(caption, QStringLiteral("Sensor Offset Trim"));
    EXPECT_EQ(firstMeasured, QStringLiteral("5 InH2O-60°F"));
    EXPECT_EQ(laterMeasured, QStringLiteral("5.5 InH2O-60°F"));
    EXPECT_EQ(Writes(16, kDpOffsetTrim), 1);
    EXPECT_EQ(Writes(kWriteCoil, 2), 2);
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilTrimMode));
    EXPECT_EQ(FindChild<QLabel>(window, "field_offset-point")->text(),
              QStringLiteral("4 InH2O-60°F"));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MaintenanceWindowsTest, CancelInTheTrimStepWindowShows380AndSendsNoTrim) {
    Connect();
    CSensorTrimForm form(m_bench.doc);
    ASSERT_TRUE(form.Open());
    CSensorTrimDlg window(form, nullptr);
    window.show();
    m_ui.Expect(kSafety, MsgAnswer::Ok);
    m_ui.ExpectWithIcon(LoadString(380), MsgIcon::Stop);
    m_ui.Expect(kNotice);
    OnModalNamed("trimStepDlg", [](QWidget* step) { QTest::keyClick(step, Qt::Key_Escape); });
    QTest::mouseClick(FindChild<QPushButton>(window, "trimButton"), Qt::LeftButton);
    EXPECT_EQ(Writes(16, kDpOffsetTrim), 0);
    EXPECT_EQ(Writes(kWriteCoil, 2), 2);
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilTrimMode));
}

TEST_F(MaintenanceWindowsTest, FixedPtTickingEnablesAndFocusesClearingEmpties) {
    Connect();
    CFixedPtForm form(m_bench.doc);
    ASSERT_TRUE(form.Open());
    m_sim->ClearRequests();
    CFixedPtDlg window(form, nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    auto* check = FindChild<QCheckBox>(window, "field_fixed");
    auto* temperature = FindChild<QLineEdit>(window, "field_temperature");
    EXPECT_FALSE(check->isChecked());
    EXPECT_FALSE(temperature->isEnabled());
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_TRUE(temperature->isEnabled());
    EXPECT_TRUE(temperature->hasFocus());
    QTest::keyClicks(temperature, QStringLiteral("75"));
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(temperature->isEnabled());
    EXPECT_TRUE(temperature->text().isEmpty());
    QTest::mouseClick(FindChild<QPushButton>(window, "okButton"), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted) << "nothing changed, nothing asked";
    EXPECT_TRUE(m_sim->Requests().empty());
}

TEST_F(MaintenanceWindowsTest, ReadOutputsWaitsForEachSlowReplyAndItsTrendAddsNoExchange) {
    Connect();
    const unsigned kSlowReplyMs = 400;
    m_bench.SetReplyTimeoutMs(2000);
    m_bench.ConnectTo(1);
    CReadOutputsForm form(m_bench.doc);
    ASSERT_TRUE(form.Open());
    m_bench.line.SetReplyDelayMs(kSlowReplyMs);
    m_sim->ClearRequests();
    CReadOutputsDlg window(form, nullptr);
    QElapsedTimer elapsed;
    elapsed.start();
    window.show();
    QTest::qWait(2000);
    const qint64 ms = elapsed.elapsed();
    window.done(QDialog::Accepted);
    const size_t exchanges = m_sim->Requests().size();
    // A values tick every second step; each waits 250 ms after the slow reply.
    const qint64 cycle = 250 + 250 + kSlowReplyMs;
    EXPECT_GE(exchanges, 1u);
    EXPECT_LE(static_cast<qint64>(exchanges), ms / cycle + 1) << ms << " ms";
    // Three samples from opening, then three per exchange: the trend draws
    // them and reads nothing itself.
    EXPECT_EQ(form.Samples().size(), 3 * (exchanges + 1));
    EXPECT_EQ(window.Trend().Points("Differential Pressure"), static_cast<int>(exchanges + 1));
}

TEST_F(MaintenanceWindowsTest, ReadOutputsTrendPausesAndExportsEverySample) {
    Connect();
    CReadOutputsForm form(m_bench.doc);
    ASSERT_TRUE(form.Open());
    CReadOutputsDlg window(form, nullptr);
    window.show();
    EXPECT_EQ(FindChild<QLabel>(window, "field_value-1")->text(), QStringLiteral("25.0000"));
    EXPECT_EQ(FindChild<QLabel>(window, "field_units-2")->text(), QStringLiteral("psia"));
    auto* pause = FindChild<QPushButton>(window, "pauseButton");
    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_EQ(pause->text(), QStringLiteral("&Resume"));
    const int drawn = window.Trend().Points("Static Pressure");
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.Samples().size() >= 9; }, 5000));
    EXPECT_EQ(window.Trend().Points("Static Pressure"), drawn) << "paused";
    QTest::mouseClick(pause, Qt::LeftButton);
    EXPECT_EQ(window.Trend().Points("Static Pressure"), static_cast<int>(form.Samples().size() / 3))
        << "resumed with every sample since";

    auto* span = FindChild<QComboBox>(window, "trendWindow");
    EXPECT_EQ(span->count(), 3);
    span->setCurrentIndex(2);
    emit span->activated(2);
    EXPECT_EQ(window.Trend().WindowMinutes(), 15);

    const QString path = QString::fromStdString(::testing::TempDir()) + "outputs.csv";
    ASSERT_TRUE(window.ExportCsv(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    EXPECT_EQ(lines.size(), static_cast<int>(form.Samples().size() + 1));
    m_ui.ExpectWithIcon("The samples could not be written to /nonexistent-dir/x.csv.",
                        MsgIcon::Stop);
    EXPECT_FALSE(window.ExportCsv(QStringLiteral("/nonexistent-dir/x.csv")));
    window.done(QDialog::Accepted);
}

}  // namespace
