#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "config/CSensorLimitsForm.h"
#include "config/CSetupLimitsForm.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr uint16_t kRegDpLimits = 416;  // lower and upper operating limit, 8 registers per variable
constexpr uint16_t kRegSpLimits = 424;
constexpr uint16_t kRegPtLimits = 432;
constexpr uint16_t kRegRanges = 412;
const std::string kBelowRange = LoadString(2428);
const std::string kAboveRange = LoadString(2429);
const std::string kUpperNotAbove = LoadString(2430);

// A transmitter that moves every operating limit it is sent onto a whole
// number and says so with the nearest-value warning.
class CRoundingLimitsForm : public CSensorLimitsForm {
  public:
    using CSensorLimitsForm::CSensorLimitsForm;

  protected:
    void WriteLimits(int variable, double lower, double upper) override {
        CSensorLimitsForm::WriteLimits(variable, std::round(lower), std::round(upper));
        throw CCommException(commerr::kDampingNearest);
    }
};

class SensorLimitsFormTest : public FormTest {
  protected:
    static SimTransmitterOptions Options() { return CWorkflowTestBench::Options("CORVEL"); }

    size_t ReadsOf(uint16_t address) const {
        const auto requests = m_sim->Requests();
        return static_cast<size_t>(std::count_if(requests.begin(), requests.end(), [&](auto& r) {
            return r.function == 3 && r.address == address;
        }));
    }
};

TEST_F(SensorLimitsFormTest, OpeningShowsWhatTheTransmitterHolds) {
    SimTransmitterOptions options = Options();
    options.register10 = CSPVariable::kSpTypeGauge;
    Connect(options);
    m_sim->SetWriteProtect(true);
    m_sim->ClearRequests();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Sensor Limits");
    EXPECT_EQ(form.Field("write-protect")->text, "ON");
    EXPECT_EQ(form.Field("DP-present")->text, "25.0000");
    EXPECT_EQ(form.Field("SP-units")->text, "psig");
    EXPECT_EQ(form.Field("DP-units")->text, "InH2O-60°F");
    EXPECT_EQ(form.Field("PT-LRL")->text, "-40");
    EXPECT_EQ(form.Field("PT-UOL")->text, "400");
    EXPECT_EQ(form.Field("PT-URL")->text, "1200");
    EXPECT_EQ(form.Field("PT-lower")->text, "-40");
    EXPECT_EQ(form.Field("SP-upper")->text, "800");
    EXPECT_EQ(form.Field("SP-upper")->suffix, "psig");
    EXPECT_EQ(ReadsOf(kRegRanges), 1u) << "the ranges block is read once for all three variables";
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SensorLimitsFormTest, WriteProtectOffAndAbsoluteSensor) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Field("write-protect")->text, "OFF");
    EXPECT_EQ(form.Field("SP-units")->text, "psia");
}

TEST_F(SensorLimitsFormTest, ALimitTypedAsTheRangeLimitIsShownIsStoredAsTheRangeLimit) {
    SimTransmitterOptions options = Options();
    options.lowerRangeLimits[0] = -249.9996;
    options.upperRangeLimits[0] = 250.0004;
    options.lowerOperatingLimits[0] = -100.0;
    options.upperOperatingLimits[0] = 100.0;
    Connect(options);
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Field("DP-LRL")->text, "-250");
    EXPECT_EQ(form.Field("DP-URL")->text, "250");
    form.SetText("DP-lower", "-250");
    form.SetText("DP-upper", "250");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegDpLimits});
    EXPECT_NEAR(m_sim->LowerOperatingLimit(SimVariable::kDp), -249.9996, 1e-4);
    EXPECT_NEAR(m_sim->UpperOperatingLimit(SimVariable::kDp), 250.0004, 1e-4);
    EXPECT_GT(m_sim->LowerOperatingLimit(SimVariable::kDp), -249.99975);
}

TEST_F(SensorLimitsFormTest, LimitsBeyondTheRangeAreRefusedWithTheFocusOnTheirField) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("SP-lower", "-0.5");
    FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, kBelowRange);
    EXPECT_EQ(outcome.message->icon, MsgIcon::None);
    EXPECT_EQ(outcome.focus, "SP-lower");
    form.SetText("SP-lower", "0");
    form.SetText("PT-upper", "1200.5");
    outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, kAboveRange);
    EXPECT_EQ(outcome.focus, "PT-upper");
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(m_ui.Messages().empty()) << "no safety prompt before the checks pass";
}

