#include "config/CDampingForm.h"

#include <gtest/gtest.h>

#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "resources/Texts.h"
#include "tests/config/CHalfSecondDampingForm.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr uint16_t kRegDampingDp = 440;
constexpr uint16_t kRegDampingPt = 452;
const std::string kRangeMessage = "Please enter a number between 0 and 30.";

class DampingFormTest : public FormTest {
  protected:
    std::string NearestWarning() const {
        return LoadString(CommErrorMessageId(commerr::kDampingNearest));
    }
    double Damping(SimVariable variable) const { return m_sim->Damping(variable); }
};

TEST_F(DampingFormTest, TheRangeIsZeroToThirtyInclusive) {
    CDampingForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    for (const char* refused : {"30.01", "-0.1", "31"}) {
        form.SetText("SP", refused);
        const FormOutcome outcome = form.Ok();
        ASSERT_TRUE(outcome.message) << refused;
        EXPECT_EQ(outcome.message->text, kRangeMessage);
        EXPECT_EQ(outcome.focus, "SP");
        EXPECT_EQ(outcome.result, FormResult::StayOpen);
    }
    EXPECT_FALSE(Doc().IsModified()) << "a refused value writes nothing";
    form.SetText("SP", "30");
    form.SetText("PT", "0");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().Sp().Damping().Get(), 30.0);
    EXPECT_EQ(Model().Pt().Damping().Get(), 0.0);
}

TEST_F(DampingFormTest, TextThatIsNoNumberIsRefusedWithTheFocusOnItsField) {
    CDampingForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("PT", "2,5");
    const FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, texts::kEnterNumber);
    EXPECT_EQ(outcome.focus, "PT");
}

TEST_F(DampingFormTest, SetupModeNeverPromptsAndMarksTheDocumentModified) {
    CDampingForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Setup Damping");
    EXPECT_EQ(form.OkCaption(), "Set &Values");
    EXPECT_EQ(form.Field("DP")->text, "0.896");
    EXPECT_EQ(form.Field("DP")->suffix, "seconds");
    form.SetText("DP", "2.5");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Model().Dp().Damping().Get(), 2.5);
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(DampingFormTest, OkWithTheValuesFirstReadWritesNothing) {
    Connect();
    CDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "0.8960");  // the same value, typed differently
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(DampingFormTest, OnlyTheChangedVariablesAreWrittenInOrder) {
    Connect();
    CDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Transmitter Damping");
    EXPECT_EQ(form.OkCaption(), "Send &Values");
    EXPECT_FALSE(form.CloseEnabled());
    form.SetText("PT", "4");
    form.SetText("DP", "1.5");
    EXPECT_EQ(form.Note(), LoadString(777));
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), (std::vector<uint16_t>{kRegDampingDp, kRegDampingPt}));
    EXPECT_FLOAT_EQ(static_cast<float>(Damping(SimVariable::kPt)), 4.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(Damping(SimVariable::kDp)), 1.5f);
}

TEST_F(DampingFormTest, SafetyPromptCancelledReturnsToTheWindowUnchanged) {
    Connect();
    CDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("SP", "3");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Cancel);
    const FormOutcome outcome = form.Ok();
    EXPECT_EQ(outcome.result, FormResult::StayOpen);
    EXPECT_EQ(form.Field("SP")->text, "3");
    EXPECT_TRUE(Writes().empty());
}

TEST_F(DampingFormTest, ARoundedValueLeadsToTheApproximationStateAndCloseKeepsIt) {
    Connect();
    CHalfSecondDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("SP", "2.3");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.ExpectWithIcon(NearestWarning(), MsgIcon::Stop);
    const FormOutcome outcome = form.Ok();
    EXPECT_EQ(outcome.result, FormResult::StayOpen);
    EXPECT_TRUE(outcome.settled);
    EXPECT_EQ(outcome.focus, "DP");
    EXPECT_EQ(form.Field("SP")->text, "2.5") << "the value read back is shown";
    EXPECT_FALSE(form.OkEnabled());
    EXPECT_TRUE(form.CloseEnabled());
    EXPECT_EQ(form.Note(), LoadString(776));
    EXPECT_EQ(form.Close().result, FormResult::Ok);
    EXPECT_DOUBLE_EQ(Damping(SimVariable::kSp), 2.5);
}

TEST_F(DampingFormTest, CancelAfterTheApproximationRestoresTheValuesFirstRead) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.damping = {1.0, 1.0, 1.0};
    Connect(options);
    CHalfSecondDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "2.2");
    form.SetText("PT", "3");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(NearestWarning());
    ASSERT_TRUE(form.Ok().settled);
    EXPECT_DOUBLE_EQ(Damping(SimVariable::kDp), 2.0);
    EXPECT_DOUBLE_EQ(Damping(SimVariable::kPt), 3.0);
    m_sim->ClearRequests();
    EXPECT_EQ(form.Cancel().result, FormResult::Cancel);
    EXPECT_EQ(WrittenRegisters(), (std::vector<uint16_t>{kRegDampingDp, kRegDampingPt}));
    EXPECT_DOUBLE_EQ(Damping(SimVariable::kDp), 1.0);
    EXPECT_DOUBLE_EQ(Damping(SimVariable::kPt), 1.0);
}

TEST_F(DampingFormTest, ARestoreThatIsRoundedAgainSaysSo) {
    Connect();  // first read 0.896 s, which the rounding transmitter cannot keep
    CHalfSecondDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "2.2");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(NearestWarning());
    ASSERT_TRUE(form.Ok().settled);
    m_ui.ExpectWithIcon(LoadString(778), MsgIcon::Exclamation);
    EXPECT_EQ(form.Cancel().result, FormResult::Cancel);
    EXPECT_DOUBLE_EQ(Damping(SimVariable::kDp), 1.0);
}

TEST_F(DampingFormTest, EditingAfterTheApproximationOffersSendingAgain) {
    Connect();
    CHalfSecondDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "2.2");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(NearestWarning());
    ASSERT_TRUE(form.Ok().settled);
    form.SetText("DP", "2");
    EXPECT_TRUE(form.OkEnabled());
    EXPECT_EQ(form.Note(), LoadString(777));
}

TEST_F(DampingFormTest, CancelBeforeAnyWriteWritesNothing) {
    Connect();
    CDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "7");
    EXPECT_EQ(form.Cancel().result, FormResult::Cancel);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(DampingFormTest, AReadFailureAtOpeningIsShownAndAborts) {
    Connect();
    m_bench.line.SetExceptionRange(kRegDampingDp, kRegDampingPt + 1, 4);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    CDampingForm form(Doc(), config::kTransmitterMode);
    EXPECT_FALSE(form.Open());
}

}  // namespace
