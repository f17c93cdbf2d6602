// The terminal's get and set over the window forms.
#include <gtest/gtest.h>

#include <sstream>

#include "app/FileBytes.h"
#include "cli/CliProgram.h"
#include "platform/CMemorySettingsStore.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "tests/app/ConfigTestSupport.h"
#include "tests/support/CScratchChangeLog.h"
#include "tests/support/CliRun.h"
#include "transmitter/CTransmitter.h"

using configtest::CTempFolder;

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ConfigCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_path = m_folder.File("FT101.cmm");
        CMVDoc doc;
        doc.Save(m_path);
        m_before = app::ReadFileBytes(m_path);
    }

    CTempFolder m_folder;
    std::string m_path;
    std::vector<uint8_t> m_before;
};

TEST_F(ConfigCommandsTest, GetPrintsTheWindowsFieldsFromAFile) {
    const CliRun run = Cli({"get", "damping", "--file", m_path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "DP: 0.896 seconds\nSP: 0.896 seconds\nPT: 0.896 seconds\n");
    const CliRun units = Cli({"get", "units", "--file", m_path, "--json"});
    EXPECT_EQ(units.status, 0) << units.err;
    EXPECT_EQ(units.out, "{\"DP\": \"InH2O-60°F\", \"SP\": \"psi\", \"PT\": \"°F\"}\n");
}

TEST_F(ConfigCommandsTest, SetChangesOnlyTheFieldsGivenAndSavesTheFile) {
    const CliRun run = Cli({"set", "damping", "SP=2.5", "--file", m_path});
    ASSERT_EQ(run.status, 0) << run.err;
    CMVDoc expected;
    expected.Load(m_before);
    CDimlessValue damping;
    damping.Set(2.5);
    expected.Transmitter().Sp().SetDamping(damping);
    EXPECT_EQ(app::ReadFileBytes(m_path), expected.Store());
}

TEST_F(ConfigCommandsTest, ARefusedValuePrintsTheWindowsMessageAndLeavesTheFileUntouched) {
    const CliRun run = Cli({"set", "damping", "DP=2", "PT=30.01", "--file", m_path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Please enter a number between 0 and 30.\n");
    EXPECT_EQ(app::ReadFileBytes(m_path), m_before);

    const CliRun date = Cli({"set", "device-info", "date=31/APR/99", "--file", m_path});
    EXPECT_EQ(date.status, 1);
    EXPECT_EQ(date.err, LoadString(715) + "\n");
    EXPECT_EQ(app::ReadFileBytes(m_path), m_before);
}

TEST_F(ConfigCommandsTest, NothingChangedLeavesTheFileAsItWas) {
    const CliRun run = Cli({"set", "units", "DP=InH2O-60°F", "--file", m_path});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(app::ReadFileBytes(m_path), m_before);
}

TEST_F(ConfigCommandsTest, CodesAndUnitsAreNamedByTextOrNumber) {
    ASSERT_EQ(Cli({"set", "units", "PT=32", "SP=kPa", "--file", m_path}).status, 0);
    ASSERT_EQ(Cli({"set", "device-info", "seal-count=2", "tag=FT-101", "--file", m_path}).status,
              0);
    CMVDoc doc;
    doc.Open(m_path);
    EXPECT_EQ(doc.Transmitter().Pt().Units().UnitCode(), 32);
    EXPECT_EQ(doc.Transmitter().Sp().Units().Name(), "kPa");
    EXPECT_EQ(doc.Transmitter().DeviceInfo().RemoteSealCount(), 2);
    EXPECT_EQ(doc.Transmitter().DeviceInfo().Tag(), "FT-101");
}

TEST_F(ConfigCommandsTest, LcdItemsAreNamedInDisplayOrderAndTheFileKeepsTheMask) {
    const CliRun get = Cli({"get", "lcd", "--file", m_path});
    EXPECT_EQ(get.status, 0) << get.err;
    EXPECT_EQ(get.out, "items: DP,SP,PT,COMM\ninterval: 3 Seconds\n");
    ASSERT_EQ(Cli({"set", "lcd", "items=PT,DP", "interval=10", "--file", m_path}).status, 0);
    CMVDoc doc;
    doc.Open(m_path);
    EXPECT_EQ(doc.Transmitter().LcdDisplay().Mask(), 5);
    EXPECT_EQ(doc.Transmitter().LcdDisplay().Interval(), 10);
    const CliRun json = Cli({"get", "lcd", "--file", m_path, "--json"});
    EXPECT_EQ(json.out, "{\"items\": \"DP,PT\", \"interval\": 10}\n")
        << "a loaded file lists the items in canonical order";

    ASSERT_EQ(Cli({"set", "lcd", "items=", "--file", m_path}).status, 0);
    doc.Open(m_path);
    EXPECT_EQ(doc.Transmitter().LcdDisplay().Mask(), 0);
}

TEST_F(ConfigCommandsTest, LcdRefusalsPrintTheWindowsMessages) {
    const CliRun interval = Cli({"set", "lcd", "interval=0", "--file", m_path});
    EXPECT_EQ(interval.status, 1);
    EXPECT_EQ(interval.err, "Please enter an integer between 1 and 10.\n");
    const CliRun item = Cli({"set", "lcd", "items=DP,FLOW", "--file", m_path});
    EXPECT_EQ(item.status, 1);
    EXPECT_TRUE(Contains(item.err, "\"FLOW\"")) << item.err;
    EXPECT_EQ(app::ReadFileBytes(m_path), m_before);
}

TEST_F(ConfigCommandsTest, ATurnaroundBelowFiftyNeedsYesInAFileToo) {
    EXPECT_EQ(Cli({"get", "comm", "--file", m_path}).out, "turnaround: 50 mS\n");
    const CliRun refused = Cli({"set", "comm", "turnaround=49", "--file", m_path});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.err, "less than 50 mS")) << refused.err;
    EXPECT_TRUE(Contains(refused.err, "--yes")) << refused.err;
    EXPECT_EQ(app::ReadFileBytes(m_path), m_before);

    ASSERT_EQ(Cli({"set", "comm", "turnaround=49", "--yes", "--file", m_path}).status, 0);
    CMVDoc doc;
    doc.Open(m_path);
    EXPECT_EQ(doc.Transmitter().TurnaroundDelay(), 49);

    const CliRun fifty = Cli({"set", "comm", "turnaround=50", "--file", m_path});
    EXPECT_EQ(fifty.status, 0) << fifty.err;
    EXPECT_EQ(fifty.err, "") << "50 asks nothing";
    doc.Open(m_path);
    EXPECT_EQ(doc.Transmitter().TurnaroundDelay(), 50);
}

TEST_F(ConfigCommandsTest, UnknownAreasAndKeysAreUsageErrors) {
    EXPECT_EQ(Cli({"get", "colours", "--file", m_path}).status, 2);
    const CliRun key = Cli({"set", "damping", "XP=1", "--file", m_path});
    EXPECT_EQ(key.status, 2);
    EXPECT_TRUE(Contains(key.err, "unknown key \"XP\"")) << key.err;
    EXPECT_EQ(Cli({"set", "damping", "--file", m_path}).status, 2) << "set needs a value";
    EXPECT_EQ(app::ReadFileBytes(m_path), m_before);
}

TEST(ConfigCommandsOnTransmitter, TheLcdNeedsTheSafetyAnswerTheTurnaroundOnlyItsWarning) {
    const CliRun lcd = Cli({"--simulate", "set", "lcd", "items=SP", "--yes"});
    EXPECT_EQ(lcd.status, 0) << lcd.err;
    EXPECT_TRUE(Contains(lcd.err, LoadString(390))) << lcd.err;
    EXPECT_TRUE(Contains(lcd.err, LoadString(392))) << lcd.err;

    const CliRun comm = Cli({"--simulate", "set", "comm", "turnaround=49"});
    EXPECT_EQ(comm.status, 1);
    EXPECT_TRUE(Contains(comm.err, "less than 50 mS")) << comm.err;
    EXPECT_FALSE(Contains(comm.err, LoadString(390))) << comm.err;
    const CliRun get = Cli({"--simulate", "get", "comm"});
    EXPECT_EQ(get.out, "turnaround: 50 mS\n") << get.err;
}

TEST_F(ConfigCommandsTest, LimitsOnAFileUseTheFixedBounds) {
    const CliRun run = Cli({"set", "limits", "PT=:1200", "SP=0:", "--file", m_path});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Cli({"get", "limits", "--file", m_path}).out,
              "DP: -250:250 InH2O-60°F\nSP: 0:800 psi\nPT: -40:1200 °F\n");
    const std::vector<uint8_t> saved = app::ReadFileBytes(m_path);

    const CliRun refused = Cli({"set", "limits", "SP=-0.01:", "--file", m_path});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, LoadString(2428) + "\n");
    const CliRun parts = Cli({"set", "limits", "DP=-100", "--file", m_path});
    EXPECT_EQ(parts.status, 1);
    EXPECT_TRUE(Contains(parts.err, "DP takes LOWER:UPPER")) << parts.err;
    EXPECT_EQ(app::ReadFileBytes(m_path), saved);
}

