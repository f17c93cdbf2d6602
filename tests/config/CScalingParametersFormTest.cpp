// The three integer-scaling parameter windows and the view of calculated
// factors: their checks, the focus they name and the records they hand back.
#include <gtest/gtest.h>

#include "config/CCalculatedFactorsForm.h"
#include "config/CEndpointsForm.h"
#include "config/CEnteredFactorsForm.h"
#include "config/CFactorsViewForm.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CMeasuredVariable.h"

namespace {

const UnitsNames kUnits = {"InH2O-60°F", "psi", "°F"};

ScalingRecords Records(uint16_t counts = 65534) {
    ScalingRecords records;
    const float pvs[3][2] = {{-250.0f, 250.0f}, {0.0f, 800.0f}, {-40.0f, 400.0f}};
    for (size_t i = 0; i < records.size(); ++i) {
        records[i].counts = counts;
        records[i].scaleFactor = 1;
        records[i].minPv = pvs[i][0];
        records[i].maxPv = pvs[i][1];
    }
    return records;
}

class ScalingParametersTest : public FormTest {
  protected:
    template <typename Form>
    std::unique_ptr<Form> Open(const ScalingRecords& records = Records()) {
        auto form = std::make_unique<Form>(Doc(), config::kSetupMode, records, kUnits);
        EXPECT_TRUE(form->Open());
        return form;
    }

