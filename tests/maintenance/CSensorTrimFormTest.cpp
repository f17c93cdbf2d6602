// Sensor Trim and its steps against the simulated transmitter, whose readings
// follow the trims it receives.
#include "maintenance/CSensorTrimForm.h"

#include "link/ErrorReport.h"
#include "tests/config/FormTestBench.h"
#include "tests/support/CScratchChangeLog.h"

namespace {

constexpr unsigned kIdCancelled = 380;
constexpr unsigned kIdUndetermined = 381;
constexpr uint8_t kWriteCoil = 5;
constexpr uint16_t kDpOffsetTrim = 436;
constexpr uint16_t kDpSlopeTrim = 438;
constexpr uint16_t kPtOffsetTrim = 448;
constexpr const char* kDpUnits = "InH2O-60°F";

using Kind = CTrimStepForm::Kind;
using Step = CSensorTrimForm::StepResult;

class SensorTrimFormTest : public FormTest {
  protected:
    void SetUp() override {
        SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
        options.presentValueNoise = 0.0;
        options.rtdMode = m_rtdMode;
        Connect(options);
    }

    // Opens the form with a runner that answers each step in turn and
    // remembers what each step showed.
    void Open(CSensorTrimForm& form, std::vector<Step> answers) {
        m_answers = std::move(answers);
        form.SetStepRunner([this](CTrimStepForm& step) {
            m_kinds.push_back(step.StepKind());
            m_measured.push_back(step.Field(CTrimStepForm::kMeasuredKey)->text);
            m_entered.push_back(step.Field(CTrimStepForm::kEnteredKey)->text);
            m_captions.push_back(step.Caption());
            const Step answer = m_answers.at(m_kinds.size() - 1);
            EXPECT_TRUE(m_sim->Coil(CSimTransmitter::kCoilTrimMode)) << "trim mode is on";
            return answer;
        });
        ASSERT_TRUE(form.Open());
        m_sim->ClearRequests();
    }

    // How many write requests reached a register.
    int WritesTo(uint16_t address) const {
        int count = 0;
        for (uint16_t written : WrittenRegisters()) count += written == address ? 1 : 0;
        return count;
    }

    int CoilWrites() const {
        int count = 0;
        for (const auto& write : Writes()) count += write.function == kWriteCoil ? 1 : 0;
        return count;
    }

    void ExpectTrimModeOffAfterOneOnAndOneOff(const CSensorTrimForm& form) {
        EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilTrimMode));
        EXPECT_EQ(CoilWrites(), 2);
        EXPECT_EQ(form.TrimModeOnWrites(), 1);
        EXPECT_EQ(form.TrimModeOffWrites(), 1);
        EXPECT_EQ(m_ui.WaitCursorDepth(), 0);
    }

    bool m_rtdMode = true;
    std::vector<Step> m_answers;
    std::vector<Kind> m_kinds;
    std::vector<std::string> m_measured;
    std::vector<std::string> m_entered;
    std::vector<std::string> m_captions;
};

class FixedPtSensorTrimTest : public SensorTrimFormTest {
  protected:
    void SetUp() override {
        m_rtdMode = false;
        SensorTrimFormTest::SetUp();
    }
};

