#include <gtest/gtest.h>

#include "tests/ui/QStringPrinter.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <fstream>

#include "app/CommandTable.h"
#include "app/ui/CMVApp.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "platform/CMemorySettingsStore.h"
#include "platform/COverlaySettingsStore.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/CPlaceholderDocument.h"

namespace {

TEST(Startup, TextWithNothingStoredNamesCom1At9600) {
    CMemorySettingsStore empty;
    EXPECT_EQ(CMVApp::StartupText(empty), "Initializing... Connecting on COM1 at 9600 bps");
}

TEST(Startup, TextShowsStoredPortAndBitRateOrTheDevicePath) {
    CMemorySettingsStore settings;
    settings.WriteInt("Comm Port", "PortNumber", 3);
    settings.WriteString("Comm Port", "BitRate", "19200");
    EXPECT_EQ(CMVApp::StartupText(settings), "Initializing... Connecting on COM3 at 19200 bps");
    settings.WriteString("Comm Port", "DevicePath", "/dev/pts/7");
    EXPECT_EQ(CMVApp::StartupText(settings),
              "Initializing... Connecting on /dev/pts/7 at 19200 bps");
}

TEST(Startup, CommandLineIsOnePathAndTheSimulateOption) {
    StartupOptions options = CMVApp::ParseCommandLine(
        {QStringLiteral("--simulate"), QStringLiteral("/tmp/my"), QStringLiteral("config.cmm")});
    EXPECT_TRUE(options.simulate);
    EXPECT_EQ(options.documentPath, "/tmp/my config.cmm");
    options = CMVApp::ParseCommandLine({});
    EXPECT_FALSE(options.simulate);
    EXPECT_TRUE(options.documentPath.empty());
}

TEST(Startup, OverlayHidesStoredKeysWithoutChangingThem) {
    CMemorySettingsStore stored;
    stored.WriteString("Comm Port", "DevicePath", "/dev/ttyS0");
    COverlaySettingsStore settings(stored);
    settings.Overlay().WriteString("Comm Port", "DevicePath", "/dev/pts/4");
    EXPECT_EQ(settings.GetString("Comm Port", "DevicePath", ""), "/dev/pts/4");
    EXPECT_EQ(stored.GetString("Comm Port", "DevicePath", ""), "/dev/ttyS0");
    // Writes (the host communication dialog's) reach the stored settings.
    settings.WriteString("Comm Port", "BitRate", "4800");
    EXPECT_EQ(stored.GetString("Comm Port", "BitRate", ""), "4800");
    EXPECT_EQ(settings.GetInt("Comm Port", "PortNumber", 1), 1);
}

struct StartedApp {
    explicit StartedApp(const std::string& path = {}) {
        auto doc = std::make_unique<CPlaceholderDocument>();
        document = doc.get();
        app = std::make_unique<CMVApp>(std::make_unique<CMemorySettingsStore>(), std::move(doc));
        StartupOptions options;
        options.documentPath = path;
        options.installUiServices = false;
        app->InitInstance(options);
    }
    CPlaceholderDocument* document;
    std::unique_ptr<CMVApp> app;
};

TEST(Startup, WithoutATransmitterRunsOfflineWithNoXmtrPanes) {
    CScriptedUi ui;
    StartedApp started;
    CMainFrame& frame = *started.app->Frame();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(started.app->StartupWindow(), nullptr);
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
    EXPECT_EQ(started.document->NewCount(), 1);
    EXPECT_EQ(started.document->PollingAddress(), -1);
    EXPECT_EQ(frame.TagPane()->text(), QStringLiteral("Tag: "));
    EXPECT_EQ(frame.SecurityPane()->text(), QStringLiteral("Security: No Xmtr "));
    EXPECT_EQ(frame.CommPane()->text(), QStringLiteral("COMM: No Xmtr"));
    EXPECT_TRUE(frame.statusBar()->currentMessage().isEmpty());
    // The link could not be opened: Connect stays disabled, the Setup items are enabled.
    EXPECT_FALSE(frame.Action(cmd::kConnect)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kSetupUnits)->isEnabled());
    EXPECT_TRUE(frame.acceptDrops());
    EXPECT_EQ(frame.windowTitle(),
              QStringLiteral("Untitled[*] - Corvel Configurator User Interface"));
}

