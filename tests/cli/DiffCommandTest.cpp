// diff between two configuration files.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/CliProgram.h"
#include "platform/CMemorySettingsStore.h"
#include "tests/support/CliRun.h"

namespace {

class DiffCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Names of this case's own: the cases run in parallel processes.
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        a = ::testing::TempDir() + "diff_a_" + name + ".cmm";
        b = ::testing::TempDir() + "diff_b_" + name + ".cmm";
        ASSERT_EQ(Cli({"new", a}).status, 0);
        ASSERT_EQ(Cli({"copy", a, b}).status, 0);
    }
    std::string a;
    std::string b;
};

TEST_F(DiffCommandTest, AFileWithItselfIsEqualAndPrintsNothing) {
    const CliRun run = Cli({"diff", a, a});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const CliRun json = Cli({"diff", a, b, "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out, "{\"equal\": true, \"differences\": []}\n");
}

TEST_F(DiffCommandTest, OneDampingChangePrintsExactlyThatLine) {
    ASSERT_EQ(Cli({"set", "damping", "SP=2.5", "--file", b}).status, 0);
    const CliRun run = Cli({"diff", a, b});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "SP.damping: 0.896 seconds -> 2.5 seconds\n");
    // The other way round, the values change places.
    EXPECT_EQ(Cli({"diff", b, a}).out, "SP.damping: 2.5 seconds -> 0.896 seconds\n");
    const CliRun json = Cli({"diff", a, b, "--json"});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.out,
              "{\"equal\": false, \"differences\": [{\"field\": \"SP.damping\", \"name\": \"SP "
              "damping\", \"a\": \"0.896 seconds\", \"b\": \"2.5 seconds\"}]}\n");
}

TEST_F(DiffCommandTest, TroubleIsStatusTwo) {
    const CliRun missing = Cli({"diff", a, ::testing::TempDir() + "no_such_file.cmm"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_FALSE(missing.err.empty());
    EXPECT_EQ(Cli({"diff", a, b, "--bogus"}).status, 2);
    EXPECT_EQ(Cli({"diff", "--json"}).status, 2);
    EXPECT_EQ(Cli({"diff", a, b, a}).status, 2);
}

TEST(DiffCommandUsage, IsListedWithItsExitStatuses) {
    const CliRun run = Cli({"help", "diff"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("diff A.cmm [B.cmm] [--json]"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("0 equal, 1 different, 2 trouble"), std::string::npos) << run.out;
}

}  // namespace
