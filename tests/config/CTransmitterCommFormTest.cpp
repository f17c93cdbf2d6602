#include "config/CTransmitterCommForm.h"

#include <gtest/gtest.h>

#include "link/ErrorReport.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr uint16_t kRegTurnaround = 130;

class TransmitterCommFormTest : public FormTest {
  protected:
    void ExpectWarning(MsgAnswer answer) {
        m_ui.ExpectWithIcon(texts::kTurnaroundDelayWarning, MsgIcon::Exclamation, answer);
    }
};

TEST_F(TransmitterCommFormTest, FortyNineAsksAndCancelReturnsToTheField) {
    CTransmitterCommForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Setup Transmitter Communication Parameters");
    EXPECT_EQ(form.Field("turnaround")->text, "50");
    EXPECT_EQ(form.Field("turnaround")->suffix, "mS");
    form.SetText("turnaround", "49");
    ExpectWarning(MsgAnswer::Cancel);
    const FormOutcome cancelled = form.Ok();
    EXPECT_EQ(cancelled.result, FormResult::StayOpen);
    EXPECT_EQ(cancelled.focus, "turnaround");
    EXPECT_FALSE(cancelled.message);
    EXPECT_EQ(Model().TurnaroundDelay(), 50);
    EXPECT_FALSE(Doc().IsModified());

    ExpectWarning(MsgAnswer::Ok);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().TurnaroundDelay(), 49);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(TransmitterCommFormTest, FiftyIsWrittenWithoutAWarningOrSafetyBoxes) {
    Connect();  // the bench's transmitter answers at once: delay 0
    CTransmitterCommForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Transmitter Communication Parameters");
    EXPECT_EQ(form.Field("turnaround")->text, "0");
    form.SetText("turnaround", "50");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(m_ui.Messages().empty()) << "no safety prompt, no notice";
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegTurnaround});
    EXPECT_EQ(m_sim->TurnaroundDelayMs(), 50u);
    EXPECT_FALSE(Doc().IsModified()) << "the document is not what changed";
}

TEST_F(TransmitterCommFormTest, AnUnchangedDelayIsNotWritten) {
    Connect();
    CTransmitterCommForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    // 0 as read is below 50: the warning comes all the same.
    ExpectWarning(MsgAnswer::Ok);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Writes().empty());

    CTransmitterCommForm setup(Doc(), config::kSetupMode);
    ASSERT_TRUE(setup.Open());
    setup.SetText("turnaround", " 50 ");
    EXPECT_EQ(setup.Ok().result, FormResult::Ok);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(TransmitterCommFormTest, OnlyAnUnsignedSixteenBitNumberIsTaken) {
    CTransmitterCommForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    for (const char* refused : {"-1", "abc", "50.5", ""}) {
        form.SetText("turnaround", refused);
        const FormOutcome outcome = form.Ok();
        ASSERT_TRUE(outcome.message) << refused;
        EXPECT_EQ(outcome.message->text, texts::kEnterPositiveInteger) << refused;
        EXPECT_EQ(outcome.focus, "turnaround");
    }
    // More than the register holds is refused, not cut to 16 bits (65586 would be 50).
    form.SetText("turnaround", "65586");
    const FormOutcome tooLarge = form.Ok();
    ASSERT_TRUE(tooLarge.message);
    EXPECT_EQ(tooLarge.message->text, "Please enter an integer between 0 and 65535.");
    EXPECT_FALSE(Doc().IsModified());

    form.SetText("turnaround", "65535");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().TurnaroundDelay(), 65535);
}

TEST_F(TransmitterCommFormTest, AFailedWriteShowsItsTextOnlyAndAborts) {
    Connect();
    CTransmitterCommForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    m_bench.line.SetExceptionRange(kRegTurnaround, kRegTurnaround, 4);
    form.SetText("turnaround", "60");
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    EXPECT_EQ(form.Ok().result, FormResult::Abort);
    EXPECT_EQ(m_ui.Messages().size(), 1u) << "no \"Configuration failed\" for the delay";
}

TEST_F(TransmitterCommFormTest, AReadFailureAtOpeningIsShown) {
    Connect();
    m_bench.line.SetExceptionRange(128, 131, 4);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    CTransmitterCommForm form(Doc(), config::kTransmitterMode);
    EXPECT_FALSE(form.Open());
}

}  // namespace
