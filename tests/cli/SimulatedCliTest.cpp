// The terminal commands against the simulated transmitter.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/LinkCommands.h"
#include "link/LinkSettings.h"
#include "platform/CMemorySettingsStore.h"
#include "sim/CSimLine.h"

TEST(SimulatedCli, ProbeFindsTheCorvel) {
    CMemorySettingsStore store;
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli({"--simulate", "probe"}, store, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("Corvel transmitter at address 1 (identity 38, 31)"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("float format 0 (A B C D)"), std::string::npos);
}

TEST(SimulatedCli, ReadPrintsEachRegisterEveryTime) {
    CMemorySettingsStore store;
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli({"--simulate", "--address", "7", "read", "0", "2", "--times", "2"}, store,
                          out, err),
              0)
        << err.str();
    const std::string text = out.str();
    size_t first = text.find("0: 38\n1: 31\n");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find("0: 38\n1: 31\n", first + 1), std::string::npos);
}

// The program itself, its stderr a pipe as in a scripted run: the progress of
// a receive comes a line per step, without carriage returns.
TEST(SimulatedCli, PipedProgressHasOneLinePerStepAndNoCarriageReturn) {
    const std::string folder = ::testing::TempDir() + "piped_progress";
    ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
    // Settings of its own, so that the user's stored port plays no part.
    const std::string command = "XDG_CONFIG_HOME='" + folder +
                                "' '" CORVEL_CLI_PROGRAM "' --simulate receive -o '" + folder +
                                "/received.cmm' 2>&1 >/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string progress;
    char buffer[256];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) progress.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << progress;

    EXPECT_EQ(progress.find('\r'), std::string::npos) << progress;
    // The steps in order, the last one reported by the completion.
    EXPECT_EQ(progress,
              "Transmitter parameters... (0%)\n"
              "Common sensor & DP parameters... (20%)\n"
              "SP parameters... (40%)\n"
              "PT parameters... (60%)\n"
              "Device information... (80%)\n"
              "Operation Complete ! (100%)\n");
    std::remove((folder + "/received.cmm").c_str());
}

TEST(SimulatedCli, ALineThatIsCutIsReportedAsThePortGone) {
    CSimLine line;
    line.AddTransmitter(1);
    std::string error;
    ASSERT_TRUE(line.Start(&error)) << error;
    line.SetHangUpOnRequest(true);
    CMemorySettingsStore store;
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli({"--port", line.SlavePath(), "probe"}, store, out, err), 1);
    EXPECT_EQ(
        err.str().rfind("The serial port " + line.SlavePath() + " is no longer there:\n\n", 0), 0u)
        << err.str();
    // Nothing to check on the line: the port itself has gone.
    EXPECT_EQ(err.str().find("Tried "), std::string::npos);
}
