// The terminal's login and security commands against the simulated
// transmitter, whose security image is the inert legacy transport's: every
// slot zero, so security reads off and every password empty.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliProgram.h"
#include "cli/SecurityCommands.h"
#include "platform/CMemorySettingsStore.h"
#include "resources/Strings.h"
#include "tests/app/WorkflowTestBench.h"
#include "tests/config/SecurityImageDevice.h"
#include "tests/support/CliRun.h"
#include "transmitter/CTransmitter.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(SecurityCommands, LogInWithSecurityOffPrintsDisabled) {
    const CliRun run = Cli({"--simulate", "login", "flow1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, LoadString(59148) + "\n");
    EXPECT_TRUE(Contains(run.err, "no password is needed")) << run.err;
}

TEST(SecurityCommands, EnablingAsksFirstAndWithoutYesWritesNothing) {
    const CliRun run = Cli({"--simulate", "security", "enable", "--password", "x"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, LoadString(3105))) << run.err;
    EXPECT_TRUE(Contains(run.err, "--yes")) << run.err;
    EXPECT_FALSE(Contains(run.err, LoadString(3100))) << "the password is not asked for";
    EXPECT_EQ(run.out, "");
}

TEST(SecurityCommands, EnablingNeedsTheAdministrativePassword) {
    const CliRun wrong =
        Cli({"--simulate", "security", "enable", "--password", "secret7", "--yes"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(Contains(wrong.err, LoadString(3100))) << wrong.err;
    EXPECT_FALSE(Contains(wrong.out + wrong.err, "SECRET7")) << "passwords are never printed";
    EXPECT_FALSE(Contains(wrong.out + wrong.err, "secret7"));

    // The inert transport's administrative password is empty.
    const CliRun right = Cli({"--simulate", "security", "enable", "--password", "", "--yes"});
    EXPECT_EQ(right.status, 0) << right.err;
    EXPECT_EQ(right.out, LoadString(59145) + "\n");
}

TEST(SecurityCommands, SwitchingToTheStateItIsInWritesNothing) {
    const CliRun run = Cli({"--simulate", "security", "disable"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "already disabled")) << run.err;
    EXPECT_FALSE(Contains(run.err, LoadString(3104))) << run.err;
    EXPECT_EQ(run.out, LoadString(59148) + "\n");
}

TEST(SecurityCommands, WrongArgumentsAreUsageErrors) {
    EXPECT_EQ(Cli({"--simulate", "login"}).status, 2);
    EXPECT_EQ(Cli({"--simulate", "login", "A", "B"}).status, 2);
    EXPECT_EQ(Cli({"--simulate", "security"}).status, 2);
    EXPECT_EQ(Cli({"--simulate", "security", "toggle"}).status, 2);
    EXPECT_EQ(Cli({"--simulate", "security", "enable", "--password"}).status, 2);
    EXPECT_EQ(Cli({"--simulate", "security", "enable", "disable"}).status, 2);
}

// The commands on a transmitter whose security image is on, with an
// administrative and two medium passwords.
class SecuredTransmitterCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        m_bench.Add(1, CWorkflowTestBench::Options("CORVEL"));
        m_bench.Start();
        m_device.Install(m_bench.doc.Transmitter().Comm());
        CSecurity builder(17);
        m_device.Configure(builder, true, "ADMIN", {"FLOW1", "FLOW2"});
    }

    CliRun Run(int (*command)(WorkflowContext&, const std::vector<std::string>&, std::ostream&,
                              std::ostream&),
               const std::vector<std::string>& args) {
        std::ostringstream out, err;
        CliRun run;
        run.status = command(m_bench.context, args, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    CWorkflowTestBench m_bench;
    SecurityImageDevice m_device;
};

TEST_F(SecuredTransmitterCommands, LogInPrintsTheLevelTheTypedPasswordGives) {
    const CliRun medium = Run(cli::LogInCommand, {"flow2"});
    EXPECT_EQ(medium.status, 0) << medium.err;
    EXPECT_EQ(medium.out, LoadString(59146) + "\n");
    EXPECT_EQ(medium.err, "");
}

TEST_F(SecuredTransmitterCommands, AWrongPasswordGivesLowSaysSoAndFails) {
    const CliRun wrong = Run(cli::LogInCommand, {"FLOW3"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.out, LoadString(59147) + "\n");
    EXPECT_TRUE(Contains(wrong.err, LoadString(3101))) << wrong.err;
    EXPECT_FALSE(Contains(wrong.err, "FLOW3"));
}

TEST_F(SecuredTransmitterCommands, DisablingNeedsTheAdministrativePasswordAndYes) {
    const CliRun medium = Run(cli::SecurityCommand, {"disable", "--password", "FLOW1", "--yes"});
    EXPECT_EQ(medium.status, 1);
    EXPECT_TRUE(Contains(medium.err, "administrative password")) << medium.err;
    EXPECT_FALSE(Contains(medium.err, LoadString(3104))) << "the command is not offered";

    const CliRun noYes = Run(cli::SecurityCommand, {"disable", "--password", "ADMIN"});
    EXPECT_EQ(noYes.status, 1);
    EXPECT_TRUE(Contains(noYes.err, LoadString(3104))) << noYes.err;
    EXPECT_TRUE(Contains(noYes.err, "--yes")) << noYes.err;
    EXPECT_TRUE(m_device.writtenSlots.empty());

    const CliRun done = Run(cli::SecurityCommand, {"disable", "--password", "admin", "--yes"});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.out, LoadString(59148) + "\n");
    EXPECT_EQ(m_device.writtenSlots, std::vector<int>{0});
    EXPECT_FALSE(CSecurity::StateSlotEnabled(m_device.image[0]));
}

}  // namespace
