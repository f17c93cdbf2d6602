// Read Outputs against the simulated transmitter: the two phases, what each
// costs on the line, the texts of the rows and the samples it keeps.
#include "maintenance/CReadOutputsForm.h"

#include <ctime>
#include <regex>
#include <sstream>

#include "link/ErrorReport.h"
#include "tests/config/FormTestBench.h"

namespace {

class ReadOutputsFormTest : public FormTest {
  protected:
    void Start(uint16_t register10 = 0) {
        SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
        options.presentValueNoise = 0.0;
        options.register10 = register10;
        Connect(options);
    }
    std::string Row(const CReadOutputsForm& form, int row) const {
        return form.Field(CReadOutputsForm::LabelKey(row))->text + "=" +
               form.Field(CReadOutputsForm::ValueKey(row))->text + " " +
               form.Field(CReadOutputsForm::UnitsKey(row))->text;
    }
};

// 2026-03-05 14:07:09 local time, a Thursday.
std::chrono::system_clock::time_point LocalAfternoon() {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 14;
    local.tm_min = 7;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

TEST_F(ReadOutputsFormTest, OpeningRunsBothPhasesSoThatEveryRowIsFilled) {
    Start();
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, 50.01);
    CReadOutputsForm form(Doc(), LocalAfternoon);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Read Outputs");
    EXPECT_EQ(Row(form, 0), "Differential Pressure=50.0100 InH2O-60°F");
    EXPECT_EQ(Row(form, 1), "Static Pressure=300.000 psia");
    EXPECT_EQ(Row(form, 2), "Process Temperature=70.0000 °F");
    EXPECT_EQ(form.Field("date")->text, "Thursday, March 05, 2026");
    EXPECT_EQ(form.Field("time")->text, "02:07:09 PM");
    EXPECT_EQ(form.Phase(), 0);
    EXPECT_EQ(m_ui.WaitCursorDepth(), 0);
}

TEST_F(ReadOutputsFormTest, AGaugeSensorShowsTheGaugeSuffix) {
    Start(1);
    CReadOutputsForm form(Doc());
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Field(CReadOutputsForm::UnitsKey(1))->text, "psig");
}

TEST_F(ReadOutputsFormTest, TheAssignmentPhaseCostsNoExchangeAndTheValuesPhaseOne) {
    Start();
    CReadOutputsForm form(Doc());
    ASSERT_TRUE(form.Open());
    for (int tick = 0; tick < 6; ++tick) {
        m_sim->ClearRequests();
        const int phase = form.Phase();
        ASSERT_EQ(form.Refresh().result, FormResult::StayOpen);
        EXPECT_EQ(m_sim->Requests().size(), phase == 0 ? 0u : 1u) << "tick " << tick;
        EXPECT_NE(form.Phase(), phase);
    }
    EXPECT_TRUE(Writes().empty());
}

TEST_F(ReadOutputsFormTest, TheValuesFollowTheTransmitterAtTheNextValuesPhase) {
    Start();
    CReadOutputsForm form(Doc());
    ASSERT_TRUE(form.Open());
    m_sim->SetPresentValueSetPoint(SimVariable::kPt, 101.5);
    form.Refresh();
    EXPECT_EQ(form.Field(CReadOutputsForm::ValueKey(2))->text, "70.0000");
    form.Refresh();
    EXPECT_EQ(form.Field(CReadOutputsForm::ValueKey(2))->text, "101.500");
}

TEST_F(ReadOutputsFormTest, TheLabelsFollowAChangedAssignmentWithinOneCycle) {
    Start();
    std::array<int, 4> assignment{0, 1, 2, 32};
    CReadOutputsForm form(Doc());
    form.SetAssignmentSource([&assignment] { return assignment; });
    ASSERT_TRUE(form.Open());
    assignment = {2, 0, 32, 1};
    form.Refresh();
    form.Refresh();
    EXPECT_EQ(form.Field(CReadOutputsForm::LabelKey(0))->text, "Process Temperature");
    EXPECT_EQ(form.Field(CReadOutputsForm::LabelKey(1))->text, "Differential Pressure");
    EXPECT_EQ(Row(form, 0), "Process Temperature=70.0000 °F");
    EXPECT_EQ(Row(form, 1), "Differential Pressure=25.0000 InH2O-60°F");
    EXPECT_EQ(form.Field(CReadOutputsForm::ValueKey(2))->text, "")
        << "a computed variable has no present value to show";
}

TEST_F(ReadOutputsFormTest, EveryValueReadIsKeptAsASample) {
    Start();
    CReadOutputsForm form(Doc());
    ASSERT_TRUE(form.Open());
    ASSERT_EQ(form.Samples().size(), 3u);
    EXPECT_EQ(form.Samples()[1].variable, "Static Pressure");
    EXPECT_EQ(form.Samples()[1].units, "psia");
    EXPECT_DOUBLE_EQ(form.Samples()[1].value, 300.0);
    form.Refresh();
    EXPECT_EQ(form.Samples().size(), 3u) << "the assignment phase reads no value";
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, -12.25);
    form.Refresh();
    ASSERT_EQ(form.Samples().size(), 6u);
    EXPECT_DOUBLE_EQ(form.Samples()[3].value, -12.25);
    EXPECT_GE(form.Samples()[3].time, form.Samples()[0].time);
}

TEST_F(ReadOutputsFormTest, AFailedReadIsShownAndEndsTheWindow) {
    Start();
    CReadOutputsForm form(Doc());
    ASSERT_TRUE(form.Open());
    form.Refresh();
    ASSERT_EQ(form.Phase(), 1);
    m_bench.line.SetNoReply(true);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kNoResponse)), MsgIcon::Stop);
    EXPECT_EQ(form.Refresh().result, FormResult::Abort);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(ReadOutputsFormTest, AFailureWhileOpeningKeepsTheWindowShut) {
    Start();
    m_bench.line.SetNoReply(true);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kNoResponse)), MsgIcon::Stop);
    CReadOutputsForm form(Doc());
    EXPECT_FALSE(form.Open());
}

TEST(OutputSampleCsv, WritesLocalTimeWithOffsetNameValueAndQuotedUnits) {
    const auto time = LocalAfternoon() + std::chrono::milliseconds(250);
    std::ostringstream csv;
    maintenance::WriteSamplesCsv(csv,
                                 {{time, "DP", 50.01, "InH2O-60°F"}, {time, "S\"P", 300.0, "a,b"}});
    const std::string text = csv.str();
    const std::regex expected(
        "time,variable,value,unit\n"
        "2026-03-05T14:07:09\\.250[+-][0-9]{2}:[0-9]{2},DP,50\\.01,InH2O-60°F\n"
        "2026-03-05T14:07:09\\.250[+-][0-9]{2}:[0-9]{2},\"S\"\"P\",300,\"a,b\"\n");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST(OutputSampleCsv, TheOffsetIsTheLocalOffsetFromUtc) {
    const auto time = LocalAfternoon();
    const std::string text = maintenance::SampleTimeText(time);
    ASSERT_EQ(text.size(), 29u) << text;
    const long sign = text[23] == '-' ? -1 : 1;
    const long offsetSeconds =
        sign * (std::stol(text.substr(24, 2)) * 3600 + std::stol(text.substr(27, 2)) * 60);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&seconds, &local);
    EXPECT_EQ(offsetSeconds, local.tm_gmtoff);
}

}  // namespace
