#include <gtest/gtest.h>

#include "tests/ui/QStringPrinter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include <QAction>
#include <cerrno>

#include <filesystem>
#include <fstream>
#include "app/CommandTable.h"
#include "app/ui/CMVApp.h"
#include "app/ui/CMainFrame.h"
#include "dialogs/CHostCommDlg.h"
#include "link/CCommLink.h"
#include "link/CProtocol.h"
#include "link/LinkSettings.h"
#include "platform/CMemorySettingsStore.h"
#include "platform/SystemError.h"
#include "resources/Strings.h"
#include "sim/CSimLine.h"
#include "sim/SimTransmitterOptions.h"
#include "tests/support/CFakeSerialPort.h"
#include "tests/support/CScratchFolder.h"
#include "tests/support/CScriptedUi.h"

namespace {

// Records every write in order on top of an in-memory store.
class CRecordingStore : public CMemorySettingsStore {
  public:
    void WriteInt(const std::string& section, const std::string& key, int value) override {
        m_writes.push_back(section + "/" + key + "=" + std::to_string(value));
        CMemorySettingsStore::WriteInt(section, key, value);
    }
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override {
        m_writes.push_back(section + "/" + key + "=" + value);
        CMemorySettingsStore::WriteString(section, key, value);
    }
    std::vector<std::string> TakeWrites() { return std::exchange(m_writes, {}); }