TEST_F(ConfigCommandsTest, DataFormatsOnAFileRunTheParameterWindowsRules) {
    const CliRun run = Cli(
        {"set", "data-formats", "scaling=3", "DP=-250:250", "float-format=2", "--file", m_path});
    ASSERT_EQ(run.status, 0) << run.err;
    CMVDoc doc;
    doc.Open(m_path);
    EXPECT_EQ(doc.Transmitter().FloatFormat(), 2);
    EXPECT_EQ(doc.Transmitter().IntegerScalingMethod(), 3);
    EXPECT_EQ(doc.Transmitter().Dp().IntegerScaling().scaleFactor, 131);
    EXPECT_EQ(doc.Transmitter().Dp().IntegerScaling().offset, 18);
    const CliRun get = Cli({"get", "data-formats", "--file", m_path, "--json"});
    EXPECT_EQ(get.status, 0) << get.err;
    EXPECT_TRUE(Contains(get.out, "\"byte-order\": \"D C B A\"")) << get.out;
    EXPECT_TRUE(Contains(get.out, "\"counts\": 65534, \"rounding\": \"nearest\"")) << get.out;
    const std::vector<uint8_t> saved = app::ReadFileBytes(m_path);

    const CliRun offset =
        Cli({"set", "data-formats", "SP=-1000:", "rounding=up", "--file", m_path});
    EXPECT_EQ(offset.status, 1);
    EXPECT_EQ(offset.err, std::string(texts::kOffsetOutOfRangeRoundingUp) + "\n");
    const CliRun factor =
        Cli({"set", "data-formats", "scaling=2", "counts=100", "PT=101:0", "--file", m_path});
    EXPECT_EQ(factor.status, 1);
    EXPECT_EQ(factor.err, "Please enter a scale factor between 1 and 100\n");
    EXPECT_EQ(Cli({"set", "data-formats", "byte-order=DCBA", "--file", m_path}).status, 2);
    EXPECT_EQ(app::ReadFileBytes(m_path), saved);
}

