#include "config/CDataFormatsForm.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "config/CCalculatedFactorsForm.h"
#include "config/CEndpointsForm.h"
#include "link/ErrorReport.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr uint16_t kRegCounts = 124;
constexpr uint16_t kRegFloatFormat = 131;
constexpr uint16_t kRegEndpointIntegers = 187;
constexpr uint16_t kRegScaleFactors = 197;
constexpr uint16_t kRegScalingMethod = 203;
constexpr uint16_t kRegEndpointPvs = 468;

class DataFormatsFormTest : public FormTest {
  protected:
    void ConnectWithMethod(uint16_t method) {
        SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
        options.integerScalingMethod = method;
        Connect(options);
    }

    size_t ReadsOf(uint16_t address) const {
        const auto requests = m_sim->Requests();
        return static_cast<size_t>(std::count_if(requests.begin(), requests.end(), [&](auto& r) {
            return r.function == 3 && r.address == address;
        }));
    }

    // Chooses a method as the list does and runs its parameter window with
    // `edit`, then OK there.
    template <typename Edit>
    void ChooseAndAccept(CDataFormatsForm& form, int method, Edit edit) {
        form.SetChoice("scaling", method);
        ASSERT_EQ(form.TakeSelection(), CDataFormatsForm::Selection::OpenParameters);
        std::unique_ptr<CScalingParametersForm> parameters = form.ParameterForm();
        ASSERT_NE(parameters, nullptr);
        ASSERT_TRUE(parameters->Open());
        edit(*parameters);
        ASSERT_EQ(parameters->Ok().result, FormResult::Ok);
        form.AcceptParameters(*parameters);
    }
};

TEST_F(DataFormatsFormTest, EachFormatSendsTheBytesInItsOrder) {
    EXPECT_EQ(CDataFormatsForm::ByteOrder(0), "ABCD");
    EXPECT_EQ(CDataFormatsForm::ByteOrder(1), "CDAB");
    EXPECT_EQ(CDataFormatsForm::ByteOrder(2), "DCBA");
    EXPECT_EQ(CDataFormatsForm::ByteOrder(3), "BADC");
    EXPECT_EQ(CDataFormatsForm::ByteOrder(4), "");
    CDataFormatsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Setup Data Formats");
    EXPECT_EQ(form.Field("float-format")->choices[2], "Format 2");
    form.SetChoice("float-format", 2);
    EXPECT_EQ(form.SelectedByteOrder(), "DCBA");
}

TEST_F(DataFormatsFormTest, OpeningReadsFormatMethodAndTheCurrentSetOnce) {
    ConnectWithMethod(transmitter::kScalingEndpoints);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Data Formats");
    EXPECT_EQ(form.Field("scaling")->Shown(), "Entered Endpoints");
    EXPECT_TRUE(form.ParametersEnabled());
    EXPECT_EQ(ReadsOf(kRegEndpointIntegers), 1u);
    EXPECT_EQ(ReadsOf(kRegScaleFactors), 0u) << "only the current method's set";

    form.SetChoice("scaling", 0);
    EXPECT_EQ(form.TakeSelection(), CDataFormatsForm::Selection::None) << "Disabled has none";
    EXPECT_FALSE(form.ParametersEnabled());
    EXPECT_EQ(form.AcceptedMethod(), 0);
    form.SetChoice("scaling", 1);
    EXPECT_EQ(form.TakeSelection(), CDataFormatsForm::Selection::OpenParameters);
    form.RejectParameters();
    EXPECT_EQ(form.CurrentMethod(), 0) << "Cancel there goes back to the method accepted";
    EXPECT_EQ(form.Field("scaling")->selected, 0);
    form.SetChoice("scaling", 2);
    form.RejectParameters();
    form.SetChoice("scaling", 3);
    EXPECT_EQ(ReadsOf(kRegEndpointIntegers), 1u) << "each set is read once while open";
    EXPECT_EQ(ReadsOf(kRegScaleFactors), 1u) << "methods 2 and 3 share one set";
    EXPECT_TRUE(Writes().empty());
}

TEST_F(DataFormatsFormTest, ADeviceWithoutIntegerScalingClosesTheWindowAtOpening) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.integerScalingSupported = false;
    Connect(options);
    m_ui.Expect(LoadString(972));
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    EXPECT_FALSE(form.Open());
}

