#include "cli/LinkCommands.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

#include "link/LinkSettings.h"
#include "platform/CMemorySettingsStore.h"
#include "platform/SystemError.h"
#include "resources/Strings.h"
#include "tests/support/CPtyNullModem.h"
#include "tests/support/CScriptedUi.h"

namespace {

class CliTest : public testing::Test {
  protected:
    CliTest() {
        // Keep failures quick: one try each.
        store.WriteInt(settingskeys::kLinkScheduling, settingskeys::kRetries, 0);
    }
    int Run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        return cli::RunCli(args, store, out, err);
    }

    CMemorySettingsStore store;
    std::ostringstream out;
    std::ostringstream err;
};

}  // namespace

TEST_F(CliTest, NoCommandPrintsTheUsage) {
    EXPECT_EQ(Run({}), 0);
    EXPECT_NE(out.str().find("probe"), std::string::npos);
    EXPECT_NE(out.str().find("read REG COUNT"), std::string::npos);
    EXPECT_NE(out.str().find("--simulate"), std::string::npos);
}

TEST_F(CliTest, BadWordsAreRefusedWithTheUsage) {
    EXPECT_EQ(Run({"--address", "0", "probe"}), 2);
    EXPECT_NE(err.str().find("--address needs a polling address"), std::string::npos);
    EXPECT_EQ(Run({"--baud"}), 2);
    EXPECT_EQ(Run({"frobnicate"}), 2);
    EXPECT_NE(err.str().find("unknown command \"frobnicate\""), std::string::npos);
    EXPECT_EQ(Run({"--simulate", "read", "10"}), 2);
    EXPECT_EQ(Run({"--simulate", "read", "10", "200"}), 2);
    EXPECT_NE(err.str().find("usage:"), std::string::npos);
}

TEST_F(CliTest, PortOptionTakesComNumbersAndPaths) {
    cli::LinkOptions options;
    options.port = "COM3";
    options.baud = 19200;
    PortSettings port = cli::PortSettingsFor(options, store);
    EXPECT_EQ(port.port, 3);
    EXPECT_TRUE(port.devicePath.empty());
    EXPECT_EQ(port.bitRate, 19200);
    options.port = "/dev/ttyUSB0";
    EXPECT_EQ(cli::PortSettingsFor(options, store).devicePath, "/dev/ttyUSB0");
}

TEST_F(CliTest, PortThatCannotBeOpenedPrintsTheNumberedText) {
    CScriptedUi ui;
    ui.Expect("Failed to open port /nonexistent/tty0:\n\n" + SystemErrorText(ENOENT) + "\n");
    EXPECT_EQ(Run({"--port", "/nonexistent/tty0", "probe"}), 1);
    EXPECT_EQ(err.str(), LoadString(907) + "\n");
}

TEST_F(CliTest, AComPortThatCannotBeOpenedNamesTheDeviceTried) {
    CScriptedUi ui;
    ui.Expect("Failed to open port COM255:\n\n" + SystemErrorText(ENOENT) +
              "\nDevice tried: /dev/ttyS254\n");
    EXPECT_EQ(Run({"--port", "COM255", "probe"}), 1);
    EXPECT_EQ(err.str(), LoadString(907) + "\n");
}

TEST_F(CliTest, SilentLineSaysWhatWasTriedAndWhatToCheck) {
    CPtyNullModem cable;  // nothing on the far end
    ASSERT_TRUE(cable.Ok());
    EXPECT_EQ(Run({"--port", cable.PathA(), "--baud", "4800", "--address", "12", "probe"}), 1);
    EXPECT_EQ(err.str(), LoadString(958) + "\nTried " + cable.PathA() +
                             " at 4800 bit/s, polling address 12.\n"
                             "Check the wiring, the transmitter's polling address and bit rate, "
                             "and the host communication settings (port, bit rate, CTS).\n");
    // A classic port number is shown with its device.
    PortSettings com2;
    com2.port = 2;
    EXPECT_EQ(cli::NoAnswerHint(com2, 1).substr(0, 41),
              "Tried COM2 (/dev/ttyS1) at 9600 bit/s, po");
}