  private:
    std::vector<std::string> m_writes;
};

class HostCommDlgTest : public testing::Test {
  protected:
    std::unique_ptr<CHostCommDlg> Open() {
        return std::make_unique<CHostCommDlg>(
            settings, [this] { ++reloads; }, nullptr, deviceRoot);
    }
    template <typename T>
    static T* Find(CHostCommDlg& dlg, const char* name) {
        T* widget = dlg.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void Confirm(CHostCommDlg& dlg) { Find<QPushButton>(dlg, "okButton")->click(); }

    CScriptedUi ui;
    CRecordingStore settings;
    int reloads = 0;
    // No serial devices unless a test makes some.
    CScratchFolder devices;
    std::string deviceRoot = devices.Path().string();
};

TEST_F(HostCommDlgTest, EmptyStoreShowsTheDefaults) {
    auto dlg = Open();
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("Modbus\u00AE Communication Parameters"));
    auto* port = Find<QComboBox>(*dlg, "portCombo");
    ASSERT_EQ(port->count(), 4);
    EXPECT_EQ(port->itemText(0), QStringLiteral("COM1"));
    EXPECT_EQ(port->itemText(3), QStringLiteral("COM4"));
    EXPECT_EQ(port->currentText(), QStringLiteral("COM1"));
    auto* rate = Find<QComboBox>(*dlg, "bitRateCombo");
    ASSERT_EQ(rate->count(), 4);
    EXPECT_EQ(rate->itemText(0), QStringLiteral("1200"));
    EXPECT_EQ(rate->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(Find<QLineEdit>(*dlg, "ctsDelayEdit")->text(), QStringLiteral("25"));
    EXPECT_TRUE(Find<QCheckBox>(*dlg, "ctsEnabledCheck")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(*dlg, "retriesEdit")->text(), QStringLiteral("3"));
    EXPECT_EQ(Find<QLineEdit>(*dlg, "replyTimeoutEdit")->text(), QStringLiteral("0"));
    EXPECT_EQ(Find<QLineEdit>(*dlg, "interpollDelayEdit")->text(), QStringLiteral("0"));
    EXPECT_EQ(Find<QLineEdit>(*dlg, "pollIntervalEdit")->text(), QStringLiteral("2000"));
    EXPECT_EQ(Find<QLineEdit>(*dlg, "extraCmdTimeEdit")->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}

TEST_F(HostCommDlgTest, StoredValuesOutsideTheListsAndLowerCaseTrue) {
    settings.WriteInt("Comm Port", "PortNumber", 7);
    settings.WriteString("Comm Port", "CtsEnabled", "true");
    settings.WriteString("Comm Port", "CtsDelay", "40ms");
    settings.WriteString("Link Scheduling", "PollInterval", "abc");
    auto dlg = Open();
    EXPECT_EQ(Find<QComboBox>(*dlg, "portCombo")->currentText(), QStringLiteral("COM4"));
    EXPECT_FALSE(Find<QCheckBox>(*dlg, "ctsEnabledCheck")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(*dlg, "ctsDelayEdit")->text(), QStringLiteral("40"));
    EXPECT_EQ(Find<QLineEdit>(*dlg, "pollIntervalEdit")->text(), QStringLiteral("0"));
}

TEST_F(HostCommDlgTest, BitRate19200ShowsAndStores9600) {
    settings.WriteString("Comm Port", "BitRate", "19200");
    auto dlg = Open();
    EXPECT_EQ(Find<QComboBox>(*dlg, "bitRateCombo")->currentText(), QStringLiteral("9600"));
    Confirm(*dlg);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(settings.GetString("Comm Port", "BitRate", ""), "9600");
}

TEST_F(HostCommDlgTest, WritesEveryKeyInOrderThenReloadsTheLink) {
    auto dlg = Open();
    settings.TakeWrites();
    Find<QComboBox>(*dlg, "portCombo")->setCurrentIndex(1);
    Find<QComboBox>(*dlg, "bitRateCombo")->setCurrentIndex(0);
    Find<QCheckBox>(*dlg, "ctsEnabledCheck")->setChecked(false);
    Find<QLineEdit>(*dlg, "pollIntervalEdit")->setText(QStringLiteral(" 999999 "));
    Confirm(*dlg);
    const std::vector<std::string> expected = {
        "General/TransmitterType=CorvelFX",
        "General/ProtocolRev=5",
        "Comm Port/PortNumber=2",
        "Comm Port/DevicePath=",
        "Comm Port/BitRate=1200",
        "Comm Port/CtsDelay=25",
        "Comm Port/CtsEnabled=FALSE",
        "Link Scheduling/Retries=3",
        "Link Scheduling/ReplyTimeout=0",
        "Link Scheduling/InterpollDelay=0",
        "Link Scheduling/PollInterval=999999",
        "Link Scheduling/BusyDelay=0",
    };
    EXPECT_EQ(settings.TakeWrites(), expected);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
}

TEST_F(HostCommDlgTest, ConfirmingUnchangedRewritesTheSameValuesWithoutReopening) {
    auto first = Open();
    Confirm(*first);
    const std::vector<std::string> written = settings.TakeWrites();
    ASSERT_EQ(written.size(), 12u);

    // Opened again and confirmed without a change: the same keys and values.
    auto second = Open();
    Confirm(*second);
    EXPECT_EQ(settings.TakeWrites(), written);
    EXPECT_EQ(reloads, 2);
}

TEST_F(HostCommDlgTest, AnOpenLinkTakesTheValuesAtOnceAndReopensOnlyOnAPortChange) {
    auto record = std::make_shared<CFakeSerialPort::Record>();
    CProtocol protocol(CFakeSerialPort::Factory(record, {}));
    settings.WriteString("Comm Port", "DevicePath", "/dev/fake");
    ASSERT_EQ(LoadPortSettings(settings, protocol), 0);
    ASSERT_EQ(record->opens, 1);
    auto apply = [&] { CMVApp::ApplyLinkSettings(settings, &protocol); };

    CHostCommDlg unchanged(settings, apply, nullptr);
    Confirm(unchanged);
    EXPECT_EQ(record->opens, 1);
    EXPECT_EQ(record->closes, 0);

    CHostCommDlg retries(settings, apply, nullptr);
    Find<QLineEdit>(retries, "retriesEdit")->setText(QStringLiteral("7"));
    Confirm(retries);
    EXPECT_EQ(protocol.Scheduling().retries, 7u);
    EXPECT_EQ(record->opens, 1);

    CHostCommDlg delay(settings, apply, nullptr);
    Find<QLineEdit>(delay, "ctsDelayEdit")->setText(QStringLiteral("40"));
    Confirm(delay);
    EXPECT_EQ(record->opens, 2);
    EXPECT_EQ(protocol.Link()->CtsDelay(), 40);
}

TEST_F(HostCommDlgTest, AGoodPortReopensTheLinkAfterAFailedReopen) {
    auto record = std::make_shared<CFakeSerialPort::Record>();
    bool portMissing = false;
    CProtocol protocol(CFakeSerialPort::Factory(record, {}, [&](CFakeSerialPort& port) {
        if (portMissing) port.SetOpenError(ENOENT);
    }));
    settings.WriteString("Comm Port", "DevicePath", "/dev/fake");
    ASSERT_EQ(LoadPortSettings(settings, protocol), 0);
    auto apply = [&] { CMVApp::ApplyLinkSettings(settings, &protocol); };

    // The adapter is away while a changed setting reopens the port.
    portMissing = true;
    ui.ExpectWithIcon("Failed to open port /dev/fake:\n\n" + SystemErrorText(ENOENT) + "\n",
                      MsgIcon::Stop);
    CHostCommDlg failed(settings, apply, nullptr);
    Find<QLineEdit>(failed, "ctsDelayEdit")->setText(QStringLiteral("40"));
    Confirm(failed);
    ui.Verify();
    ASSERT_FALSE(protocol.Link()->IsOpen());

    // Back again: the next confirmation opens it, with nothing changed.
    portMissing = false;
    CHostCommDlg again(settings, apply, nullptr);
    Confirm(again);
    EXPECT_TRUE(protocol.Link()->IsOpen());
    EXPECT_EQ(protocol.Link()->CtsDelay(), 40);
    EXPECT_EQ(record->opens, 2);
}

TEST_F(HostCommDlgTest, AfterAStartUpWithoutThePortTheDialogOpensItAndOffersConnect) {
    CSimLine line;
    SimTransmitterOptions options;
    options.turnaroundDelayMs = 0;
    line.AddTransmitter(1, options);
    std::string error;
    ASSERT_TRUE(line.Start(&error)) << error;
    auto store = std::make_unique<CMemorySettingsStore>();
    store->WriteString("Comm Port", "DevicePath", "/nonexistent/ttyUSB0");
    store->WriteInt("Link Scheduling", "Retries", 0);
    CMVApp app(std::move(store));
    StartupOptions startup;
    startup.installUiServices = false;
    ui.ExpectWithIcon(
        "Failed to open port /nonexistent/ttyUSB0:\n\n" + SystemErrorText(ENOENT) + "\n",
        MsgIcon::Stop);
    ui.ExpectWithIcon(LoadString(907), MsgIcon::Stop);
    app.InitInstance(startup);
    ui.Verify();
    app.Frame()->UpdateCommandUi();
    ASSERT_FALSE(app.Frame()->Action(cmd::kConnect)->isEnabled());

    // The user names the right port in Host Communication.
    app.Settings().WriteString("Comm Port", "DevicePath", line.SlavePath());
    app.ReloadLinkSettings();
    EXPECT_TRUE(app.Document().LinkAvailable());
    app.Frame()->UpdateCommandUi();
    EXPECT_TRUE(app.Frame()->Action(cmd::kConnect)->isEnabled());
}

TEST_F(HostCommDlgTest, WithoutALinkTheValuesWaitInTheStore) {
    CProtocol unopened(CFakeSerialPort::Factory(std::make_shared<CFakeSerialPort::Record>(), {}));
    CHostCommDlg dlg(
        settings, [&] { CMVApp::ApplyLinkSettings(settings, &unopened); }, nullptr);
    Find<QLineEdit>(dlg, "retriesEdit")->setText(QStringLiteral("9"));
    Confirm(dlg);
    EXPECT_FALSE(unopened.HasLink() && unopened.Link()->IsOpen());
    EXPECT_EQ(settings.GetInt("Link Scheduling", "Retries", 0), 9);
    EXPECT_EQ(ReadLinkScheduling(settings).retries, 9u);
    CMVApp::ApplyLinkSettings(settings, nullptr);  // no protocol at all: nothing to do
}

TEST_F(HostCommDlgTest, CancelWritesNothing) {
    auto dlg = Open();
    Find<QLineEdit>(*dlg, "retriesEdit")->setText(QStringLiteral("7"));
    Find<QPushButton>(*dlg, "cancelButton")->click();
    EXPECT_TRUE(settings.TakeWrites().empty());
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

struct RangeCase {
    const char* field;
    long maximum;
};

TEST_F(HostCommDlgTest, EveryNumberIsCheckedAgainstItsRange) {
    const RangeCase cases[] = {{"ctsDelayEdit", 999},        {"retriesEdit", 99},
                               {"replyTimeoutEdit", 9999},   {"interpollDelayEdit", 99},
                               {"pollIntervalEdit", 999999}, {"extraCmdTimeEdit", 9999}};
    for (const RangeCase& c : cases) {
        for (const QString& bad : {QString::number(c.maximum + 1), QStringLiteral("-1"),
                                   QStringLiteral("12a"), QString()}) {
            auto dlg = Open();
            settings.TakeWrites();
            QLineEdit* edit = Find<QLineEdit>(*dlg, c.field);
            edit->setText(bad);
            ui.ExpectWithIcon(
                "Please enter an integer between 0 and " + std::to_string(c.maximum) + ".",
                MsgIcon::None);
            Confirm(*dlg);
            ui.Verify();
            EXPECT_EQ(dlg->focusWidget(), edit) << c.field;
            EXPECT_EQ(edit->selectedText(), bad) << c.field;
            EXPECT_TRUE(settings.TakeWrites().empty()) << c.field;
            EXPECT_NE(dlg->result(), QDialog::Accepted) << c.field;
        }
        // The bounds themselves are accepted.
        auto dlg = Open();
        Find<QLineEdit>(*dlg, c.field)->setText(QString::number(c.maximum));
        Confirm(*dlg);
        EXPECT_EQ(dlg->result(), QDialog::Accepted) << c.field;
        dlg = Open();
        Find<QLineEdit>(*dlg, c.field)->setText(QStringLiteral("0"));
        Confirm(*dlg);
        EXPECT_EQ(dlg->result(), QDialog::Accepted) << c.field;
    }
    EXPECT_EQ(reloads, 12);
}

TEST_F(HostCommDlgTest, TheFirstBadFieldFromTheTopIsReported) {
    auto dlg = Open();
    Find<QLineEdit>(*dlg, "extraCmdTimeEdit")->setText(QStringLiteral("10000"));
    Find<QLineEdit>(*dlg, "retriesEdit")->setText(QStringLiteral("100"));
    ui.Expect("Please enter an integer between 0 and 99.");
    Confirm(*dlg);
    EXPECT_EQ(dlg->focusWidget(), Find<QLineEdit>(*dlg, "retriesEdit"));
}

}  // namespace

TEST_F(HostCommDlgTest, TheListOffersTheDevicesPresentAndChoosingOneStoresItsPath) {
    const std::filesystem::path dev = devices.Path() / "dev";
    std::filesystem::create_directories(dev / "serial" / "by-id");
    std::ofstream(dev / "ttyUSB0").put('\0');
    std::ofstream(dev / "ttyACM3").put('\0');
    const std::filesystem::path byId = dev / "serial" / "by-id" / "usb-FTDI_RS485_X9-if00";
    std::filesystem::create_symlink("../../ttyUSB0", byId);

    auto dlg = Open();
    auto* port = Find<QComboBox>(*dlg, "portCombo");
    ASSERT_EQ(port->count(), 6);
    EXPECT_EQ(port->itemText(3), QStringLiteral("COM4"));
    EXPECT_EQ(port->itemText(4), QStringLiteral("usb-FTDI_RS485_X9-if00"));
    EXPECT_EQ(port->itemText(5), QStringLiteral("ttyACM3"));
    port->setCurrentIndex(4);
    Confirm(*dlg);
    EXPECT_EQ(settings.GetString("Comm Port", "DevicePath", ""), byId.string());
    EXPECT_EQ(settings.GetInt("Comm Port", "PortNumber", 1), 1);
    EXPECT_EQ(ReadPortSettings(settings).devicePath, byId.string());

    // Opened again, the list shows the device the link will open.
    auto again = Open();
    EXPECT_EQ(Find<QComboBox>(*again, "portCombo")->currentText(),
              QStringLiteral("usb-FTDI_RS485_X9-if00"));

    // COM2 clears the device, so COM2 is what the link opens.
    Find<QComboBox>(*again, "portCombo")->setCurrentIndex(1);
    Confirm(*again);
    EXPECT_EQ(settings.GetString("Comm Port", "DevicePath", "unset"), "");
    EXPECT_EQ(settings.GetInt("Comm Port", "PortNumber", 0), 2);
    const PortSettings chosen = ReadPortSettings(settings);
    EXPECT_TRUE(chosen.devicePath.empty());
    EXPECT_EQ(chosen.port, 2);
}

TEST_F(HostCommDlgTest, AStoredDeviceThatIsAbsentIsShownAndKept) {
    settings.WriteInt("Comm Port", "PortNumber", 3);
    settings.WriteString("Comm Port", "DevicePath", "/dev/serial/by-id/usb-unplugged");
    auto dlg = Open();
    auto* port = Find<QComboBox>(*dlg, "portCombo");
    ASSERT_EQ(port->count(), 5);
    EXPECT_EQ(port->currentText(), QStringLiteral("/dev/serial/by-id/usb-unplugged"));
    Confirm(*dlg);
    EXPECT_EQ(settings.GetString("Comm Port", "DevicePath", ""), "/dev/serial/by-id/usb-unplugged");
    EXPECT_EQ(settings.GetInt("Comm Port", "PortNumber", 0), 3);
}
