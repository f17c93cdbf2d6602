// The configuration forms under a desktop locale that writes decimal commas:
// they show and read numbers with a decimal point, and what they write to the
// transmitter is the number typed, not a number cut off at the point.
#include <gtest/gtest.h>

#include "config/CDampingForm.h"
#include "config/CSensorLimitsForm.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "tests/support/CScopedCLocale.h"
#include "transmitter/CTransmitter.h"

namespace {

class FormsUnderADecimalCommaTest : public FormTest {};

TEST_F(FormsUnderADecimalCommaTest, DampingIsShownAndReadWithADecimalPoint) {
    CScopedCLocale locale;
    ASSERT_TRUE(locale.Active());
    ASSERT_EQ(CScopedCLocale::DecimalPoint(), ",");

    CDampingForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Field("DP")->text, "0.896");

    // A comma is no number here, whatever the desktop writes.
    form.SetText("SP", "2,5");
    const FormOutcome refused = form.Ok();
    ASSERT_TRUE(refused.message);
    EXPECT_EQ(refused.message->text, texts::kEnterNumber);
    EXPECT_EQ(refused.focus, "SP");

    form.SetText("SP", "2.5");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().Sp().Damping().Get(), 2.5);
}

TEST_F(FormsUnderADecimalCommaTest, AFractionalDampingReachesTheTransmitterWhole) {
    Connect();
    CScopedCLocale locale;
    ASSERT_TRUE(locale.Active());

    CDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "2.25");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(m_sim->Damping(SimVariable::kDp), 2.25);
}

TEST_F(FormsUnderADecimalCommaTest, SensorLimitsShowPresentValuesAndLimitsWithADecimalPoint) {
    Connect();
    m_sim->SetOperatingLimits(SimVariable::kPt, -12.5, 400.75);
    CScopedCLocale locale;
    ASSERT_TRUE(locale.Active());

    CSensorLimitsForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Field("DP-present")->text, "25.0000");
    EXPECT_EQ(form.Field("PT-lower")->text, "-12.5");
    EXPECT_EQ(form.Field("PT-upper")->text, "400.75");

    form.SetText("PT-upper", "500.5");
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_DOUBLE_EQ(m_sim->UpperOperatingLimit(SimVariable::kPt), 500.5);
    EXPECT_DOUBLE_EQ(m_sim->LowerOperatingLimit(SimVariable::kPt), -12.5);
}

}  // namespace
