// The terminal's register read against the simulated transmitter, under a
// locale that writes decimal commas.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/LinkCommands.h"
#include "platform/CMemorySettingsStore.h"
#include "tests/support/CScopedCLocale.h"

TEST(SimulatedDecimalComma, ReadPrintsFloatsWithADecimalPoint) {
    CScopedCLocale comma;
    ASSERT_TRUE(comma.Active());
    CMemorySettingsStore store;
    std::ostringstream out, err;
    // Registers 440 and 441: the DP damping, 0.896 s on a new simulated transmitter.
    EXPECT_EQ(cli::RunCli({"--simulate", "read", "440", "2"}, store, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("440: 0.896\n"), std::string::npos) << out.str();
}
