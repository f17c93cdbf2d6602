#include "config/CUnitsForm.h"

#include <gtest/gtest.h>

#include "link/ErrorReport.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr uint16_t kRegUnitsDp = 59;
constexpr uint16_t kRegUnitsSp = 60;
constexpr uint16_t kRegScalingMethod = 203;

class UnitsFormTest : public FormTest {
  protected:
    // The list position of a unit name in a field.
    static int PositionOf(const CConfigForm& form, const std::string& key,
                          const std::string& name) {
        const FormField* field = form.Field(key);
        for (size_t i = 0; i < field->choices.size(); ++i)
            if (field->choices[i] == name) return static_cast<int>(i);
        return -1;
    }
};

TEST_F(UnitsFormTest, OpensWithTheAllowedUnitsAndTheUnitsReadSelected) {
    Connect();
    CUnitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Transmitter Units");
    const FormField& sp = *form.Field("SP");
    EXPECT_EQ(sp.label, "&SP:");
    ASSERT_EQ(sp.choices.size(), 3u);
    // The simulator starts SP in psi, the first unit SP allows.
    EXPECT_EQ(sp.Shown(), "psi");
    EXPECT_EQ(form.Field("DP")->selected, 0);
    EXPECT_EQ(form.Field("PT")->Shown(), "°F");
}

TEST_F(UnitsFormTest, OkWithoutAChangeWritesNothingAndAsksNothing) {
    Connect();
    CUnitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(UnitsFormTest, ChangingOnlySpWritesOnlySpBetweenTheSafetyBoxes) {
    Connect();
    CUnitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("SP", 1);
    const std::string chosen = form.Field("SP")->Shown();
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegUnitsSp});
    EXPECT_EQ(Model().Sp().ReadUnits(transmitter::kAccessTransmitter).Name(), chosen);
}

TEST_F(UnitsFormTest, SafetyPromptCancelledClosesWithoutWriting) {
    Connect();
    CUnitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("DP", 2);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Cancel);
    EXPECT_EQ(form.Ok().result, FormResult::Cancel);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(UnitsFormTest, FactorScalingMethodsRemindToRecalculateAndCancelKeepsTheWindowOpen) {
    Connect();
    for (uint16_t method : {2, 3}) {
        ASSERT_TRUE(m_sim->SetHoldingRegister(kRegScalingMethod, method));
        CUnitsForm form(Doc(), config::kTransmitterMode);
        ASSERT_TRUE(form.Open());
        form.SetChoice("PT", 1);
        m_ui.ExpectWithIcon(texts::kRecalculateScaling, MsgIcon::Exclamation, MsgAnswer::Cancel);
        const FormOutcome outcome = form.Ok();
        EXPECT_EQ(outcome.result, FormResult::StayOpen) << "method " << method;
        EXPECT_FALSE(outcome.message);
        EXPECT_TRUE(Writes().empty()) << "method " << method;
    }
    CUnitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("PT", 1);
    m_ui.Expect(texts::kRecalculateScaling, MsgAnswer::Ok);
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Writes().size(), 1u);
}

TEST_F(UnitsFormTest, DisabledAndEndpointMethodsNeedNoReminder) {
    Connect();
    for (uint16_t method : {0, 1}) {
        ASSERT_TRUE(m_sim->SetHoldingRegister(kRegScalingMethod, method));
        CUnitsForm form(Doc(), config::kTransmitterMode);
        ASSERT_TRUE(form.Open());
        form.SetChoice("DP", form.Field("DP")->selected == 1 ? 2 : 1);
        ExpectSafetyAndNotice();
        EXPECT_EQ(form.Ok().result, FormResult::Ok) << "method " << method;
    }
    EXPECT_EQ(WrittenRegisters(), (std::vector<uint16_t>{kRegUnitsDp, kRegUnitsDp}));
}

TEST_F(UnitsFormTest, ADeviceWithoutIntegerScalingCountsAsMethodDisabled) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.integerScalingSupported = false;
    Connect(options);
    CUnitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("SP", 2);
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegUnitsSp});
}

TEST_F(UnitsFormTest, AFailedMethodReadIsShownAndKeepsTheWindowOpen) {
    Connect();
    CUnitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("SP", 1);
    m_bench.line.SetExceptionRange(kRegScalingMethod, kRegScalingMethod, 4);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    const FormOutcome outcome = form.Ok();
    EXPECT_EQ(outcome.result, FormResult::StayOpen);
}

TEST_F(UnitsFormTest, AFailedWriteShowsItsTextThenConfigurationFailedAndAborts) {
    Connect();
    CUnitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("SP", 1);
    m_sim->SetWriteProtect(true);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    m_ui.ExpectWithIcon(LoadString(kIdConfigurationFailed), MsgIcon::Stop);
    EXPECT_EQ(form.Ok().result, FormResult::Abort);
}

TEST_F(UnitsFormTest, SetupModeWritesTheDocumentWithoutPromptsAndMarksItModified) {
    CUnitsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Setup Units");
    EXPECT_EQ(form.Field("PT")->Shown(), "°F");
    const int celsius = PositionOf(form, "PT", "°C");
    ASSERT_GE(celsius, 0);
    form.SetChoice("PT", celsius);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Model().Pt().Units().Name(), "°C");
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(UnitsFormTest, TheTerminalNamesAUnitByItsListTextOrItsCode) {
    CUnitsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.SetValue("PT", "°C"), "");
    EXPECT_EQ(form.Field("PT")->Shown(), "°C");
    EXPECT_EQ(form.SetValue("PT", "33"), "");
    EXPECT_EQ(form.Field("PT")->Shown(), "°F");
    const std::string refused = form.SetValue("PT", "kelvin");
    EXPECT_NE(refused.find("\"kelvin\" is not in the list"), std::string::npos) << refused;
    EXPECT_NE(refused.find("°F = 33"), std::string::npos) << refused;
    EXPECT_EQ(form.Field("PT")->Shown(), "°F") << "a refused value changes nothing";
}

}  // namespace

namespace {

TEST_F(UnitsFormTest, AnInvalidUnitsCodeIsOfferedForRepairAtOpening) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.unitsCodes[0] = SimTransmitterOptions::kInvalidUnitsCode;
    Connect(options);
    const std::string prompt = LoadString(364) + Model().Dp().Name() + LoadString(365) +
                               Model().Dp().AllowedUnits()[0].Name() + texts::kQuestionEnd;
    m_ui.ExpectWithIcon(prompt, MsgIcon::Stop, MsgAnswer::Cancel);
    CUnitsForm refused(Doc(), config::kTransmitterMode);
    EXPECT_FALSE(refused.Open()) << "Cancel abandons the window silently";
    EXPECT_TRUE(Writes().empty());

    m_ui.Expect(prompt, MsgAnswer::Ok);
    CUnitsForm repaired(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(repaired.Open());
    EXPECT_EQ(repaired.Field("DP")->selected, 0);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegUnitsDp});
}

}  // namespace
