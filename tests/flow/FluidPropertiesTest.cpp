#include "flow/FluidProperties.h"

#include <gtest/gtest.h>

#include <cmath>

#include "resources/Strings.h"
#include "tests/flow/TestSupport.h"
#include "tests/support/CScriptedUi.h"

using flow::Record;

TEST(FluidProperties, LiquidDensityAtTheCriticalConstantIsMwTimesAOverB) {
    const Record water = {0.97343294, 0.12470991, 647.096, 0.1, 0};
    EXPECT_DOUBLE_EQ(flow::LiquidDensity(water, 18.015, 647.096), 18.015 * 0.97343294 / 0.12470991);
    // Water at 293.15 K: 998 kg/m3 from the steam tables; the correlation
    // gives it within 0.5 %.
    EXPECT_NEAR(flow::LiquidDensity(water, 18.015, 293.15), 998.2, 5.0);
}

TEST(FluidProperties, VirialCoefficientZeroAtTRetriesHalfAKelvinHigher) {
    // B(T) = 1 - 300/T is zero at 300 K; at 300.5 K it is 0.5/300.5.
    const Record c = {1.0, -300.0, 0, 0, 0};
    double rho = 0.0;
    ASSERT_TRUE(flow::GasMolarDensityRoot(flow::Root::Upper, c, 300.0, 1e5, rho));
    const double b = 1.0 - 300.0 / 300.5;
    const double q = 1.0 / (b * b) + 4.0 * 1e5 / (b * 8314.41 * 300.5);
    EXPECT_DOUBLE_EQ(rho, -0.5 / b + 0.5 * std::sqrt(q));
    // A coefficient that is zero at every try.
    const Record zero = {0, 0, 0, 0, 0};
    EXPECT_FALSE(flow::GasMolarDensityRoot(flow::Root::Lower, zero, 300.0, 1e5, rho));
}

TEST(FluidProperties, ZeroDiscriminantGivesTheDoubleRoot) {
    // q = 1/B² + 4P/(B R T) = 0 for B = -1 and P = R T / 4.
    const Record c = {-1.0, 0, 0, 0, 0};
    const double t = 300.0;
    const double p = 8314.41 * t / 4.0;
    double lower = 0.0;
    double upper = 0.0;
    ASSERT_TRUE(flow::GasMolarDensityRoot(flow::Root::Lower, c, t, p, lower));
    ASSERT_TRUE(flow::GasMolarDensityRoot(flow::Root::Upper, c, t, p, upper));
    EXPECT_DOUBLE_EQ(lower, 0.5);
    EXPECT_DOUBLE_EQ(upper, 0.5);
    EXPECT_FALSE(flow::GasMolarDensityRoot(flow::Root::Upper, c, t, p * 1.01, upper));
}

TEST(FluidProperties, GasDensityPicksThePhysicalRoot) {
    CScriptedUi ui;
    // Nitrogen at 0 °C and 1 atm: 1.2505 kg/m3 (Z = 0.99955).
    const Record n2 = {0.046944235, -14.724474, -79472.199, 9.0959819E+14, -7.5955579E+16};
    double rho = 0.0;
    ASSERT_TRUE(flow::FluidDensity(flow::kPhaseGas, n2, 28.0134, 101325.0, 273.15, rho));
    EXPECT_NEAR(rho, 1.2505, 0.0005);
}

TEST(FluidProperties, GasDensityFailures) {
    CScriptedUi ui;
    const Record negative = {-1.0, 0, 0, 0, 0};
    double rho = 0.0;
    ui.Expect(LoadString(334));
    EXPECT_FALSE(flow::FluidDensity(flow::kPhaseGas, negative, 28.0, 1e9, 300.0, rho));
    // B > 0 and P < 0: both roots negative.
    const Record positive = {0.1, 0, 0, 0, 0};
    ui.Expect(LoadString(366));
    EXPECT_FALSE(flow::FluidDensity(flow::kPhaseGas, positive, 28.0, -1e5, 300.0, rho));
    // The double root of B = -1 at P = RT/4: both roots are 0.5, but 0.25 K
    // lower the discriminant is negative, so neither root can be checked.
    const Record constant = {-1.0, 0, 0, 0, 0};
    ui.Expect(LoadString(367));
    EXPECT_FALSE(
        flow::FluidDensity(flow::kPhaseGas, constant, 28.0, 8314.41 * 300.0 / 4.0, 300.0, rho));
}

