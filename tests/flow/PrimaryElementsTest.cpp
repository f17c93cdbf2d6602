#include "flow/PrimaryElements.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/CException.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"

namespace {
const CUnit kInches(47, 35);
const CUnit kMm(49, 35);
}  // namespace

TEST(PrimaryElements, Names) {
    EXPECT_EQ(flow::DiffProducerName(3), "ASME Orifice: 2\u00bdD and 8D Taps");
    EXPECT_EQ(flow::DiffProducerName(7), "Venturi:  Welded Sheet-iron Inlet");
    EXPECT_EQ(flow::DiffProducerName(12), LoadString(399));
    EXPECT_EQ(flow::DiffProducerName(-1), LoadString(399));
}

TEST(PrimaryElements, CornerTapOrificeReferenceValue) {
    // beta 0.5, Re 1e6: E = 0.5959 + 0.0312 * 0.5^2.1 - 0.184 * 0.5^8 = 0.6024589,
    // F / Re^0.75 = 91.71 * 0.5^2.5 / 31622.78 = 0.0005127; Cd = 0.6029716.
    EXPECT_NEAR(flow::DischargeCoefficient(0, 2.0, 4.0, 1e6), 0.6029716, 1e-7);
}

TEST(PrimaryElements, FlangeTapsSwitchTheirLTermAboveTwoPointThreeInches) {
    // Code 1 minus code 0 at the same geometry is -0.0337 b³/D + L.
    // D = 2.3, beta 0.5: L = 0.039 * 0.0625 / 0.9375 = 0.0026;
    //   difference = -0.0337 * 0.125 / 2.3 + 0.0026 = 0.00076848.
    // D = 2.31: L = 0.09 * 0.0625 / (2.31 * 0.9375) = 0.00259740;
    //   difference = -0.00182359 + 0.00259740 = 0.00077381.
    const double re = 1e5;
    EXPECT_NEAR(
        flow::DischargeCoefficient(1, 1.15, 2.3, re) - flow::DischargeCoefficient(0, 1.15, 2.3, re),
        0.00076848, 1e-8);
    EXPECT_NEAR(flow::DischargeCoefficient(1, 1.155, 2.31, re) -
                    flow::DischargeCoefficient(0, 1.155, 2.31, re),
                0.00077381, 1e-8);
}

TEST(PrimaryElements, ReaderHarrisGallagherAndItsSmallPipeTerm) {
    // Independent evaluation of the four lines of the equation, beta 0.5, Re 1e6.
    EXPECT_NEAR(flow::DischargeCoefficient(10, 2.0, 4.0, 1e6), 0.60326676, 1e-8);
    EXPECT_NEAR(flow::DischargeCoefficient(10, 1.4, 2.8, 1e6), 0.60307596, 1e-8);
    // Below 2.8 in the term 0.003 (1 - beta)(2.8 - D) is added.
    EXPECT_NEAR(flow::DischargeCoefficient(10, 1.0, 2.0, 1e6), 0.60399388, 1e-8);
}

TEST(PrimaryElements, IntegralOrificeColumnsAndSmallBore) {
    // beta 0.4, Re 1e4: (a0 + ... + a4 b⁴)/100 + (b0 + ... + b4 b⁴) per column.
    EXPECT_NEAR(flow::DischargeCoefficient(11, 0.4 * 0.8805, 0.8805, 1e4), 0.62229657, 1e-8);
    EXPECT_NEAR(flow::DischargeCoefficient(11, 0.4 * 1.332, 1.332, 1e4), 0.61728936, 1e-8);
    EXPECT_NEAR(flow::DischargeCoefficient(11, 0.4 * 1.5, 1.5, 1e4), 0.61804930, 1e-8);
    EXPECT_DOUBLE_EQ(flow::DischargeCoefficient(11, 0.065, 0.5, 1e4), 1.005529 - 6.75 / 100.0);
    double c1 = 0.0;
    EXPECT_FALSE(flow::OrificeExpansion(11, 0.065, 0.5, 1.4, c1));
    EXPECT_TRUE(flow::OrificeExpansion(11, 0.0659, 0.5, 1.4, c1));
}

TEST(PrimaryElements, ConstantVenturisNeedNoGeometry) {
    EXPECT_EQ(flow::DischargeCoefficient(5, 0.0, 0.0, 1e5), 0.995);
    EXPECT_EQ(flow::DischargeCoefficient(6, 0.0, 0.0, 1e5), 0.984);
    EXPECT_EQ(flow::DischargeCoefficient(7, 0.0, 0.0, 1e5), 0.985);
    // Venturi nozzle: 0.9858 - 0.196 * 0.5^4.5 = 0.9858 - 0.0086621 = 0.9771379
    EXPECT_NEAR(flow::DischargeCoefficient(9, 2.0, 4.0, 1e5), 0.9771379, 1e-7);
}