    static void ExpectRefused(CConfigForm& form, const std::string& text, const std::string& focus,
                              MsgIcon icon = MsgIcon::None) {
        const FormOutcome outcome = form.Ok();
        ASSERT_TRUE(outcome.message) << focus;
        EXPECT_EQ(outcome.message->text, text) << focus;
        EXPECT_EQ(outcome.message->icon, icon) << focus;
        EXPECT_EQ(outcome.focus, focus);
        EXPECT_EQ(outcome.result, FormResult::StayOpen);
    }
};

// --- Entered Endpoints ------------------------------------------------------------

TEST_F(ScalingParametersTest, EndpointsAreCheckedRowByRowIntegersBeforePvs) {
    auto form = Open<CEndpointsForm>();
    EXPECT_EQ(form->Field("DP-max-integer")->text, "65534");
    EXPECT_EQ(form->Field("SP-max-pv")->suffix, "psi");
    form->SetText("DP-max-pv", "-300");  // refused later than the SP integer below
    form->SetText("SP-min-integer", "65535");
    ExpectRefused(*form, LoadString(2436), "DP-max-pv");
    form->SetText("DP-max-pv", "250");
    ExpectRefused(*form, LoadString(2434), "SP-min-integer");
    form->SetText("SP-min-integer", "-1");
    ExpectRefused(*form, LoadString(2434), "SP-min-integer");
    form->SetText("SP-min-integer", "65534");
    // The maximum integer must lie above the minimum.
    ExpectRefused(*form, LoadString(2435), "SP-max-integer");
    form->SetText("SP-min-integer", "100");
    form->SetText("PT-max-integer", "7.5");
    ExpectRefused(*form, LoadString(2434), "PT-max-integer");
    form->SetText("PT-max-integer", "60000");
    form->SetText("PT-min-pv", "400");
    ExpectRefused(*form, LoadString(2436), "PT-max-pv");
    form->SetText("PT-min-pv", "-40");
    EXPECT_EQ(form->Ok().result, FormResult::Ok);
    const ScalingRecords& records = form->Records();
    EXPECT_EQ(records[1].method, transmitter::kScalingEndpoints);
    EXPECT_EQ(records[1].minInteger, 100);
    EXPECT_EQ(records[2].maxInteger, 60000);
    EXPECT_EQ(records[0].maxPv, 250.0f);
}

TEST_F(ScalingParametersTest, APvLeftAsShownKeepsTheValueReadExactly) {
    ScalingRecords given = Records();
    given[0].minPv = 0.123456789f;  // shown "0.123457"
    given[0].maxPv = 10.0f;
    for (const char* typed : {"", "0.123457"}) {
        auto form = Open<CEndpointsForm>(given);
        EXPECT_EQ(form->Field("DP-min-pv")->text, "0.123457");
        if (*typed != '\0') form->SetText("DP-min-pv", typed);
        EXPECT_EQ(form->Ok().result, FormResult::Ok);
        EXPECT_EQ(form->Records()[0].minPv, 0.123456789f) << '"' << typed << '"';
    }
    auto changed = Open<CEndpointsForm>(given);
    changed->SetText("DP-min-pv", "0.12346");
    EXPECT_EQ(changed->Ok().result, FormResult::Ok);
    EXPECT_EQ(changed->Records()[0].minPv, 0.12346f);
}

// --- Entered Scale Factors and Offsets ------------------------------------------

TEST_F(ScalingParametersTest, TheCountsComeFirstAndBoundTheScaleFactors) {
    auto form = Open<CEnteredFactorsForm>();
    EXPECT_EQ(form->Field("counts")->label, "All Process Variables will be scaled from 0 to ");
    EXPECT_EQ(form->Field("counts")->suffix, " counts.");
    for (const char* counts : {"0", "65535", "x"}) {
        form->SetText("counts", counts);
        ExpectRefused(*form, LoadString(2437), "counts");
    }
    form->SetText("counts", "1000");
    form->SetText("SP-factor", "0");
    // DP's factor 1 passes; SP's 0 is refused.
    ExpectRefused(*form, "Please enter a scale factor between 1 and 1000", "SP-factor");
}

TEST_F(ScalingParametersTest, ScaleFactorZeroOrAboveTheCountsIsRefusedNamingTheCounts) {
    auto form = Open<CEnteredFactorsForm>();
    form->SetText("counts", "1000");
    form->SetText("DP-factor", "10");
    for (const char* factor : {"0", "1001"}) {
        form->SetText("SP-factor", factor);
        ExpectRefused(*form, "Please enter a scale factor between 1 and 1000", "SP-factor");
    }
    form->SetText("SP-factor", "1000");
    form->SetText("SP-offset", "65535");
    ExpectRefused(*form, LoadString(2438), "SP-offset");
}

TEST_F(ScalingParametersTest, EnteredFactorsGiveTheirPvs) {
    auto form = Open<CEnteredFactorsForm>();
    form->SetText("DP-factor", "131");
    form->SetText("DP-offset", "18");
    form->SetText("SP-offset", "32768");
    EXPECT_EQ(form->Ok().result, FormResult::Ok);
    const IntegerScalingRecord& dp = form->Records()[0];
    EXPECT_EQ(dp.method, transmitter::kScalingEnteredFactors);
    EXPECT_EQ(dp.counts, 65534);
    EXPECT_FLOAT_EQ(dp.minPv, -250.0f);                                 // (18 - 32768) / 131
    EXPECT_FLOAT_EQ(dp.maxPv, (65534.0f + 18.0f - 32768.0f) / 131.0f);  // 250.26
    EXPECT_FLOAT_EQ(form->Records()[1].maxPv, 65534.0f) << "factor 1, offset 32768";
}

// --- Calculated Scale Factors and Offsets --------------------------------------

TEST_F(ScalingParametersTest, TheRoundingsAreExactlyAsDefined) {
    using F = CCalculatedFactorsForm;
    EXPECT_EQ(F::Round(2.5, F::kRoundNearest), 3.0);
    EXPECT_EQ(F::Round(-2.5, F::kRoundNearest), -3.0) << "halves away from zero";
    EXPECT_EQ(F::Round(-2.4, F::kRoundNearest), -2.0);
    EXPECT_EQ(F::Round(-2.5, F::kRoundDown), -3.0);
    EXPECT_EQ(F::Round(2.9, F::kRoundDown), 2.0);
    EXPECT_EQ(F::Round(2.1, F::kRoundUp), 3.0);
    EXPECT_EQ(F::Round(-2.9, F::kRoundUp), -2.0);
}

TEST_F(ScalingParametersTest, MinusToPlus250Over65534CountsGivesFactor131AndOffset18) {
    const CalculatedFactors factors = CCalculatedFactorsForm::Calculate(
        65534, -250.0f, 250.0f, CCalculatedFactorsForm::kRoundNearest);
    EXPECT_EQ(factors.factor, 131.0);
    EXPECT_EQ(factors.offset, 18.0);
    EXPECT_TRUE(factors.InRange());

    auto form = Open<CCalculatedFactorsForm>();
    EXPECT_EQ(form->Field("DP-min-pv")->text, "-250");
    EXPECT_EQ(form->Field("rounding")->selected, 0);
    EXPECT_EQ(form->Ok().result, FormResult::Ok);
    IntegerScalingRecord dp = form->Records()[0];
    EXPECT_EQ(dp.method, transmitter::kScalingCalculatedFactors);
    EXPECT_EQ(dp.scaleFactor, 131);
    EXPECT_EQ(dp.offset, 18);
    EXPECT_EQ(dp.minPv, -250.0f) << "the PVs are kept as entered";
    EXPECT_EQ(dp.maxPv, 250.0f);
    CMeasuredVariable::DeriveFactorPvs(dp);
    EXPECT_FLOAT_EQ(dp.minPv, -250.0f) << "the factors lead back to the minimum entered";
}

TEST_F(ScalingParametersTest, DownAndUpRoundTheFactorAndTheOffset) {
    using F = CCalculatedFactorsForm;
    // 65534 / 500 = 131.068: down 131, up 132. Offsets: 131 x -200.25 + 32768 =
    // 6535.25 rounded down; 132 x -200.25 + 32768 = 6335 exactly.
    const CalculatedFactors down = F::Calculate(65534, -200.25f, 299.75f, F::kRoundDown);
    EXPECT_EQ(down.factor, 131.0);
    EXPECT_EQ(down.offset, 6535.0);
    const CalculatedFactors up = F::Calculate(65534, -200.25f, 299.75f, F::kRoundUp);
    EXPECT_EQ(up.factor, 132.0);
    EXPECT_EQ(up.offset, 6335.0);
}

TEST_F(ScalingParametersTest, AnOffsetBelowZeroNamesTheRoundingOnlyWhenRoundingUp) {
    auto form = Open<CCalculatedFactorsForm>();
    // 65534 / 1800 = 36.4: factor 36 (37 up), offset 36 x -1000 + 32768 < 0
    form->SetText("SP-min-pv", "-1000");
    ExpectRefused(*form, texts::kOffsetOutOfRange, "SP-min-pv", MsgIcon::Exclamation);
    // Rounded up, DP's offset already falls below 0: R(132 x -250 + 32768) = -232.
    form->SetChoice("rounding", CCalculatedFactorsForm::kRoundUp);
    ExpectRefused(*form, texts::kOffsetOutOfRangeRoundingUp, "DP-min-pv", MsgIcon::Exclamation);
    form->SetChoice("rounding", CCalculatedFactorsForm::kRoundDown);
    ExpectRefused(*form, texts::kOffsetOutOfRange, "SP-min-pv", MsgIcon::Exclamation);
}

TEST_F(ScalingParametersTest, AnOffsetAboveTheRangeIsRefusedToo) {
    auto form = Open<CCalculatedFactorsForm>();
    form->SetText("PT-min-pv", "100");
    form->SetText("PT-max-pv", "200");  // factor 655, offset 655 x 100 + 32768 > 65534
    ExpectRefused(*form, texts::kOffsetOutOfRange, "PT-min-pv", MsgIcon::Exclamation);
}

TEST_F(ScalingParametersTest, AFactorThatWouldBeZeroOrOverflowIsRefused) {
    auto form = Open<CCalculatedFactorsForm>();
    form->SetText("counts", "100");
    form->SetText("DP-min-pv", "-150");
    form->SetText("DP-max-pv", "150");  // 100 / 300 rounds to 0
    ExpectRefused(*form, texts::kFactorOutOfRange, "DP-min-pv", MsgIcon::Exclamation);
    form->SetText("counts", "65534");
    form->SetText("DP-min-pv", "0");
    form->SetText("DP-max-pv", "0.5");  // 131068 does not fit 16 bits
    ExpectRefused(*form, texts::kFactorOutOfRange, "DP-min-pv", MsgIcon::Exclamation);
    EXPECT_FALSE(CCalculatedFactorsForm::Calculate(65534, 0.0f, 0.5f, 0).factorInRange);
    EXPECT_TRUE(CCalculatedFactorsForm::Calculate(65534, 0.0f, 1.0f, 0).factorInRange);
}

TEST_F(ScalingParametersTest, CalculatedChecksCountsThenEachPvPair) {
    auto form = Open<CCalculatedFactorsForm>();
    form->SetText("SP-max-pv", "0");
    form->SetText("counts", "65535");
    ExpectRefused(*form, LoadString(2437), "counts");
    form->SetText("counts", "65534");
    ExpectRefused(*form, LoadString(2436), "SP-max-pv");
}

TEST_F(ScalingParametersTest, ViewFactorsShowsTheMessageOnceThenEveryFactor) {
    auto form = Open<CCalculatedFactorsForm>();
    form->SetText("SP-min-pv", "-1000");
    form->SetText("PT-min-pv", "-2000");  // also out of range; only SP's is told
    FormOutcome outcome;
    std::unique_ptr<CFactorsViewForm> view = form->ViewFactors(outcome);
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, texts::kOffsetOutOfRange);
    EXPECT_EQ(outcome.focus, "SP-min-pv");
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->Open());
    EXPECT_EQ(view->Caption(), texts::kCalculatedFactorsCaption);
    EXPECT_EQ(view->Field("counts")->text, "65534");
    EXPECT_EQ(view->Field("DP-factor")->text, "131");
    EXPECT_EQ(view->Field("DP-offset")->text, "18");
    EXPECT_EQ(view->Field("SP-factor")->text, "36");  // 65534 / 1800 = 36.4
    EXPECT_EQ(view->Field("SP-offset")->text, "*Out of Range*");
    EXPECT_EQ(view->Field("PT-offset")->text, "*Out of Range*");
    for (const FormField& field : view->Fields()) EXPECT_FALSE(field.enabled) << field.key;
    EXPECT_EQ(form->Records()[1].scaleFactor, 1) << "viewing changes no record";
}

TEST_F(ScalingParametersTest, ViewFactorsOfValuesThatCannotBeCalculatedOpensNoView) {
    auto form = Open<CCalculatedFactorsForm>();
    form->SetText("DP-max-pv", "-250");
    FormOutcome outcome;
    EXPECT_EQ(form->ViewFactors(outcome), nullptr);
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, LoadString(2436));
}

TEST_F(ScalingParametersTest, TheTerminalJoinsARowAndNamesTheRounding) {
    auto form = Open<CCalculatedFactorsForm>();
    EXPECT_EQ(form->SetVariableValue(2, "-100:"), "");
    EXPECT_EQ(form->Field("PT-min-pv")->text, "-100");
    EXPECT_EQ(form->Field("PT-max-pv")->text, "400");
    EXPECT_EQ(form->SetVariableValue(0, "1:2:3"),
              "DP takes MINPV:MAXPV; a part left empty keeps its value");
    EXPECT_EQ(form->SetValue("rounding", "up"), "");
    EXPECT_EQ(form->Field("rounding")->selected, CCalculatedFactorsForm::kRoundUp);
    EXPECT_NE(form->SetValue("rounding", "sideways"), "");
}

}  // namespace