TEST(ConfigCommandsOnTransmitter, LimitsPrintTheRangesAndRefuseAnEmptySpan) {
    const CliRun get = Cli({"--simulate", "get", "limits"});
    EXPECT_EQ(get.status, 0) << get.err;
    EXPECT_TRUE(Contains(get.out, "write-protect: OFF\n")) << get.out;
    EXPECT_TRUE(Contains(get.out, "PT-URL: 1200 °F\n")) << get.out;
    EXPECT_TRUE(Contains(get.out, "SP: 0:800 psia\n")) << get.out;
    const CliRun equal = Cli({"--simulate", "set", "limits", "DP=100:100", "--yes"});
    EXPECT_EQ(equal.status, 1);
    EXPECT_EQ(equal.err, LoadString(2430) + "\n");
    const CliRun unsafe = Cli({"--simulate", "set", "limits", "PT=:600"});
    EXPECT_EQ(unsafe.status, 1);
    EXPECT_TRUE(Contains(unsafe.err, "--yes")) << unsafe.err;
    const CliRun done = Cli({"--simulate", "set", "limits", "PT=:600", "--yes"});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_TRUE(Contains(done.err, LoadString(392))) << done.err;
}

TEST(ConfigCommandsOnTransmitter, DataFormatsWriteOnlyWhatTheWindowWould) {
    // The simulated transmitter starts with method 0: choosing it again changes nothing.
    const CliRun same = Cli({"--simulate", "set", "data-formats", "scaling=Disabled"});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.err, "") << "no safety prompt for nothing to write";
    const CliRun format = Cli({"--simulate", "set", "data-formats", "float-format=1", "--yes"});
    EXPECT_EQ(format.status, 0) << format.err;
}

