// The window program when the serial port goes away in mid-receive: the panes
// and the menus show no transmitter afterwards.
#include <gtest/gtest.h>

#include "tests/ui/QStringPrinter.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <cerrno>

#include "app/CommandTable.h"
#include "app/ui/CMVApp.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "link/LinkSettings.h"
#include "platform/CMemorySettingsStore.h"
#include "platform/SystemError.h"
#include "resources/Strings.h"
#include "sim/CSimLine.h"
#include "sim/SimTransmitterOptions.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/SendReceiveTestSupport.h"

namespace {

constexpr unsigned kIdReceiveFailed = 395;

TEST(PortGoneWindow, ALineCutInMidReceiveLeavesThePanesAndMenusWithoutATransmitter) {
    CScriptedUi ui;
    CSimLine line;
    SimTransmitterOptions options;
    options.tag = "FT-7";
    options.turnaroundDelayMs = 0;
    line.AddTransmitter(1, options);
    std::string error;
    ASSERT_TRUE(line.Start(&error)) << error;

    auto store = std::make_unique<CMemorySettingsStore>();
    using namespace settingskeys;
    store->WriteString(kCommPort, kDevicePath, line.SlavePath());
    store->WriteString(kCommPort, kCtsDelay, "0");
    store->WriteInt(kLinkScheduling, kRetries, 0);
    CMVApp app(std::move(store));
    StartupOptions startup;
    startup.installUiServices = false;
    app.InitInstance(startup);
    CMainFrame& frame = *app.Frame();
    frame.UpdateStatusPanes();
    ASSERT_EQ(frame.TagPane()->text(), QStringLiteral("Tag: FT-7"));

    // The adapter is pulled out while the configuration is being received.
    bool cut = false;
    ui.SetPumpHook([&] {
        QApplication::processEvents();
        if (!cut && ModalStatus() == QStringLiteral("Common sensor & DP parameters...")) {
            cut = true;
            line.SetHangUpOnRequest(true);
        }
    });
    ui.ExpectWithIcon("The serial port " + line.SlavePath() + " is no longer there:\n\n" +
                          SystemErrorText(EIO) +
                          "\n\nThe transmitter has been disconnected. Check the adapter and its "
                          "cable, then connect again.",
                      MsgIcon::Stop);
    ui.Expect(LoadString(kIdReceiveFailed));
    frame.View().OnCommand(cmd::kRecvConfig);
    ui.SetPumpHook({});
    ui.Verify();
    ASSERT_TRUE(cut);

    frame.UpdateStatusPanes();
    frame.UpdateCommandUi();
    EXPECT_EQ(frame.TagPane()->text(), QStringLiteral("Tag: "));
    EXPECT_EQ(frame.SecurityPane()->text(), QStringLiteral("Security: No Xmtr "));
    EXPECT_EQ(frame.CommPane()->text(), QStringLiteral("COMM: No Xmtr"));
    EXPECT_FALSE(frame.Action(cmd::kXmtrUnits)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kRecvConfig)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kSetupUnits)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kConnect)->isEnabled());
}

}  // namespace