TEST(PrimaryElements, BadGeometryAndUnknownProducerAbandon) {
    CScriptedUi ui;
    ui.Expect(LoadString(340));
    EXPECT_THROW(flow::DischargeCoefficient(0, 4.0, 4.0, 1e5), CUserException);
    ui.Expect(LoadString(353));
    EXPECT_THROW(flow::DischargeCoefficient(12, 2.0, 4.0, 1e5), CUserException);
    ui.Expect(LoadString(343));
    EXPECT_THROW(flow::EdSquared(2.0, 0.0), CUserException);
    double c1 = 0.0;
    ui.Expect(LoadString(346));
    EXPECT_THROW(flow::OrificeExpansion(1, 2.0, 4.0, 0.0, c1), CUserException);
    ui.Expect(LoadString(346));
    EXPECT_THROW(flow::NozzleExpansionFactor(0.5, 2.0, 4.0, 1.0), CUserException);
}

TEST(PrimaryElements, OrificeExpansionCoefficients) {
    double c1 = 0.0;
    ASSERT_TRUE(flow::OrificeExpansion(1, 2.0, 4.0, 1.4, c1));
    // -(0.41 + 0.35 * 0.0625) / (27.72976 * 1.4) = -0.431875 / 38.821664 = -0.0111245875
    EXPECT_NEAR(c1, -0.0111245875, 1e-10);
    // Pipe taps: -(0.333 + 1.145 (0.25 + 0.7/32 + 12/8192)) / 38.821664 = -0.0165148
    ASSERT_TRUE(flow::OrificeExpansion(3, 2.0, 4.0, 1.4, c1));
    EXPECT_NEAR(c1, -(0.333 + 1.145 * (0.25 + 0.7 / 32.0 + 12.0 / 8192.0)) / 38.821664, 1e-10);
    EXPECT_FALSE(flow::OrificeExpansion(4, 2.0, 4.0, 1.4, c1));
    // An unknown producer is treated as an orifice.
    EXPECT_TRUE(flow::OrificeExpansion(12, 2.0, 4.0, 1.4, c1));
}

TEST(PrimaryElements, NozzleExpansionFactor) {
    EXPECT_EQ(flow::NozzleExpansionFactor(0.0, 2.0, 4.0, 1.4), 1.0);
    // x = 27.72976 * 0.1: tau = 0.9, beta 0.5, k 1.4:
    // tau^(2/k) = 0.8602648, 1 - tau^(0.4/1.4) = 0.0296544,
    // Y² = 0.9375 * 3.5 * 0.8602648 * 0.0296544 / ((1 - 0.0625 * 0.8602648) * 0.1) = 0.8846320,
    // Y = 0.9405488
    const double y = flow::NozzleExpansionFactor(2.772976, 2.0, 4.0, 1.4);
    const double tau = 0.9;
    const double t2k = std::pow(tau, 2.0 / 1.4);
    const double expected = std::sqrt(0.9375 * 3.5 * t2k * (1.0 - std::pow(tau, 0.4 / 1.4)) /
                                      ((1.0 - 0.0625 * t2k) * 0.1));
    EXPECT_NEAR(y, expected, 1e-12);
    EXPECT_NEAR(y, 0.9405488, 1e-7);
}

TEST(PrimaryElements, RecommendedRangeNotes) {
    CScriptedUi ui;
    // Within every limit.
    EXPECT_EQ(flow::CheckRecommendedRange(0, CLength(1.5, kInches), CLength(4.0, kInches)), 0);
    // Integral orifice in a 0.5 in line: the beta minimum drops to 0.01.
    EXPECT_EQ(flow::CheckRecommendedRange(11, CLength(0.025, kInches), CLength(0.5, kInches)), 0);

    ui.Expect(LoadString(2038) + " 0.492 inches");  // 12.5 mm
    EXPECT_NE(flow::CheckRecommendedRange(0, CLength(0.25, kInches), CLength(4.0, kInches)), 0);
    ui.Expect(LoadString(2038) + " 12.500 mm");
    EXPECT_NE(flow::CheckRecommendedRange(1, CLength(10.0, kMm), CLength(100.0, kMm)), 0);
    ui.Expect(LoadString(2039) + " 1.969 inches");  // 50 mm
    EXPECT_NE(flow::CheckRecommendedRange(4, CLength(0.5, kInches), CLength(1.5, kInches)), 0);
    ui.Expect(LoadString(2040) + " 250.00 mm");
    EXPECT_NE(flow::CheckRecommendedRange(5, CLength(150.0, kMm), CLength(300.0, kMm)), 0);
    ui.Expect(LoadString(2041) + " 0.200 ");
    EXPECT_NE(flow::CheckRecommendedRange(0, CLength(0.6, kInches), CLength(4.0, kInches)), 0);
    ui.Expect(LoadString(2042) + " 0.750 ");
    EXPECT_NE(flow::CheckRecommendedRange(0, CLength(3.5, kInches), CLength(4.0, kInches)), 0);
    ui.Expect(LoadString(340));
    EXPECT_EQ(flow::CheckRecommendedRange(0, CLength(4.0, kInches), CLength(4.0, kInches)), 2);
}