TEST_F(SensorTrimFormTest, OpensOnDpOffsetTrimWithTheSensorLinesAndItsFieldsOnly) {
    CSensorTrimForm form(Doc());
    Open(form, {});
    EXPECT_EQ(form.Sensor(), 0);
    EXPECT_EQ(form.Type(), CSensorTrimForm::TrimType::Offset);
    EXPECT_FALSE(form.PtFixed());
    EXPECT_EQ(form.SensorChoiceText(2), "&PT");
    EXPECT_EQ(CSensorTrimForm::RecallText(), "Recall &Factory Trim Settings (not yet implemented)");
    EXPECT_EQ(form.Field("lower-limit")->text, std::string("-250 ") + kDpUnits);
    EXPECT_EQ(form.Field("upper-limit")->text, std::string("250 ") + kDpUnits);
    EXPECT_EQ(form.Field("min-span")->text, std::string("2.5 ") + kDpUnits);
    EXPECT_EQ(form.Field("offset-point")->text, std::string("0 ") + kDpUnits);
    EXPECT_EQ(form.Field("slope-point")->text, std::string("250 ") + kDpUnits);
    EXPECT_EQ(form.Field("offset")->text, "0");
    EXPECT_EQ(form.Field("pair-offset")->text, "0");
    EXPECT_EQ(form.Field("slope")->text, "250");
    EXPECT_TRUE(form.Field("offset")->enabled);
    EXPECT_FALSE(form.Field("pair-offset")->enabled);
    EXPECT_FALSE(form.Field("slope")->enabled);
    for (const char* list : {"offset-units", "pair-offset-units", "slope-units"}) {
        EXPECT_FALSE(form.Field(list)->enabled) << list;
        EXPECT_EQ(form.Field(list)->Shown(), kDpUnits) << list;
    }
    EXPECT_FALSE(form.SelectTrimType(CSensorTrimForm::TrimType::Recall));
    ASSERT_TRUE(form.SelectTrimType(CSensorTrimForm::TrimType::OffsetAndSlope));
    EXPECT_FALSE(form.Field("offset")->enabled);
    EXPECT_TRUE(form.Field("pair-offset")->enabled);
    EXPECT_TRUE(form.Field("slope")->enabled);

    ASSERT_TRUE(form.SelectSensor(2));
    EXPECT_EQ(form.Field("upper-limit")->text, "1200 °F");
    EXPECT_EQ(form.Field("slope-point")->text, "400 °F");
    EXPECT_EQ(form.Field("slope-units")->Shown(), "°F");
    EXPECT_TRUE(Writes().empty());
}

TEST_F(FixedPtSensorTrimTest, PtCannotBeChosenWhileTheTemperatureIsFixed) {
    CSensorTrimForm form(Doc());
    Open(form, {});
    EXPECT_TRUE(form.PtFixed());
    EXPECT_EQ(form.SensorChoiceText(2), "PT (fixed)");
    bool failed = true;
    EXPECT_FALSE(form.SelectSensor(2, &failed));
    EXPECT_FALSE(failed);
    EXPECT_EQ(form.Sensor(), 0);
    EXPECT_TRUE(m_sim->Requests().empty());
    EXPECT_TRUE(form.SelectSensor(1));
}

TEST_F(SensorTrimFormTest, ATrimCloserThanTheMinimumSpanIsRefusedBeforeAnyRequest) {
    CSensorTrimForm form(Doc());
    Open(form, {});
    // The slope trim point is 250 and the minimum span 2.5.
    form.SetText("offset", "247.6");
    FormOutcome outcome = form.Trim();
    ASSERT_TRUE(outcome.message.has_value());
    EXPECT_EQ(outcome.message->text, "Trim span from offset to slope values too small");
    EXPECT_EQ(outcome.message->icon, MsgIcon::None);
    EXPECT_EQ(outcome.focus, "offset");
    EXPECT_EQ(outcome.result, FormResult::StayOpen);

    form.SelectTrimType(CSensorTrimForm::TrimType::OffsetAndSlope);
    form.SetText("pair-offset", "10");
    form.SetText("slope", "11");
    outcome = form.Trim();
    ASSERT_TRUE(outcome.message.has_value());
    EXPECT_EQ(outcome.focus, "pair-offset");
    form.SetText("slope", "x");
    EXPECT_EQ(form.Trim().focus, "slope");
    EXPECT_TRUE(m_sim->Requests().empty());
    EXPECT_TRUE(m_kinds.empty());
}

