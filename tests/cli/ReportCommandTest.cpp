// The commissioning report from the terminal, read back with pdftotext.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "cli/CliProgram.h"
#include "platform/CMemorySettingsStore.h"
#include "tests/support/PdfText.h"

namespace {

int Cli(const std::vector<std::string>& args, std::string* err = nullptr) {
    CMemorySettingsStore store;
    std::ostringstream out, e;
    const int status = cli::RunProgram(args, store, out, e);
    if (err != nullptr) *err = e.str();
    return status;
}

class ReportCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(std::system("command -v pdftotext >/dev/null"), 0)
            << "pdftotext (poppler-utils) is installed by scripts/install-deps.sh";
        // A name of this case's own: the cases run in parallel processes.
        file = ::testing::TempDir() + "report_config_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".cmm";
        ASSERT_EQ(Cli({"new", file}), 0);
        ASSERT_EQ(Cli({"set", "device-info", "tag=FT-101", "--file", file}), 0);
        ASSERT_EQ(Cli({"set", "damping", "DP=2.5", "--file", file}), 0);
    }
    std::string file;
};

TEST_F(ReportCommandTest, ThePdfHoldsTheTagUnitsAndLimitsOnNumberedPages) {
    const std::string pdf = ::testing::TempDir() + "report.pdf";
    std::remove(pdf.c_str());
    std::string err;
    ASSERT_EQ(Cli({"report", file, "-o", pdf}, &err), 0) << err;
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Commissioning report FT-101"), std::string::npos) << text;
    EXPECT_NE(text.find("2.5 seconds"), std::string::npos) << text;
    for (const char* limit : {"-250 ", "250 ", "800 ", "-40 ", "400 "})
        EXPECT_NE(text.find(limit), std::string::npos) << limit;
    EXPECT_NE(text.find("Format 0 - default (ABCD)"), std::string::npos);
    EXPECT_NE(text.find("50 mS"), std::string::npos);
    // The page number at the foot of the first page.
    EXPECT_NE(text.find("\n1\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Transmitter identification"), std::string::npos);
}

TEST_F(ReportCommandTest, PaperFollowsTheLocale) {
    const std::string pdf = ::testing::TempDir() + "report_letter.pdf";
    const char* saved = std::getenv("LC_ALL");
    const std::string before = saved != nullptr ? saved : "";
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    const int status = Cli({"report", file, "-o", pdf});
    ::setenv("LC_ALL", "en_GB.UTF-8", 1);
    const std::string a4 = ::testing::TempDir() + "report_a4.pdf";
    const int a4Status = Cli({"report", file, "-o", a4});
    if (saved != nullptr) {
        ::setenv("LC_ALL", before.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
    ASSERT_EQ(status, 0);
    ASSERT_EQ(a4Status, 0);
    EXPECT_NE(CommandOutput("pdfinfo '" + pdf + "'").find("letter"), std::string::npos);
    EXPECT_NE(CommandOutput("pdfinfo '" + a4 + "'").find("A4"), std::string::npos);
}

TEST_F(ReportCommandTest, HtmlOnRequestAndUsageErrors) {
    const std::string html = ::testing::TempDir() + "report.html";
    ASSERT_EQ(Cli({"report", file, "-o", html, "--html"}), 0);
    std::ifstream in(html);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<h1>Commissioning report FT-101</h1>"), std::string::npos);

    EXPECT_EQ(Cli({"report", file}), 2);
    EXPECT_EQ(Cli({"report", "-o", html}), 2);
    EXPECT_EQ(Cli({"report", file, "-o"}), 2);
    std::string err;
    EXPECT_EQ(Cli({"report", ::testing::TempDir() + "none.cmm", "-o", html}, &err), 1);
    EXPECT_FALSE(err.empty());
    // A folder that does not exist: nothing written, the reason said.
    EXPECT_EQ(Cli({"report", file, "-o", "/nonexistent-folder/r.pdf"}, &err), 1);
    EXPECT_NE(err.find("could not be written"), std::string::npos) << err;
}

}  // namespace
