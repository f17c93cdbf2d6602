// Fixed Process Temp. against the simulated transmitter.
#include "maintenance/CFixedPtForm.h"

#include "link/ErrorReport.h"
#include "tests/config/FormTestBench.h"
#include "tests/support/CScratchChangeLog.h"

namespace {

constexpr unsigned kIdBelowLowerRange = 2421;
constexpr unsigned kIdAboveUpperRange = 2422;
constexpr uint16_t kFixedTemperatureRegister = 454;
constexpr uint8_t kWriteCoil = 5;

class FixedPtFormTest : public FormTest {
  protected:
    void Start(bool rtdMode, double fixedTemperature = 60.0) {
        SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
        options.rtdMode = rtdMode;
        options.fixedProcessTemperature = fixedTemperature;
        Connect(options);
    }
    void Open(CFixedPtForm& form) {
        ASSERT_TRUE(form.Open());
        m_sim->ClearRequests();
    }
};

TEST_F(FixedPtFormTest, OpensWithTheModeAndTheTemperatureInThePtUnits) {
    Start(false, 72.5);
    CFixedPtForm form(Doc());
    Open(form);
    EXPECT_EQ(form.Caption(), "Fixed Process Temp.");
    EXPECT_TRUE(form.Fixed());
    EXPECT_EQ(form.Field("temperature")->text, "72.5");
    EXPECT_EQ(form.Field("temperature")->suffix, "°F");
    EXPECT_TRUE(form.Field("temperature")->enabled);

    form.SetChoice("fixed", 0);
    EXPECT_FALSE(form.Field("temperature")->enabled);
    EXPECT_EQ(form.Field("temperature")->text, "") << "clearing the box empties the field";
    form.SetChoice("fixed", 1);
    EXPECT_TRUE(form.Field("temperature")->enabled);
}

TEST_F(FixedPtFormTest, WithTheRtdTheTemperatureIsEmptyAndDisabled) {
    Start(true);
    CFixedPtForm form(Doc());
    Open(form);
    EXPECT_FALSE(form.Fixed());
    EXPECT_EQ(form.Field("temperature")->text, "");
    EXPECT_FALSE(form.Field("temperature")->enabled);
}

TEST_F(FixedPtFormTest, OkWithoutAChangeSendsNothingAndAsksNothing) {
    Start(false, 72.5);
    CFixedPtForm form(Doc());
    Open(form);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(m_sim->Requests().empty());
    form.SetText("temperature", "72.50");
    EXPECT_EQ(form.Ok().result, FormResult::Ok) << "the same number typed otherwise";
    EXPECT_TRUE(m_sim->Requests().empty());
}

TEST_F(FixedPtFormTest, TemperaturesAtTheRangeLimitsAreAcceptedAndBeyondThemRefused) {
    Start(false);
    CFixedPtForm form(Doc());
    Open(form);
    // The PT range limits of the simulated transmitter are -40 and 1200 °F.
    form.SetText("temperature", "-40.01");
    FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message.has_value());
    EXPECT_EQ(outcome.message->text, LoadString(kIdBelowLowerRange));
    EXPECT_EQ(outcome.message->icon, MsgIcon::Stop);
    EXPECT_EQ(outcome.focus, "temperature");
    form.SetText("temperature", "1200.5");
    outcome = form.Ok();
    ASSERT_TRUE(outcome.message.has_value());
    EXPECT_EQ(outcome.message->text, LoadString(kIdAboveUpperRange));
    EXPECT_TRUE(Writes().empty());

    form.SetText("temperature", "-40");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_DOUBLE_EQ(m_sim->FixedProcessTemperature(), -40.0);

    CFixedPtForm again(Doc());
    Open(again);
    again.SetText("temperature", "1200");
    ExpectSafetyAndNotice();
    EXPECT_EQ(again.Ok().result, FormResult::Ok);
    EXPECT_DOUBLE_EQ(m_sim->FixedProcessTemperature(), 1200.0);
}

TEST_F(FixedPtFormTest, TheLimitsAreReadAgainAndComparedInFahrenheit) {
    Start(false);
    CFixedPtForm form(Doc());
    Open(form);
    m_sim->SetRangeLimits(SimVariable::kPt, -40.0, 300.0);
    form.SetText("temperature", "301");
    const FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message.has_value());
    EXPECT_EQ(outcome.message->text, LoadString(kIdAboveUpperRange));
}

TEST_F(FixedPtFormTest, FixingTheTemperatureWritesTheModeThenTheTemperature) {
    Start(true);
    CFixedPtForm form(Doc());
    Open(form);
    form.SetChoice("fixed", 1);
    form.SetText("temperature", "x");
    EXPECT_EQ(form.Ok().focus, "temperature");
    form.SetText("temperature", "85.25");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].function, kWriteCoil);
    EXPECT_EQ(writes[0].address, 3);
    EXPECT_EQ(writes[1].address, kFixedTemperatureRegister);
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilRtdMode));
    EXPECT_DOUBLE_EQ(m_sim->FixedProcessTemperature(), 85.25);
}

TEST_F(FixedPtFormTest, BackToTheRtdWritesTheModeOnly) {
    Start(false);
    CFixedPtForm form(Doc());
    Open(form);
    form.SetChoice("fixed", 0);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Cancel);
    EXPECT_EQ(form.Ok().result, FormResult::StayOpen);
    EXPECT_TRUE(Writes().empty());
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_TRUE(m_sim->Coil(CSimTransmitter::kCoilRtdMode));
}

TEST_F(FixedPtFormTest, AFailedWriteIsShownAndTheOtherWriteStillFollows) {
    Start(true);
    CFixedPtForm form(Doc());
    Open(form);
    form.SetChoice("fixed", 1);
    form.SetText("temperature", "90");
    m_sim->SetWriteProtect(true);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(form.Ok().result, FormResult::Abort) << "a failed write is not reported as done";
    EXPECT_EQ(Writes().size(), 2u);
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilRtdMode)) << "the coil write went through";
}

}  // namespace

TEST_F(FixedPtFormTest, ModeAndTemperatureAreLoggedAsTheWindowShowsThem) {
    Start(false);
    CScratchChangeLog log;
    CFixedPtForm form(Doc());
    Open(form);
    form.SetText("temperature", "100");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);

    const std::vector<ChangeRecord> records = log.Records();
    // The mode is written with the temperature, each one record.
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].area, "Fixed Process Temp.");
    EXPECT_EQ(records[1].field, "temperature");
    EXPECT_EQ(records[1].oldValue, "60 °F");
    EXPECT_EQ(records[1].newValue, "100 °F");
    EXPECT_EQ(records[1].outcome, ChangeRecord::kDone);
}
