#include "config/CTestCalculationForm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "link/ErrorReport.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

namespace {

using Block = CTestCalculationForm::Block;

// A transmitter's side of the legacy requests: records the test-calculation
// requests and answers the reads with the blocks a test sets.
struct CTestCalculationDevice {
    std::vector<Block> requests;
    Block echo{};
    Block results{};
    int echoReads = 0;
    int32_t failReadsWith = 0;

    CComm::LegacyTransport Transport() {
        return [this](int command, const std::vector<uint8_t>& request,
                      std::vector<uint8_t>& reply) -> int32_t {
            if (command == 165) {
                Block block{};
                std::copy(request.begin(), request.end(), block.begin());
                requests.push_back(block);
                return 0;
            }
            if (command != 166) return 0;
            if (failReadsWith != 0) return failReadsWith;
            const Block& answer =
                request[0] == CTestCalculationForm::kEchoSelector ? echo : results;
            if (request[0] == CTestCalculationForm::kEchoSelector) ++echoReads;
            std::copy(answer.begin(), answer.end(), reply.begin() + 2);
            return 0;
        };
    }
};

Block BlockOf(const std::array<float, 6>& values, uint8_t code = 1) {
    Block block{};
    block[0] = code;
    for (size_t k = 0; k < values.size(); ++k) {
        uint32_t bits = 0;
        std::memcpy(&bits, &values[k], sizeof bits);
        for (size_t i = 0; i < 4; ++i) block[1 + 4 * k + i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    return block;
}

class TestCalculationFormTest : public FormTest {
  protected:
    void SetUp() override {
        Connect();
        Model().Comm().SetLegacyTransport(m_device.Transport());
    }

    // A form whose clock the test moves.
    std::unique_ptr<CTestCalculationForm> OpenForm() {
        auto form = std::make_unique<CTestCalculationForm>(Doc(), config::kTransmitterMode,
                                                           [this] { return m_now; });
        EXPECT_TRUE(form->Open());
        return form;
    }

    void Advance(int ms) { m_now += std::chrono::milliseconds(ms); }

    CTestCalculationDevice m_device;
    std::chrono::steady_clock::time_point m_now{};
};

TEST_F(TestCalculationFormTest, OpensWithThePresentValuesInTheirUnitsAndUnknownResults) {
    auto form = OpenForm();
    EXPECT_EQ(form->Caption(), "Test Calculation");
    EXPECT_EQ(form->Field("DP")->text, "25");
    EXPECT_EQ(form->Field("SP")->text, "300");
    EXPECT_EQ(form->Field("PT")->text, "70");
    EXPECT_EQ(form->Field("SP-unit")->Shown(), "psi");
    EXPECT_EQ(form->Field("PT-unit")->Shown(), "°F");
    for (const char* key : {"mass-flow", "density", "gas-expansion", "discharge-coefficient",
                            "reynolds", "viscosity"}) {
        EXPECT_EQ(form->Field(key)->text, "Unknown") << key;
    }
}

TEST_F(TestCalculationFormTest, TheRequestCarriesTheInputsInFixedUnitsAndNegativesAsZero) {
    auto form = OpenForm();
    form->SetText("DP", "-5");
    ASSERT_EQ(form->SetValue("SP-unit", "kPa"), "");
    form->SetText("SP", "689.476");
    form->SetText("PT", "70");
    EXPECT_EQ(form->Ok().result, FormResult::StayOpen);
    ASSERT_EQ(m_device.requests.size(), 1u);
    const Block& sent = m_device.requests[0];
    EXPECT_EQ(sent[0], 1);
    const std::array<float, 6> values = CTestCalculationForm::Values(sent);
    EXPECT_EQ(values[0], 0.0f) << "a negative DP is sent as 0";
    EXPECT_EQ(values[1], 0.0f);
    EXPECT_NEAR(values[2], 100.0, 1e-3) << "689.476 kPa in psi";
    EXPECT_NEAR(values[3], 10.0, 1e-4);
    EXPECT_NEAR(values[4], 529.67, 1e-3) << "70 °F in °R";
    EXPECT_NEAR(values[5], std::sqrt(529.67), 1e-4);
    EXPECT_TRUE(form->Waiting());
}

TEST_F(TestCalculationFormTest, ATransmitterThatNeverAnswersIsGivenUpAfterNinetySeconds) {
    auto form = OpenForm();
    ASSERT_EQ(form->Ok().result, FormResult::StayOpen);
    for (int t = 2; t < 90; t += 2) {
        Advance(CTestCalculationForm::kPollIntervalMs);
        form->Poll();
        ASSERT_TRUE(form->Waiting()) << t << " s";
    }
    m_ui.ExpectWithIcon(LoadString(3310), MsgIcon::Stop);
    Advance(CTestCalculationForm::kPollIntervalMs);
    form->Poll();
    EXPECT_FALSE(form->Waiting());
    EXPECT_EQ(m_device.echoReads, 45);
    EXPECT_EQ(form->Field("mass-flow")->text, "Unknown");
}

TEST_F(TestCalculationFormTest, AnEchoWithinTheToleranceShowsTheResults) {
    auto form = OpenForm();
    ASSERT_EQ(form->Ok().result, FormResult::StayOpen);
    std::array<float, 6> echoed = CTestCalculationForm::Values(m_device.requests[0]);
    for (float& value : echoed) value *= 1.0f + 2.5e-7f;
    m_device.echo = BlockOf(echoed);
    m_device.results = BlockOf({12.5f, 2.0f, 0.995f, 0.6f, 150000.0f, 4.0f});
    Advance(2000);
    form->Poll();
    EXPECT_FALSE(form->Waiting());
    EXPECT_EQ(form->Field("mass-flow")->text, "12.5");
    EXPECT_EQ(form->Field("density")->text, "4") << "the square of the value returned";
    EXPECT_EQ(form->Field("gas-expansion")->text, "0.995");
    EXPECT_EQ(form->Field("discharge-coefficient")->text, "0.6");
    EXPECT_EQ(form->Field("reynolds")->text, "150000");
    EXPECT_EQ(form->Field("viscosity")->text, "0.25") << "one over the value returned";
}

TEST_F(TestCalculationFormTest, AnEchoOutsideTheToleranceOrWithAnotherCodeKeepsPolling) {
    auto form = OpenForm();
    ASSERT_EQ(form->Ok().result, FormResult::StayOpen);
    std::array<float, 6> echoed = CTestCalculationForm::Values(m_device.requests[0]);
    echoed[4] *= 1.0f + 6e-7f;
    m_device.echo = BlockOf(echoed);
    Advance(2000);
    form->Poll();
    EXPECT_TRUE(form->Waiting());
    m_device.echo = BlockOf(CTestCalculationForm::Values(m_device.requests[0]), 2);
    Advance(2000);
    form->Poll();
    EXPECT_TRUE(form->Waiting());
    m_device.echo = BlockOf(CTestCalculationForm::Values(m_device.requests[0]));
    Advance(2000);
    form->Poll();
    EXPECT_FALSE(form->Waiting());
}

TEST_F(TestCalculationFormTest, ACommunicationErrorEndsTheWaitWithItsText) {
    auto form = OpenForm();
    ASSERT_EQ(form->Ok().result, FormResult::StayOpen);
    m_device.failReadsWith = 23;  // the transmitter went offline
    m_ui.Expect(LoadString(CommErrorMessageId(commerr::kOffline)));
    Advance(2000);
    form->Poll();
    EXPECT_FALSE(form->Waiting());
}

TEST_F(TestCalculationFormTest, AValueTheTransmitterCannotGiveIsShownEmptyAndSentAsZero) {
    m_sim->SetPresentValueSetPoint(SimVariable::kSp, std::nan(""));
    auto form = OpenForm();
    EXPECT_EQ(form->Field("SP")->text, "");
    ASSERT_EQ(form->Ok().result, FormResult::StayOpen);
    ASSERT_EQ(m_device.requests.size(), 1u);
    EXPECT_EQ(CTestCalculationForm::Values(m_device.requests[0])[2], 0.0f);
}

TEST_F(TestCalculationFormTest, InputsThatAreNoNumbersAreRefused) {
    auto form = OpenForm();
    form->SetText("PT", "warm");
    const FormOutcome outcome = form->Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, texts::kEnterNumber);
    EXPECT_EQ(outcome.focus, "PT");
    EXPECT_TRUE(m_device.requests.empty());
}

TEST_F(TestCalculationFormTest, TheHiddenRefreshShowsTheLastAnswerAndItsInputs) {
    auto form = OpenForm();
    m_device.echo = BlockOf({36.0f, 6.0f, 100.0f, 10.0f, 559.67f, 23.66f});
    m_device.results = BlockOf({1.0f, 3.0f, 1.0f, 0.6f, 1000.0f, 2.0f});
    form->RefreshFromTransmitter();
    EXPECT_EQ(form->Field("density")->text, "9");
    EXPECT_EQ(form->Field("SP")->text, "100");
    EXPECT_EQ(form->Field("PT")->text, "100") << "559.67 °R in the °F chosen";
}

}  // namespace