TEST_F(SensorTrimFormTest, AConfirmedOffsetTrimShiftsTheReadingAndEndsWithTrimModeOff) {
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, 3.0);
    CSensorTrimForm form(Doc());
    Open(form, {Step::Ok});
    form.SetText("offset", "1.5");
    ExpectSafetyAndNotice();
    const FormOutcome outcome = form.Trim();
    EXPECT_EQ(outcome.result, FormResult::StayOpen);
    EXPECT_TRUE(outcome.settled);
    EXPECT_EQ(m_captions, std::vector<std::string>{"Sensor Offset Trim"});
    EXPECT_EQ(m_measured, std::vector<std::string>{std::string("3 ") + kDpUnits});
    EXPECT_EQ(m_entered, std::vector<std::string>{std::string("1.5 ") + kDpUnits});
    EXPECT_EQ(WritesTo(kDpOffsetTrim), 1);
    EXPECT_EQ(WritesTo(kDpSlopeTrim), 0);
    EXPECT_NEAR(m_sim->PresentValue(SimVariable::kDp), 1.5, 1e-4);
    EXPECT_EQ(form.Field("offset-point")->text, std::string("1.5 ") + kDpUnits)
        << "the lines are read again";
    ExpectTrimModeOffAfterOneOnAndOneOff(form);
}

TEST_F(SensorTrimFormTest, CancellingTheSlopeStepKeepsTheOffsetTrimAndShows380) {
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, 2.0);
    CSensorTrimForm form(Doc());
    Open(form, {Step::Ok, Step::Cancel});
    form.SelectTrimType(CSensorTrimForm::TrimType::OffsetAndSlope);
    form.SetText("pair-offset", "0");
    form.SetText("slope", "100");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.ExpectWithIcon(LoadString(kIdCancelled), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(form.Trim().result, FormResult::StayOpen);
    EXPECT_EQ(m_kinds, (std::vector<Kind>{Kind::Offset, Kind::Slope}));
    EXPECT_EQ(m_captions[1], "Sensor Slope Trim");
    EXPECT_EQ(WritesTo(kDpOffsetTrim), 1);
    EXPECT_EQ(WritesTo(kDpSlopeTrim), 0);
    EXPECT_NEAR(m_sim->PresentValue(SimVariable::kDp), 0.0, 1e-4);
    ExpectTrimModeOffAfterOneOnAndOneOff(form);
}

TEST_F(SensorTrimFormTest, EachTrimSentIsOneChangeLogRecordAndACancelledStepNone) {
    CScratchChangeLog log;
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, 2.0);
    CSensorTrimForm form(Doc());
    Open(form, {Step::Ok, Step::Cancel});
    form.SelectTrimType(CSensorTrimForm::TrimType::OffsetAndSlope);
    form.SetText("pair-offset", "0");
    form.SetText("slope", "100");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.ExpectWithIcon(LoadString(kIdCancelled), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(form.Trim().result, FormResult::StayOpen);

    const std::vector<ChangeRecord> records = log.Records();
    ASSERT_EQ(records.size(), 1u) << "the cancelled slope step sent nothing";
    EXPECT_EQ(records[0].area, "Sensor Trim");
    EXPECT_EQ(records[0].field, "DP offset trim");
    EXPECT_EQ(records[0].oldValue, m_measured.at(0));
    EXPECT_EQ(records[0].newValue, std::string("0 ") + kDpUnits);
    EXPECT_EQ(records[0].outcome, ChangeRecord::kDone);
}

