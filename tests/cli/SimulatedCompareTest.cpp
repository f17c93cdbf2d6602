// diff and report against the simulated transmitter.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>

#include "cli/CliProgram.h"
#include "platform/CMemorySettingsStore.h"
#include "tests/support/PdfText.h"

namespace {

int Cli(const std::vector<std::string>& args, std::string* out = nullptr) {
    CMemorySettingsStore store;
    std::ostringstream o, e;
    const int status = cli::RunProgram(args, store, o, e);
    if (out != nullptr) *out = o.str();
    return status;
}

TEST(SimulatedDiff, AReceivedFileEqualsItsTransmitterUntilChanged) {
    const std::string file = ::testing::TempDir() + "simulated_diff.cmm";
    ASSERT_EQ(Cli({"--simulate", "receive", "-o", file}), 0);
    std::string out;
    EXPECT_EQ(Cli({"--simulate", "diff", file}, &out), 0);
    EXPECT_EQ(out, "");

    ASSERT_EQ(Cli({"set", "lcd", "interval=9", "--file", file}), 0);
    EXPECT_EQ(Cli({"--simulate", "diff", file}, &out), 1);
    // One line: the file's value, then the transmitter's.
    EXPECT_EQ(out.rfind("lcd.interval: 9 Seconds -> ", 0), 0u) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << out;
    EXPECT_EQ(out.find("9 Seconds\n"), std::string::npos) << out;
}

TEST(SimulatedDiff, APortThatCannotBeOpenedIsTrouble) {
    const std::string file = ::testing::TempDir() + "simulated_diff_none.cmm";
    ASSERT_EQ(Cli({"new", file}), 0);
    EXPECT_EQ(Cli({"--port", "/dev/no-such-serial-port", "diff", file}), 2);
}

#ifdef CORVEL_TEST_REPORT
TEST(SimulatedReport, TheDeviceReportHoldsTheIdentification) {
    ASSERT_EQ(std::system("command -v pdftotext >/dev/null"), 0);
    const std::string pdf = ::testing::TempDir() + "report_device.pdf";
    std::string err;
    ASSERT_EQ(Cli({"--simulate", "report", "--device", "-o", pdf}, &err), 0) << err;
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Transmitter identification"), std::string::npos) << text;
    EXPECT_NE(text.find("Manufacturer"), std::string::npos);
    EXPECT_NE(text.find("Transmitter Serial Number"), std::string::npos);
    EXPECT_NE(text.find("Lower range limit"), std::string::npos);
    EXPECT_NE(text.find("7654321"), std::string::npos);
}
#endif

}  // namespace