TEST_F(DataFormatsFormTest, SwitchingFrom2To3AloneIsNoChangeOnline) {
    ConnectWithMethod(transmitter::kScalingEnteredFactors);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    ChooseAndAccept(form, 3, [](CScalingParametersForm& parameters) {
        // The PVs the transmitter's factors give, and back to the same factors.
        EXPECT_EQ(parameters.Field("DP-min-pv")->text, "-250");
    });
    EXPECT_EQ(form.Field("scaling")->choices[3], "Calculated Scale Factor & Offset")
        << "no '*': the factors are those read";
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(m_ui.Messages().empty()) << "no safety prompt";
}

TEST_F(DataFormatsFormTest, SwitchingFrom2To3InSetupModeIsAChange) {
    Model().SetIntegerScalingMethod(transmitter::kScalingEnteredFactors);
    CDataFormatsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    ChooseAndAccept(form, 3, [](CScalingParametersForm&) {});
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().IntegerScalingMethod(), transmitter::kScalingCalculatedFactors);
    EXPECT_EQ(Model().Dp().IntegerScaling().method, transmitter::kScalingCalculatedFactors);
    EXPECT_EQ(Model().Dp().IntegerScaling().scaleFactor, 131);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(DataFormatsFormTest, ChangedEndpointsAreWrittenMethodFirstThenTheWholeSet) {
    ConnectWithMethod(transmitter::kScalingDisabled);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    ChooseAndAccept(form, 1, [](CScalingParametersForm& parameters) {
        parameters.SetText("SP-max-integer", "32000");
    });
    EXPECT_EQ(form.Field("scaling")->choices[1], "Entered Endpoints*");
    form.SetChoice("float-format", 2);
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), (std::vector<uint16_t>{kRegFloatFormat, kRegScalingMethod,
                                                         kRegEndpointIntegers, kRegEndpointPvs}));
    EXPECT_EQ(m_sim->FloatFormat(), 2);
    EXPECT_EQ(m_sim->IntegerScalingMethod(), transmitter::kScalingEndpoints);
    EXPECT_EQ(m_sim->HoldingRegister(kRegEndpointIntegers + 3), 32000);
    // The PVs went out in the new byte order and arrived intact.
    EXPECT_FLOAT_EQ(m_sim->Float(kRegEndpointPvs + 6), 800.0f);
}

TEST_F(DataFormatsFormTest, OnlyTheFormatIsWrittenWhenOnlyTheFormatChanged) {
    ConnectWithMethod(transmitter::kScalingEnteredFactors);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("float-format", 1);
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegFloatFormat});
}

TEST_F(DataFormatsFormTest, ChangedFactorsWriteTheCountsAndTheFactorSet) {
    ConnectWithMethod(transmitter::kScalingEnteredFactors);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("scaling", 2);
    EXPECT_EQ(form.TakeSelection(), CDataFormatsForm::Selection::None) << "already accepted";
    std::unique_ptr<CScalingParametersForm> parameters = form.ParameterForm();
    ASSERT_TRUE(parameters->Open());
    parameters->SetText("PT-offset", "26000");
    ASSERT_EQ(parameters->Ok().result, FormResult::Ok);
    form.AcceptParameters(*parameters);
    EXPECT_EQ(form.Field("scaling")->choices[2], "Entered Scale Factor & Offset*");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(),
              (std::vector<uint16_t>{kRegScalingMethod, kRegCounts, kRegScaleFactors}));
    EXPECT_EQ(m_sim->HoldingRegister(kRegScaleFactors + 5), 26000);
    EXPECT_EQ(m_sim->HoldingRegister(kRegScaleFactors), 131) << "DP as read";
}

TEST_F(DataFormatsFormTest, DisablingWritesTheMethodAndNoSet) {
    ConnectWithMethod(transmitter::kScalingEndpoints);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("scaling", 0);
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegScalingMethod});
    EXPECT_EQ(m_sim->IntegerScalingMethod(), 0);
}