TEST_F(SensorLimitsFormTest, ALowerLimitEqualToTheUpperIsRefused) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP-lower", "250");
    const FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, kUpperNotAbove);
    EXPECT_EQ(outcome.focus, "DP-upper");
    EXPECT_EQ(outcome.result, FormResult::StayOpen);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SensorLimitsFormTest, ChangingOnlyPtWritesOnlyPtAfterTheSafetyPrompt) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP-lower", "-250.0");  // the same value typed differently
    form.SetText("PT-upper", "600");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegPtLimits});
    EXPECT_EQ(Writes()[0].quantity, 4) << "lower and upper together";
    EXPECT_DOUBLE_EQ(m_sim->UpperOperatingLimit(SimVariable::kPt), 600.0);
    EXPECT_DOUBLE_EQ(m_sim->LowerOperatingLimit(SimVariable::kPt), -40.0);
}

TEST_F(SensorLimitsFormTest, NothingChangedWritesNothingAndAsksNothing) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(SensorLimitsFormTest, CancelAtTheSafetyPromptKeepsTheWindowOpenWithNothingWritten) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("SP-upper", "700");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Cancel);
    EXPECT_EQ(form.Ok().result, FormResult::StayOpen);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SensorLimitsFormTest, ARejectionKeepsTheVariablesBeforeItWrittenAndTheWindowOpen) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP-lower", "-100");
    form.SetText("SP-upper", "700");
    form.SetText("PT-upper", "500");
    // The SP sensor range shrinks after the window read it: the transmitter
    // now refuses what the window still allows.
    m_sim->SetRangeLimits(SimVariable::kSp, 0.0, 600.0);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.ExpectWithIcon(LoadString(974), MsgIcon::None);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    const FormOutcome outcome = form.Ok();
    EXPECT_EQ(outcome.result, FormResult::StayOpen);
    EXPECT_EQ(outcome.focus, "SP-lower");
    EXPECT_FALSE(outcome.message) << "shown by the form itself, before the notice";
    EXPECT_EQ(WrittenRegisters(), (std::vector<uint16_t>{kRegDpLimits, kRegSpLimits}))
        << "PT is not tried after SP was rejected";
    EXPECT_DOUBLE_EQ(m_sim->LowerOperatingLimit(SimVariable::kDp), -100.0);
    EXPECT_NEAR(m_sim->UpperOperatingLimit(SimVariable::kSp), 800.0, 1e-6) << "SP as it was";
    EXPECT_NEAR(m_sim->UpperOperatingLimit(SimVariable::kPt), 400.0, 1e-6);

    // Once SP is put right, only SP and PT remain to be written.
    m_sim->ClearRequests();
    form.SetText("SP-upper", "550");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), (std::vector<uint16_t>{kRegSpLimits, kRegPtLimits}));
}

TEST_F(SensorLimitsFormTest, ARejectionOfTheFirstWriteShowsNoNotice) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP-upper", "200");
    m_sim->SetRangeLimits(SimVariable::kDp, -250.0, 150.0);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(LoadString(973));
    EXPECT_EQ(form.Ok().focus, "DP-lower");
}

TEST_F(SensorLimitsFormTest, AnAdjustedWriteCountsAsDone) {
    Connect();
    CRoundingLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP-upper", "99.6");
    form.SetText("PT-lower", "-10.2");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), (std::vector<uint16_t>{kRegDpLimits, kRegPtLimits}));
    EXPECT_DOUBLE_EQ(m_sim->UpperOperatingLimit(SimVariable::kDp), 100.0);
    EXPECT_DOUBLE_EQ(m_sim->LowerOperatingLimit(SimVariable::kPt), -10.0);
}

TEST_F(SensorLimitsFormTest, AnyOtherWriteFailureShowsConfigurationFailedAndAborts) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("SP-upper", "700");
    m_sim->SetWriteProtect(true);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    m_ui.Expect(LoadString(kIdConfigurationFailed));
    EXPECT_EQ(form.Ok().result, FormResult::Abort);
}

TEST_F(SensorLimitsFormTest, TextThatIsNoNumberIsRefused) {
    Connect();
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("PT-lower", "1e40");
    FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message) << "beyond what a float holds";
    EXPECT_EQ(outcome.message->text, texts::kEnterNumber);
    EXPECT_EQ(outcome.focus, "PT-lower");
    form.SetText("PT-lower", "");
    EXPECT_EQ(form.Ok().focus, "PT-lower");
}

TEST_F(SensorLimitsFormTest, AReadFailureAtOpeningIsShownAndTheWindowDoesNotOpen) {
    Connect();
    m_bench.line.SetExceptionRange(412, 453, 4);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    EXPECT_FALSE(form.Open());
}