TEST(FluidProperties, CompressibilityAndDensityInUsUnits) {
    CScriptedUi ui;
    // MW 28.96, 527.67 °R, 14.696 psi, Z = 1:
    // 28.96 * 144 * 14.696 / (1545.35 * 527.67) = 61285.85 / 815434.8 = 0.0751573 lb/ft3.
    const double rho = flow::DensityFromCompressibility(28.96, 527.67, 14.696, 1.0);
    EXPECT_NEAR(rho, 28.96 * 144 * 14.696 / (1545.35 * 527.67), 1e-15);
    EXPECT_NEAR(rho, 0.0751573, 1e-7);
    EXPECT_NEAR(flow::CompressibilityFromDensity(28.96, 527.67, 14.696, rho), 1.0, 1e-14);
    ui.Expect(LoadString(335));
    EXPECT_EQ(flow::CompressibilityFromDensity(28.96, 0.0, 14.696, rho), -1.0);
    ui.Expect(LoadString(335));
    EXPECT_EQ(flow::DensityFromCompressibility(28.96, 527.67, 14.696, 0.0), -1.0);
    ui.Expect(LoadString(335));
    EXPECT_EQ(flow::DensityFromCompressibility(28.96, 527.67, 0.0, 1.0), -1.0);
}

TEST(FluidProperties, ViscosityOfLiquidAndVapour) {
    CScriptedUi ui;
    const Record n2 = {16.004, -181.61, -5.1551, 0, 0, 6.5592E-07, 0.6081, 54.714, 0, 0};
    double mu = 0.0;
    ASSERT_TRUE(flow::Viscosity(flow::kPhaseGas, n2, 300.0, mu));
    // Nitrogen at 300 K: 17.9 µPa s in the gas tables.
    EXPECT_NEAR(mu, 17.9e-6, 0.2e-6);
    // 6.5592e-7 * 300^0.6081 / (1 + 54.714/300)
    EXPECT_DOUBLE_EQ(mu, 6.5592e-7 * std::pow(300.0, 0.6081) / (1.0 + 54.714 / 300.0));
    ASSERT_TRUE(flow::Viscosity(flow::kPhaseLiquid, n2, 77.0, mu));
    EXPECT_DOUBLE_EQ(mu, std::exp(16.004 - 181.61 / 77.0 - 5.1551 * std::log(77.0)));
    const Record none = {};
    ui.Expect(LoadString(330));
    EXPECT_FALSE(flow::Viscosity(flow::kPhaseGas, none, 300.0, mu));
}

TEST(FluidProperties, IsentropicExponent) {
    CScriptedUi ui;
    const Record n2 = {29105, 8614.9, 1701.6, 103.47, 909.79};
    double k = 0.0;
    ASSERT_TRUE(flow::IsentropicExponentFromRecord(n2, "NITROGEN", 250.0, 350.0, k));
    EXPECT_NEAR(k, 1.40, 0.005);  // diatomic gas near room temperature
    // The polynomial form for nitric oxide, whatever the case of its name:
    // Cp = 35023.3 - 36.13 T + ... at 300 K = 29.86 kJ/(kmol K) -> k = 1.3855.
    const Record no = {35023.304, -36.128168, 0.080085076, -6.0477537E-05, 1.5603764E-08};
    ASSERT_TRUE(flow::IsentropicExponentFromRecord(no, "nitric oxide", 300.0, 300.0, k));
    const double cp = (35023.304 - 36.128168 * 300 + 0.080085076 * 9e4 - 6.0477537E-05 * 2.7e7 +
                       1.5603764E-08 * 8.1e9) /
                      4184.0;
    EXPECT_NEAR(k, cp / (cp - 1.98586), 1e-12);
    // Cp/4184 equal to the gas constant: zero divisor.
    const Record flat = {1.98586 * 4184.0, 0, 0, 0, 0};
    ui.Expect(LoadString(332));
    EXPECT_FALSE(flow::IsentropicExponentFromRecord(flat, "X", 300.0, 300.0, k));
    ui.Expect(LoadString(332));
    EXPECT_FALSE(flow::IsentropicExponentFromRecord(n2, "NITROGEN", 0.0, 0.0, k));
}

TEST(FluidProperties, IsentropicExponentFromTheDatabaseReportsAMissingFluid) {
    CScriptedUi ui;
    CChemicalDatabase db;
    double k = 0.0;
    ASSERT_TRUE(flow::IsentropicExponent(db, "nitrogen", 255.0, 311.0, k));
    EXPECT_NEAR(k, 1.40, 0.005);
    ui.Expect(LoadString(352) + "UNOBTAINIUM");
    EXPECT_FALSE(flow::IsentropicExponent(db, "unobtainium", 255.0, 311.0, k));
}
