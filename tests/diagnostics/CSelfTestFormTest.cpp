// Self Test against the simulated transmitter.
#include "diagnostics/CSelfTestForm.h"

#include "diagnostics/CErrorInfoForm.h"
#include "link/ErrorReport.h"
#include "tests/diagnostics/DiagnosticsTestBench.h"
#include "tests/support/CScratchChangeLog.h"

namespace {

constexpr uint8_t kWriteCoil = 5;
constexpr uint8_t kReadCoils = 1;

class SelfTestFormTest : public DiagnosticsTest {
  protected:
    // Opens the form, answers the safety prompt and checks the first delay.
    void Begin(CSelfTestForm& form) {
        ASSERT_TRUE(form.Open());
        ASSERT_NE(form.Field(CTimedForm::kStatusKey), nullptr);
        EXPECT_EQ(form.Field(CTimedForm::kStatusKey)->text, "Transmitter self test in progress...");
        m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
        ASSERT_EQ(form.Start().result, FormResult::StayOpen);
        EXPECT_EQ(form.DelayMs(), CSelfTestForm::kStartDelayMs);
    }

    // The viewer records what Error Information showed and how many boxes
    // had been shown before it.
    void Watch(CSelfTestForm& form) {
        form.SetErrorInformationViewer([this](CErrorInfoForm& info) {
            m_shownLines = info.Lines();
            m_boxesBeforeErrorInformation = m_ui.Messages().size();
        });
    }

    std::vector<std::string> m_shownLines;
    size_t m_boxesBeforeErrorInformation = 0;
};

TEST_F(SelfTestFormTest, AFinishedSelfTestShowsTheStatusItLeftThenTheNotice) {
    SimTransmitterOptions options = Options();
    options.selfTestDurationMs = 1500;
    ConnectWithFakeClock(options);
    m_sim->SetSelfTestResult({0, 0, 0, 0, 0x08, 0});
    CSelfTestForm form(Doc());
    Watch(form);
    Begin(form);
    m_clock->Advance(form.DelayMs());
    ASSERT_EQ(form.Step().result, FormResult::StayOpen);
    EXPECT_EQ(form.DelayMs(), CSelfTestForm::kCheckDelayMs);
    EXPECT_TRUE(m_sim->IsSelfTestRunning());
    m_clock->Advance(form.DelayMs());
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(form.Step().result, FormResult::Ok);
    EXPECT_TRUE(form.Completed());
    EXPECT_EQ(m_shownLines, std::vector<std::string>{"Sensor Hardware is Incompatible"});
    EXPECT_EQ(m_boxesBeforeErrorInformation, 1u) << "only the safety prompt came before";
    const auto requests = m_sim->Requests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[requests.size() - 3].function, kWriteCoil);
    EXPECT_EQ(requests[requests.size() - 3].address, 0);
    EXPECT_EQ(requests[requests.size() - 2].function, kReadCoils);
    EXPECT_EQ(m_ui.WaitCursorDepth(), 0);
}

TEST_F(SelfTestFormTest, ASelfTestStillRunningAfterTwoSecondsIsReported) {
    SimTransmitterOptions options = Options();
    options.selfTestDurationMs = 2500;
    ConnectWithFakeClock(options);
    CSelfTestForm form(Doc());
    Watch(form);
    Begin(form);
    m_clock->Advance(form.DelayMs());
    ASSERT_EQ(form.Step().result, FormResult::StayOpen);
    m_clock->Advance(form.DelayMs());
    m_ui.ExpectWithIcon(LoadString(3253), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(form.Step().result, FormResult::Ok);
    EXPECT_FALSE(form.Completed());
    EXPECT_TRUE(m_shownLines.empty()) << "Error Information is not opened";
}

TEST_F(SelfTestFormTest, AStartThatFailsGivesItsTextThenTheNotice) {
    ConnectWithFakeClock(Options());
    CSelfTestForm form(Doc());
    Watch(form);
    Begin(form);
    m_bench.line.SetNoReply(true);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kNoResponse)), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    m_clock->Advance(form.DelayMs());
    EXPECT_EQ(form.Step().result, FormResult::Ok);
    EXPECT_TRUE(m_shownLines.empty());
}

TEST_F(SelfTestFormTest, AResultThatCannotBeReadGivesItsTextThenTheNotice) {
    SimTransmitterOptions options = Options();
    options.selfTestDurationMs = 0;
    ConnectWithFakeClock(options);
    CSelfTestForm form(Doc());
    Watch(form);
    Begin(form);
    m_clock->Advance(form.DelayMs());
    ASSERT_EQ(form.Step().result, FormResult::StayOpen);
    m_bench.line.SetNoReply(true);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kNoResponse)), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    m_clock->Advance(form.DelayMs());
    EXPECT_EQ(form.Step().result, FormResult::Ok);
    EXPECT_TRUE(m_shownLines.empty());
}

TEST_F(SelfTestFormTest, StatusThatCannotBeReadAfterTheTestClosesErrorInformation) {
    SimTransmitterOptions options = Options();
    options.selfTestDurationMs = 0;
    ConnectWithFakeClock(options);
    CSelfTestForm form(Doc());
    Watch(form);
    Begin(form);
    m_clock->Advance(form.DelayMs());
    ASSERT_EQ(form.Step().result, FormResult::StayOpen);
    m_bench.line.SetExceptionRange(118, 121, 4);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(62)), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    m_clock->Advance(form.DelayMs());
    EXPECT_EQ(form.Step().result, FormResult::Ok);
    EXPECT_TRUE(m_shownLines.empty());
}

TEST_F(SelfTestFormTest, CancelAtTheSafetyPromptStartsNothing) {
    ConnectWithFakeClock(Options());
    CSelfTestForm form(Doc());
    ASSERT_TRUE(form.Open());
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Cancel);
    EXPECT_EQ(form.Start().result, FormResult::Cancel);
    EXPECT_TRUE(Writes().empty());
    EXPECT_FALSE(m_sim->IsSelfTestRunning());
}

}  // namespace

TEST_F(SelfTestFormTest, TheStartIsLoggedAndAFailedStartAsRejected) {
    ConnectWithFakeClock(Options());
    CScratchChangeLog log;
    {
        CSelfTestForm form(Doc());
        Watch(form);
        Begin(form);
        m_clock->Advance(form.DelayMs());
        ASSERT_EQ(form.Step().result, FormResult::StayOpen);
    }
    std::vector<ChangeRecord> records = log.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].area, "Transmitter Self Test");
    EXPECT_EQ(records[0].field, "self test");
    EXPECT_EQ(records[0].outcome, ChangeRecord::kDone);

    CSelfTestForm refused(Doc());
    Begin(refused);
    m_bench.line.SetNoReply(true);
    m_clock->Advance(refused.DelayMs());
    const std::string refusal = LoadString(CommErrorMessageId(commerr::kNoResponse));
    m_ui.Expect(refusal);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    refused.Step();
    records = log.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].outcome, ChangeRecord::kRejected);
    EXPECT_EQ(records[1].error, refusal);
}