TEST(Startup, OpensTheFileNamedOnTheCommandLine) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("plant 7.cmm")).toStdString();
    std::ofstream(path) << "x";
    CScriptedUi ui;
    StartedApp started(path);
    EXPECT_EQ(started.document->LoadedPath(), path);
    EXPECT_EQ(started.document->NewCount(), 0);
    EXPECT_EQ(started.app->Frame()->windowTitle(),
              QStringLiteral("plant 7.cmm[*] - Corvel Configurator User Interface"));
}

TEST(Startup, AMissingCommandLineFileIsReportedAndANewDocumentStarts) {
    CScriptedUi ui;
    ui.ExpectWithIcon(LoadString(313), MsgIcon::Stop);
    StartedApp started("/nonexistent/dir/config.cmm");
    EXPECT_EQ(started.document->NewCount(), 1);
    EXPECT_TRUE(started.document->LoadedPath().empty());
}

TEST(Startup, SimulateRunsOnASimulatedLineWithoutChangingTheStoredSettings) {
    CScriptedUi ui;
    auto store = std::make_unique<CMemorySettingsStore>();
    CMemorySettingsStore* stored = store.get();
    CMVApp app(std::move(store), std::make_unique<CPlaceholderDocument>());
    StartupOptions options;
    options.simulate = true;
    options.installUiServices = false;
    app.InitInstance(options);
    const std::string path = app.Settings().GetString("Comm Port", "DevicePath", "");
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(std::ifstream(path).good()) << path;
    EXPECT_FALSE(stored->Has("Comm Port", "DevicePath"));
    EXPECT_EQ(CMVApp::StartupText(app.Settings()),
              "Initializing... Connecting on " + path + " at 9600 bps");
}

// The real document on the simulated line: start-up connects at address 1 and
// the panes show the transmitter.
TEST(Startup, SimulatedTransmitterIsConnectedAtAddressOne) {
    CScriptedUi ui;
    auto store = std::make_unique<CMemorySettingsStore>();
    store->WriteString("Link Scheduling", "Retries", "0");
    CMVApp app(std::move(store));
    StartupOptions options;
    options.simulate = true;
    options.installUiServices = false;
    app.InitInstance(options);
    CMainFrame& frame = *app.Frame();
    EXPECT_TRUE(app.Document().LinkAvailable());
    EXPECT_EQ(app.Document().PollingAddress(), 1);
    EXPECT_EQ(app.Document().AccessState(), 3);
    frame.UpdateStatusPanes();
    EXPECT_EQ(frame.TagPane()->text(), QStringLiteral("Tag: CORVEL"));
    // The message area and the Tag pane's tip say where the program is connected.
    const std::string connected = "Connected to CORVEL at address 1 on " +
                                  app.Settings().GetString("Comm Port", "DevicePath", "") +
                                  ", 9600 bit/s";
    EXPECT_EQ(frame.statusBar()->currentMessage().toStdString(), connected);
    EXPECT_EQ(frame.TagPane()->toolTip().toStdString(), connected);
    EXPECT_EQ(frame.SecurityPane()->text(), QStringLiteral("Security: Disabled "));
    EXPECT_EQ(frame.CommPane()->text(), QStringLiteral("COMM: Idle"));
    frame.UpdateCommandUi();
    // Online: the Transmitter items are enabled, the Setup items are not.
    EXPECT_TRUE(frame.Action(cmd::kXmtrUnits)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kRecvConfig)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kSetupUnits)->isEnabled());

    // After Disconnect the Setup items are enabled again.
    frame.View().OnCommand(cmd::kDisconnect);
    frame.UpdateCommandUi();
    EXPECT_EQ(app.Document().AccessState(), 5);
    EXPECT_TRUE(frame.Action(cmd::kSetupUnits)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kXmtrUnits)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kConnect)->isEnabled());
    EXPECT_EQ(frame.CommPane()->text(), QStringLiteral("COMM: No Xmtr"));
    EXPECT_TRUE(frame.TagPane()->toolTip().isEmpty());
}

}  // namespace
