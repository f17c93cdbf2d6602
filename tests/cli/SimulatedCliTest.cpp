// The terminal commands against the simulated transmitter.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/LinkCommands.h"
#include "link/LinkSettings.h"
#include "platform/CMemorySettingsStore.h"

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