TEST(ConfigCommandsOnTransmitter, WithoutYesTheSafetyTextIsPrintedAndNothingWritten) {
    const CliRun refused = Cli({"--simulate", "set", "damping", "DP=4"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.err, LoadString(390))) << refused.err;
    EXPECT_TRUE(Contains(refused.err, "--yes")) << refused.err;
    EXPECT_FALSE(Contains(refused.err, LoadString(392))) << refused.err;
}

TEST(ConfigCommandsOnTransmitter, WithYesTheWritesAreFollowedByTheProcessValueNotice) {
    const CliRun run = Cli({"--simulate", "set", "damping", "DP=4", "--yes"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, LoadString(392))) << run.err;
    const CliRun get = Cli({"--simulate", "get", "device-info", "--json"});
    EXPECT_EQ(get.status, 0) << get.err;
    EXPECT_TRUE(Contains(get.out, "\"tag\": \"CORVEL\"")) << get.out;
}

}  // namespace

TEST(ChangeLogCommands, TerminalWritesAreLoggedAndLogListsThemNewestFirst) {
    CScratchChangeLog log;
    // Set on a file writes no transmitter: nothing is logged.
    CTempFolder folder;
    CMVDoc doc;
    doc.Save(folder.File("FT.cmm"));
    ASSERT_EQ(Cli({"set", "damping", "DP=3", "--file", folder.File("FT.cmm")}).status, 0);
    EXPECT_TRUE(log.Records().empty());
    // Without --yes nothing is written, so nothing is logged.
    EXPECT_NE(Cli({"--simulate", "set", "damping", "DP=2.5"}).status, 0);
    EXPECT_TRUE(log.Records().empty());

    const CliRun set = Cli({"--simulate", "set", "damping", "DP=2.5", "SP=4", "--yes"});
    ASSERT_EQ(set.status, 0) << set.err;
    const std::vector<ChangeRecord> records = log.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].field, "DP");
    EXPECT_EQ(records[0].newValue, "2.5 seconds");
    EXPECT_EQ(records[1].field, "SP");
    EXPECT_EQ(records[0].address, 1);

    const CliRun listed = Cli({"log"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    const size_t sp = listed.out.find("Damping  SP: 0.896 seconds -> 4 seconds  done");
    const size_t dp = listed.out.find("Damping  DP: 0.896 seconds -> 2.5 seconds  done");
    ASSERT_NE(sp, std::string::npos) << listed.out;
    ASSERT_NE(dp, std::string::npos) << listed.out;
    EXPECT_LT(sp, dp) << "newest first";

    const std::string tag = records[0].tag;
    const CliRun json = Cli({"log", "--tag", tag, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out, "[\n  " + CChangeLog::ToJson(records[1]) + ",\n  " +
                            CChangeLog::ToJson(records[0]) + "\n]\n");
    EXPECT_EQ(Cli({"log", "--tag", "NO-SUCH", "--json"}).out, "[]\n");
    EXPECT_EQ(Cli({"log", "--since", "2999-01-01"}).out, "");
    EXPECT_EQ(Cli({"log", "--since", records[0].time.substr(0, 10)}).out, listed.out);

    const CliRun badDate = Cli({"log", "--since", "09/12/2026"});
    EXPECT_EQ(badDate.status, 2);
    EXPECT_TRUE(Contains(badDate.err, "YYYY-MM-DD")) << badDate.err;
    EXPECT_EQ(Cli({"log", "--tag"}).status, 2);
}
