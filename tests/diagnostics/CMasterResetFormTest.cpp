// Master Reset against the simulated transmitter, on a clock the test moves.
#include "diagnostics/CMasterResetForm.h"

#include "link/ErrorReport.h"
#include "tests/diagnostics/DiagnosticsTestBench.h"
#include "tests/support/CScratchChangeLog.h"

namespace {

constexpr uint8_t kWriteCoil = 5;
constexpr uint16_t kMasterResetCoil = 1;

class MasterResetFormTest : public DiagnosticsTest {
  protected:
    // Opens the form and answers the safety prompt with OK; the reset is due next.
    void Begin(CMasterResetForm& form) {
        ASSERT_TRUE(form.Open());
        m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
        const FormOutcome started = form.Start();
        ASSERT_EQ(started.result, FormResult::StayOpen);
        EXPECT_EQ(form.DelayMs(), CMasterResetForm::kResetDelayMs);
    }

    // Steps the form as its window would, each step after its delay on the
    // fake clock, until it closes; returns the closing outcome.
    FormOutcome RunToEnd(CMasterResetForm& form, int maxSteps = 2000) {
        for (int i = 0; i < maxSteps; ++i) {
            m_clock->Advance(form.DelayMs());
            const FormOutcome outcome = form.Step();
            if (outcome.result != FormResult::StayOpen) return outcome;
        }
        ADD_FAILURE() << "the wait never ended";
        return FormOutcome::Stay();
    }

    bool ResetWritten() const {
        for (const auto& write : Writes()) {
            if (write.function == kWriteCoil && write.address == kMasterResetCoil) return true;
        }
        return false;
    }
};

TEST_F(MasterResetFormTest, ATransmitterBackAfterEightSecondsEndsTheWaitAtTheSecondPoll) {
    SimTransmitterOptions options = Options();
    options.masterResetDurationMs = 8000;
    ConnectWithFakeClock(options);
    CMasterResetForm form(m_bench.context, Clock());
    Begin(form);
    ASSERT_NE(form.Field(CTimedForm::kStatusKey), nullptr);
    EXPECT_EQ(form.Field(CTimedForm::kStatusKey)->text, "The transmitter is being reset...");
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    const FormOutcome outcome = RunToEnd(form);
    EXPECT_EQ(outcome.result, FormResult::Ok);
    EXPECT_EQ(form.Polls(), 2);
    EXPECT_TRUE(form.Answered());
    EXPECT_EQ(m_clock->Milliseconds(), CMasterResetForm::kResetDelayMs + 8000);
    EXPECT_TRUE(ResetWritten());
    EXPECT_TRUE(m_bench.context.Connected());
    EXPECT_EQ(m_ui.WaitCursorDepth(), 0);
}

TEST_F(MasterResetFormTest, NoTagReadBeforeFourSecondsHavePassed) {
    SimTransmitterOptions options = Options();
    options.masterResetDurationMs = 0;
    ConnectWithFakeClock(options);
    CMasterResetForm form(m_bench.context, Clock());
    Begin(form);
    m_clock->Advance(form.DelayMs());
    ASSERT_EQ(form.Step().result, FormResult::StayOpen);  // the reset
    m_sim->ClearRequests();
    m_clock->Advance(3999);
    EXPECT_EQ(form.Step().result, FormResult::StayOpen);
    EXPECT_EQ(form.Polls(), 0);
    EXPECT_TRUE(m_sim->Requests().empty());
    m_clock->Advance(1);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(form.Step().result, FormResult::Ok);
    EXPECT_EQ(form.Polls(), 1);
}

TEST_F(MasterResetFormTest, ASilentTransmitterIsGivenUpAfterSixtySecondsAndDisconnected) {
    SimTransmitterOptions options = Options();
    options.masterResetDurationMs = 3600000;
    ConnectWithFakeClock(options);
    CMasterResetForm form(m_bench.context, Clock());
    Begin(form);
    m_clock->Advance(form.DelayMs());
    ASSERT_EQ(form.Step().result, FormResult::StayOpen);
    const long long resetAt = m_clock->Milliseconds();
    // At 60 s the wait goes on; the poll after it gives up.
    while (m_clock->Milliseconds() - resetAt < 60000) {
        m_clock->Advance(form.DelayMs());
        ASSERT_EQ(form.Step().result, FormResult::StayOpen) << m_clock->Milliseconds();
    }
    EXPECT_EQ(form.Polls(), 15);
    EXPECT_FALSE(form.GaveUp());
    EXPECT_TRUE(m_bench.context.Connected());
    m_ui.ExpectWithIcon(LoadString(3251), MsgIcon::Stop);
    const FormOutcome outcome = RunToEnd(form);
    EXPECT_EQ(outcome.result, FormResult::Ok);
    EXPECT_TRUE(form.GaveUp());
    EXPECT_FALSE(form.Answered());
    EXPECT_EQ(form.Polls(), 16);
    EXPECT_EQ(m_clock->Milliseconds() - resetAt, 64000);
    EXPECT_FALSE(m_bench.context.Connected());
    EXPECT_EQ(Doc().PollingAddress(), 1);
}

TEST_F(MasterResetFormTest, AnotherFailureEndsTheWaitWithItsText) {
    SimTransmitterOptions options = Options();
    options.masterResetDurationMs = 0;
    ConnectWithFakeClock(options);
    CMasterResetForm form(m_bench.context, Clock());
    Begin(form);
    m_clock->Advance(form.DelayMs());
    ASSERT_EQ(form.Step().result, FormResult::StayOpen);
    m_bench.line.SetExceptionRange(31, 34, 4);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(62)), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(RunToEnd(form).result, FormResult::Ok);
    EXPECT_EQ(form.Polls(), 1);
    EXPECT_FALSE(form.Answered());
    EXPECT_TRUE(m_bench.context.Connected());
}