TEST_F(DataFormatsFormTest, CancelAtTheSafetyPromptLeavesTheWindowOpen) {
    ConnectWithMethod(transmitter::kScalingDisabled);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("float-format", 3);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Cancel);
    EXPECT_EQ(form.Ok().result, FormResult::StayOpen);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(DataFormatsFormTest, AWriteFailureShowsConfigurationFailedAndAborts) {
    ConnectWithMethod(transmitter::kScalingDisabled);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetChoice("float-format", 2);
    form.SetChoice("scaling", 0);
    ChooseAndAccept(form, 1, [](CScalingParametersForm& p) { p.SetText("DP-min-integer", "5"); });
    m_bench.line.SetExceptionRange(kRegScalingMethod, kRegScalingMethod, 4);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    m_ui.Expect(LoadString(kIdConfigurationFailed));
    EXPECT_EQ(form.Ok().result, FormResult::Abort);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegFloatFormat})
        << "the format went first; the method was refused on the line, no set followed";
    EXPECT_EQ(m_sim->HoldingRegister(kRegEndpointIntegers), 0);
}

TEST_F(DataFormatsFormTest, AReadFailureWhenChoosingAMethodClosesTheWindow) {
    ConnectWithMethod(transmitter::kScalingDisabled);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    m_bench.line.SetExceptionRange(kRegEndpointIntegers, kRegEndpointIntegers + 5, 4);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    form.SetChoice("scaling", 1);
    EXPECT_EQ(form.TakeSelection(), CDataFormatsForm::Selection::Failed);
    EXPECT_EQ(form.Ok().result, FormResult::Abort);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(DataFormatsFormTest, SetupModeStoresTheRecordsWithTheMethodAndMarksTheDocument) {
    CDataFormatsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    ChooseAndAccept(form, 3, [](CScalingParametersForm& parameters) {
        parameters.SetText("PT-max-pv", "200");
        parameters.SetChoice("rounding", CCalculatedFactorsForm::kRoundDown);
    });
    EXPECT_FALSE(Doc().IsModified()) << "nothing is stored before OK";
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Model().IntegerScalingMethod(), 3);
    const IntegerScalingRecord& pt = Model().Pt().IntegerScaling();
    EXPECT_EQ(pt.method, 3);
    EXPECT_EQ(pt.rounding, CCalculatedFactorsForm::kRoundDown);
    EXPECT_EQ(pt.maxPv, 200.0f);
    EXPECT_EQ(pt.scaleFactor, 273);  // 65534 / 240 = 273.06, rounded down
    EXPECT_EQ(pt.offset, 21848);     // 273 x -40 + 32768
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(DataFormatsFormTest, TheTerminalGivesTheParametersAsKeys) {
    ConnectWithMethod(transmitter::kScalingEnteredFactors);
    CDataFormatsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    const std::vector<FormField> fields = form.TerminalFields();
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(fields[1].key, "byte-order");
    EXPECT_EQ(fields[1].text, "A B C D");
    EXPECT_EQ(fields[3].key, "counts");
    EXPECT_EQ(fields[4].text, "131:18");
    EXPECT_EQ(fields[6].text, "148:26848");

    EXPECT_EQ(form.SetValue("scaling", "1"), "");
    EXPECT_EQ(form.SetValue("DP", "10:20:-1:1"), "");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(),
              (std::vector<uint16_t>{kRegScalingMethod, kRegEndpointIntegers, kRegEndpointPvs}));
    EXPECT_EQ(m_sim->HoldingRegister(kRegEndpointIntegers), 10);
    EXPECT_EQ(m_sim->HoldingRegister(kRegEndpointIntegers + 1), 20);
}

TEST_F(DataFormatsFormTest, TerminalParametersPassTheParameterWindowsChecks) {
    CDataFormatsForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetValue("DP", "1:2");
    FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, "DP is not a parameter of the scaling method \"Disabled\"");

    CDataFormatsForm factors(Doc(), config::kSetupMode);
    ASSERT_TRUE(factors.Open());
    factors.SetValue("scaling", "Entered Scale Factor & Offset");
    factors.SetValue("counts", "500");
    factors.SetValue("SP", "501:");
    outcome = factors.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, "Please enter a scale factor between 1 and 500");
    factors.SetValue("rounding", "up");
    EXPECT_EQ(
        factors.Ok().message->text,
        "rounding is not a parameter of the scaling method \"Entered Scale Factor & Offset\"");
    EXPECT_FALSE(Doc().IsModified());
}

}  // namespace
