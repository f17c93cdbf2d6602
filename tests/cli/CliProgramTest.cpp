// The terminal program's conventions: help, version and option checks.
#include "cli/CliProgram.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/CMemorySettingsStore.h"
#include "tests/support/CScratchFolder.h"

#include <stdlib.h>
#include <filesystem>
#include <fstream>

namespace {

class CliProgramTest : public testing::Test {
  protected:
    int Run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        return cli::RunProgram(args, store, out, err);
    }
    bool OutHas(const std::string& part) const { return out.str().find(part) != std::string::npos; }
    bool ErrHas(const std::string& part) const { return err.str().find(part) != std::string::npos; }

    CMemorySettingsStore store;
    std::ostringstream out;
    std::ostringstream err;
};

constexpr const char* kExitStatuses =
    "exit status:\n  0  done\n  1  failed or refused\n  2  usage error\n";

}  // namespace

TEST_F(CliProgramTest, HelpInEveryFormPrintsTheUsageWithTheExitStatuses) {
    for (const std::vector<std::string>& help :
         {std::vector<std::string>{"--help"}, {"-h"}, {"help"}, {"--port", "COM2", "--help"}}) {
        EXPECT_EQ(Run(help), 0) << help[0];
        EXPECT_EQ(out.str().rfind("usage: corvel-cli ", 0), 0u) << out.str();
        for (const char* command : {"probe", "read REG COUNT", "show IN", "receive -o FILE",
                                    "send FILE", "help [COMMAND]"}) {
            EXPECT_TRUE(OutHas(command)) << command;
        }
        EXPECT_TRUE(OutHas(kExitStatuses)) << out.str();
        EXPECT_TRUE(err.str().empty()) << err.str();
    }
}

TEST_F(CliProgramTest, HelpForOneCommandShowsThatCommandWithTheOptions) {
    EXPECT_EQ(Run({"help", "receive"}), 0);
    EXPECT_TRUE(OutHas("receive -o FILE [--address N]")) << out.str();
    EXPECT_FALSE(OutHas("change-address")) << out.str();
    EXPECT_TRUE(OutHas("--simulate")) << out.str();
    EXPECT_TRUE(OutHas(kExitStatuses));

    // A description on its own line comes with its command.
    EXPECT_EQ(Run({"flow-test-files", "--help"}), 0);
    EXPECT_TRUE(
        OutHas("flow-test-files [IN] [--dir D] [--liquid]\n"
               "                              write the flow test files"))
        << out.str();
    // "show" is not "show-device".
    EXPECT_EQ(Run({"help", "show"}), 0);
    EXPECT_FALSE(OutHas("show-device")) << out.str();

    // Asking about a command that does not exist is a usage error.
    EXPECT_EQ(Run({"help", "frobnicate"}), 2);
    EXPECT_TRUE(ErrHas("unknown command \"frobnicate\""));
}

TEST_F(CliProgramTest, VersionIsTheProgramsVersion) {
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_TRUE(std::regex_match(out.str(), std::regex("corvel-cli [0-9]+(\\.[0-9]+){3}\n")))
        << out.str();
    EXPECT_EQ(out.str(), cli::VersionText());
}

TEST_F(CliProgramTest, SimulateTogetherWithAPortIsAUsageError) {
    for (const char* command : {"probe", "search", "show-device"}) {
        EXPECT_EQ(Run({"--simulate", "--port", "/dev/ttyS0", command}), 2) << command;
        EXPECT_TRUE(ErrHas("--simulate and --port cannot be used together")) << err.str();
        EXPECT_TRUE(out.str().empty());
    }
    EXPECT_EQ(Run({"--port", "COM3", "search", "--simulate"}), 2);
}

TEST_F(CliProgramTest, PortsListsTheComPortsThenTheDevicesWithWhatEachOpens) {
    CScratchFolder root;
    const std::filesystem::path dev = root.Path() / "dev";
    std::filesystem::create_directories(dev / "serial" / "by-id");
    std::ofstream(dev / "ttyUSB0").put('\0');
    std::ofstream(dev / "ttyUSB1").put('\0');
    std::filesystem::create_symlink("../../ttyUSB1", dev / "serial" / "by-id" / "usb-Adapter-if00");
    ::setenv("CORVEL_DEVICE_ROOT", root.Path().c_str(), 1);
    const int status = Run({"ports"});
    ::unsetenv("CORVEL_DEVICE_ROOT");
    ASSERT_EQ(status, 0) << err.str();
    const std::string usb0 = std::filesystem::canonical(dev / "ttyUSB0").string();
    const std::string usb1 = std::filesystem::canonical(dev / "ttyUSB1").string();
    EXPECT_EQ(out.str(),
              "COM1 -> /dev/ttyS0\nCOM2 -> /dev/ttyS1\nCOM3 -> /dev/ttyS2\n"
              "COM4 -> /dev/ttyS3\n" +
                  (dev / "serial" / "by-id" / "usb-Adapter-if00").string() + " -> " + usb1 + "\n" +
                  (dev / "ttyUSB0").string() + " -> " + usb0 + "\n");
    EXPECT_EQ(Run({"ports", "extra"}), 2);
}