// --- The document's operating limits -------------------------------------------

class SetupLimitsFormTest : public FormTest {};

TEST_F(SetupLimitsFormTest, TheFixedBoundsThemselvesAreAccepted) {
    CSetupLimitsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Setup Sensor Operating Limits");
    EXPECT_EQ(form.Field("SP-upper")->suffix, "psi");
    form.SetText("DP-lower", "-206539");
    form.SetText("DP-upper", "206539");
    form.SetText("SP-lower", "0");
    form.SetText("SP-upper", "25000");
    form.SetText("PT-upper", "1200");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Model().Dp().LowerOperatingLimit().Value(), -206539.0);
    EXPECT_EQ(Model().Sp().UpperOperatingLimit().Value(), 25000.0);
    EXPECT_EQ(Model().Pt().UpperOperatingLimit().Value(), 1200.0);
    EXPECT_TRUE(m_ui.Messages().empty()) << "Setup mode shows no safety boxes";
}

TEST_F(SetupLimitsFormTest, ValuesJustBeyondTheBoundsAreRefused) {
    const struct {
        const char* key;
        const char* text;
        std::string message;
        const char* focus;
    } cases[] = {
        {"SP-lower", "-0.01", kBelowRange, "SP-lower"},
        {"PT-upper", "1200.01", kAboveRange, "PT-upper"},
        {"PT-lower", "-40.5", kBelowRange, "PT-lower"},
        {"DP-upper", "206540", kAboveRange, "DP-upper"},
        {"DP-lower", "250", kUpperNotAbove, "DP-upper"},
    };
    for (const auto& c : cases) {
        CSetupLimitsForm form(Doc(), config::kSetupMode);
        ASSERT_TRUE(form.Open());
        form.SetText(c.key, c.text);
        const FormOutcome outcome = form.Ok();
        ASSERT_TRUE(outcome.message) << c.key << "=" << c.text;
        EXPECT_EQ(outcome.message->text, c.message) << c.key << "=" << c.text;
        EXPECT_EQ(outcome.focus, c.focus) << c.key << "=" << c.text;
    }
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(SetupLimitsFormTest, APassingVariableIsWrittenBeforeALaterOneIsRefused) {
    CSetupLimitsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP-upper", "100");
    form.SetText("SP-lower", "-1");
    const FormOutcome outcome = form.Ok();
    EXPECT_EQ(outcome.result, FormResult::StayOpen);
    EXPECT_EQ(outcome.focus, "SP-lower");
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Model().Dp().UpperOperatingLimit().Value(), 100.0);
    EXPECT_EQ(Model().Sp().LowerOperatingLimit().Value(), 0.0);

    // Put right, SP is written; DP stands as written.
    Doc().SetModified(false);
    form.SetText("SP-lower", "10");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().Sp().LowerOperatingLimit().Value(), 10.0);
    EXPECT_EQ(Model().Dp().UpperOperatingLimit().Value(), 100.0);
}

TEST_F(SetupLimitsFormTest, TheBoundsApplyToTheNumbersAsShownInTheirUnits) {
    Model().Pt().SetUnits(CUnit(32, transmitter::kVarPt));  // °C
    CSetupLimitsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Field("PT-lower")->text, "-40") << "-40 °F is -40 °C";
    EXPECT_EQ(form.Field("PT-upper")->suffix, "°C");
    form.SetText("PT-upper", "1100");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().Pt().UpperOperatingLimit().Value(), 1100.0);
    EXPECT_EQ(Model().Pt().UpperOperatingLimit().Unit().UnitCode(), 32);
}

TEST_F(SetupLimitsFormTest, OkWithoutChangesLeavesTheDocumentUnmodified) {
    CSetupLimitsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("SP-upper", "800.000");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(SetupLimitsFormTest, TheTerminalJoinsLowerAndUpper) {
    CSetupLimitsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    const std::vector<FormField> fields = form.TerminalFields();
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[2].key, "PT");
    EXPECT_EQ(fields[2].text, "-40:400");
    EXPECT_EQ(form.SetValue("PT", ":500"), "");
    EXPECT_EQ(form.Field("PT-lower")->text, "-40") << "an empty side keeps its field";
    EXPECT_EQ(form.Field("PT-upper")->text, "500");
    EXPECT_NE(form.SetValue("DP", "1:2:3"), "");
    EXPECT_NE(form.SetValue("DP", "100"), "");
    EXPECT_EQ(form.Field("DP-upper")->text, "250") << "a refused value changes nothing";
}

}  // namespace