TEST_F(MasterResetFormTest, AResetWithoutReplyIsStillWaitedFor) {
    SimTransmitterOptions options = Options();
    options.masterResetDurationMs = 5000;
    ConnectWithFakeClock(options);
    CMasterResetForm form(m_bench.context, Clock());
    Begin(form);
    m_bench.line.SetNoReply(true);
    m_clock->Advance(form.DelayMs());
    ASSERT_EQ(form.Step().result, FormResult::StayOpen);
    m_bench.line.SetNoReply(false);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(RunToEnd(form).result, FormResult::Ok);
    EXPECT_EQ(form.Polls(), 2);
}

TEST_F(MasterResetFormTest, AFailedResetIsAFailedWrite) {
    ConnectWithFakeClock(Options());
    CMasterResetForm form(m_bench.context, Clock());
    Begin(form);
    m_bench.line.SetBadCrc(true);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kChecksum)), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdConfigurationFailed));
    m_clock->Advance(form.DelayMs());
    EXPECT_EQ(form.Step().result, FormResult::Abort);
    EXPECT_EQ(form.Polls(), 0);
}

TEST_F(MasterResetFormTest, CancelAtTheSafetyPromptSendsNothing) {
    ConnectWithFakeClock(Options());
    CMasterResetForm form(m_bench.context, Clock());
    ASSERT_TRUE(form.Open());
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Cancel);
    EXPECT_EQ(form.Start().result, FormResult::Cancel);
    EXPECT_FALSE(form.Running());
    EXPECT_TRUE(Writes().empty());
}

TEST_F(MasterResetFormTest, NothingCancelsTheWait) {
    SimTransmitterOptions options = Options();
    options.masterResetDurationMs = 0;
    ConnectWithFakeClock(options);
    CMasterResetForm form(m_bench.context, Clock());
    Begin(form);
    m_clock->Advance(form.DelayMs());
    form.Step();
    EXPECT_EQ(form.Cancel().result, FormResult::StayOpen);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(RunToEnd(form).result, FormResult::Ok);
}

TEST_F(MasterResetFormTest, ATagThatCannotBeReadKeepsTheWindowShut) {
    ConnectWithFakeClock(Options());
    m_bench.line.SetExceptionRange(31, 34, 4);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(62)), MsgIcon::Stop);
    CMasterResetForm form(m_bench.context, Clock());
    EXPECT_FALSE(form.Open());
    EXPECT_TRUE(Writes().empty());
}

TEST_F(MasterResetFormTest, TheTagReadAtOpeningRenamesTheTransmitter) {
    ConnectWithFakeClock(Options());
    m_sim->SetTag("PT-7");
    CMasterResetForm form(m_bench.context, Clock());
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(Model().Comm().CurrentTag().substr(0, 4), "PT-7");
}

}  // namespace

TEST_F(MasterResetFormTest, TheResetIsLoggedOnce) {
    SimTransmitterOptions options = Options();
    options.masterResetDurationMs = 1000;
    ConnectWithFakeClock(options);
    CScratchChangeLog log;
    CMasterResetForm form(m_bench.context, Clock());
    Begin(form);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(RunToEnd(form).result, FormResult::Ok);
    const std::vector<ChangeRecord> records = log.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].area, "Transmitter Master Reset");
    EXPECT_EQ(records[0].field, "master reset");
    EXPECT_EQ(records[0].outcome, ChangeRecord::kDone);
    EXPECT_EQ(records[0].address, 1);
}