TEST_F(SensorTrimFormTest, CancellingTheOffsetStepShows380AndStillOffersTheSlopeStep) {
    CSensorTrimForm form(Doc());
    Open(form, {Step::Cancel, Step::Ok});
    form.SelectTrimType(CSensorTrimForm::TrimType::OffsetAndSlope);
    form.SetText("slope", "30");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.ExpectWithIcon(LoadString(kIdCancelled), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(form.Trim().result, FormResult::StayOpen);
    EXPECT_EQ(m_kinds, (std::vector<Kind>{Kind::Offset, Kind::Slope}));
    EXPECT_EQ(WritesTo(kDpOffsetTrim), 0);
    EXPECT_EQ(WritesTo(kDpSlopeTrim), 1);
    EXPECT_EQ(form.Field("slope-point")->text, std::string("30 ") + kDpUnits);
    ExpectTrimModeOffAfterOneOnAndOneOff(form);
}

TEST_F(SensorTrimFormTest, ATrimTheTransmitterRefusesShows381AndAbortsWithTrimModeOff) {
    CSensorTrimForm form(Doc());
    Open(form, {Step::Ok});
    ASSERT_TRUE(form.SelectSensor(2));
    m_sim->ClearRequests();
    form.SetText("offset", "65");
    m_sim->SetWriteProtect(true);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    m_ui.ExpectWithIcon(LoadString(kIdUndetermined), MsgIcon::Stop);
    EXPECT_EQ(form.Trim().result, FormResult::Abort);
    EXPECT_EQ(WritesTo(kPtOffsetTrim), 1);
    ExpectTrimModeOffAfterOneOnAndOneOff(form);
}

TEST_F(SensorTrimFormTest, AStepWhoseReadFailedShows381AndAbortsWithTrimModeOff) {
    CSensorTrimForm form(Doc());
    Open(form, {Step::Failed});
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.ExpectWithIcon(LoadString(kIdUndetermined), MsgIcon::Stop);
    EXPECT_EQ(form.Trim().result, FormResult::Abort);
    EXPECT_EQ(WritesTo(kDpOffsetTrim), 0);
    ExpectTrimModeOffAfterOneOnAndOneOff(form);
}

TEST_F(SensorTrimFormTest, AnInterruptedOffsetStepEndsTheSequenceWithTrimModeOff) {
    CSensorTrimForm form(Doc());
    Open(form, {Step::Interrupted, Step::Ok});
    form.SelectTrimType(CSensorTrimForm::TrimType::OffsetAndSlope);
    form.SetText("slope", "30");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.ExpectWithIcon(LoadString(kIdCancelled), MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(form.Trim().result, FormResult::StayOpen);
    EXPECT_EQ(m_kinds, std::vector<Kind>{Kind::Offset}) << "no slope step after Ctrl+C";
    EXPECT_EQ(WritesTo(kDpOffsetTrim) + WritesTo(kDpSlopeTrim), 0);
    ExpectTrimModeOffAfterOneOnAndOneOff(form);
}

TEST_F(SensorTrimFormTest, CancelOfTheSafetyPromptSendsNothing) {
    CSensorTrimForm form(Doc());
    Open(form, {});
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Cancel);
    EXPECT_EQ(form.Trim().result, FormResult::StayOpen);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(m_kinds.empty());
}

TEST_F(SensorTrimFormTest, TheStepReadsTheMeasuredValueAgainOnEachRefresh) {
    CTrimStepForm step(Doc(), 1, Kind::Slope, 500.0F, "psi");
    ASSERT_TRUE(step.Open());
    EXPECT_EQ(step.Caption(), "Sensor Slope Trim");
    EXPECT_EQ(step.Field("sensor")->text, "SP");
    EXPECT_EQ(step.Field("type")->text, "Slope");
    EXPECT_EQ(step.Field("url")->text, "800 psi");
    EXPECT_EQ(step.Field("measured")->text, "300 psi");
    m_sim->SetPresentValueSetPoint(SimVariable::kSp, 412.5);
    m_sim->ClearRequests();
    ASSERT_TRUE(step.Refresh());
    EXPECT_EQ(step.Field("measured")->text, "412.5 psi");
    EXPECT_EQ(m_sim->Requests().size(), 1u) << "one read per refresh";
    m_bench.line.SetNoReply(true);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kNoResponse)), MsgIcon::Stop);
    EXPECT_FALSE(step.Refresh());
}

}  // namespace
