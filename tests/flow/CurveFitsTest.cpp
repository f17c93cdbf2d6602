#include <gtest/gtest.h>

#include <cmath>

#include "flow/CGasExpansion.h"
#include "flow/CGasFlow.h"
#include "flow/CLiquidFlow.h"
#include "flow/FlowUnits.h"
#include "flow/FluidProperties.h"
#include "flow/Polynomial.h"
#include "flow/PrimaryElements.h"
#include "platform/CException.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"

namespace {

const CUnit kInches(47, 35);
const CUnit kPsi(6, 1);
const CUnit kFahrenheit(33, 2);

// Operating range and geometry of the test configurations: 0..100 °F,
// 1..50 psi, d = 1.5 in in a 4 in tube.
template <class Flow>
void SetUpRanges(Flow& f) {
    f.SetBoreDiameter(CLength(1.5, kInches));
    f.SetTubeDiameter(CLength(4.0, kInches));
    f.SetOperatingTemperatureMin(CTemperature(0.0, kFahrenheit));
    f.SetOperatingTemperatureMax(CTemperature(100.0, kFahrenheit));
    f.SetOperatingPressureMin(CPressure(1.0, kPsi));
    f.SetOperatingPressureMax(CPressure(50.0, kPsi));
}

float Poly(const CCurveFit& fit, int degree, double x) {
    return flow::EvaluatePolynomial(fit.GetCoefficients().data(), degree, static_cast<float>(x));
}

// Largest relative deviation of the Cd fit from the producer's equation at the
// geometric midpoints of the Reynolds sequence (none of them a fitted point).
double WorstCdError(int code, double d, double tubeD) {
    CGasFlow gas;
    gas.SetDiffProducer(code);
    gas.SetBoreDiameter(CLength(d, kInches));
    gas.SetTubeDiameter(CLength(tubeD, kInches));
    CDischargeCoeff& fit = *gas.DischargeCoeff();
    EXPECT_TRUE(fit.GenerateAndFit()) << "code " << code;
    EXPECT_EQ(fit.PointCount(), 0);  // points are discarded after the fit
    const std::vector<double> sequence = CDischargeCoeff::ReynoldsSequence(code);
    const double beta = d / tubeD;
    double worst = 0.0;
    for (size_t k = 0; k + 1 < sequence.size(); ++k) {
        const double re = std::sqrt(sequence[k] * sequence[k + 1]);
        const double x = code == flow::kIntegralOrifice ? re * beta : re;
        const double exact = flow::DischargeCoefficient(code, d, tubeD, re);
        const double fitted = Poly(fit, 6, 1.0 / std::sqrt(x));
        worst = std::max(worst, std::fabs(fitted - exact) / exact);
    }
    return worst;
}

}  // namespace

// Cd tolerance: 5e-5 of Cd. The degree-6 fit in 1/sqrt(Re) follows the
// equations to about 1e-5; single-precision coefficients add about 1e-7. A
// wrong transformation or a lost coefficient misses by far more.
constexpr double kCdTolerance = 5e-5;
TEST(CDischargeCoeff, FitReproducesEveryProducerBetweenItsPoints) {
    CScriptedUi ui;
    for (int code = 0; code <= 10; ++code) {
        const double worst = WorstCdError(code, 1.5, 4.0);
        EXPECT_LT(worst, kCdTolerance) << "code " << code;
    }
    // The integral orifice in each of its three line-size columns, and with a
    // bore small enough for its nozzle equation.
    EXPECT_LT(WorstCdError(flow::kIntegralOrifice, 0.3, 0.8), kCdTolerance);
    EXPECT_LT(WorstCdError(flow::kIntegralOrifice, 0.3, 1.0), kCdTolerance);
    EXPECT_LT(WorstCdError(flow::kIntegralOrifice, 0.6, 1.5), kCdTolerance);
    EXPECT_LT(WorstCdError(flow::kIntegralOrifice, 0.065, 0.5), kCdTolerance);
}

TEST(CDischargeCoeff, ReynoldsSequences) {
    const std::vector<double> integral = CDischargeCoeff::ReynoldsSequence(flow::kIntegralOrifice);
    EXPECT_DOUBLE_EQ(integral.front(), 500.0);
    EXPECT_DOUBLE_EQ(integral.back(), 100000.0);
    const std::vector<double> orifice = CDischargeCoeff::ReynoldsSequence(flow::kOrificeFlange);
    // 4000 * (1 + ln(4000)/100) = 4000 * 1.0829405 = 4331.762
    EXPECT_NEAR(orifice[1], 4331.762, 1e-3);
    EXPECT_DOUBLE_EQ(orifice.back(), 1e8);
    for (size_t k = 1; k + 1 < orifice.size(); ++k) EXPECT_LT(orifice[k], 1e8);
    EXPECT_GT(orifice[orifice.size() - 2] * (1.0 + std::log(orifice[orifice.size() - 2]) / 100.0),
              1e8);
}

TEST(CDischargeCoeff, TubeNoWiderThanBoreAbandonsWithItsMessage) {
    CScriptedUi ui;
    CGasFlow gas;
    gas.SetBoreDiameter(CLength(4.0, kInches));
    gas.SetTubeDiameter(CLength(4.0, kInches));
    ui.Expect(LoadString(340));
    EXPECT_THROW(gas.DischargeCoeff()->GenerateAndFit(), CUserException);
    EXPECT_FALSE(gas.DischargeCoeff()->Valid());
}

TEST(CDischargeCoeff, TooFewOrIllegalPoints) {
    CScriptedUi ui;
    CGasFlow gas;
    CDischargeCoeff& fit = *gas.DischargeCoeff();
    fit.Resize(6);
    ui.Expect(LoadString(338));
    EXPECT_FALSE(fit.Fit());
    fit.Resize(7);  // zero Reynolds numbers
    ui.Expect(LoadString(339));
    EXPECT_FALSE(fit.Fit());
    // Every transformed abscissa exactly 1 with different values: the normal
    // matrix is all sevens and the second pivot becomes exactly 0.
    fit.Resize(7);
    fit.WorkX() = std::vector<double>(7, 1.0);
    fit.WorkY() = {0.60, 0.61, 0.62, 0.63, 0.64, 0.65, 0.66};
    ui.Expect(LoadString(356));
    EXPECT_FALSE(fit.Fit());
    EXPECT_FALSE(fit.Valid());
    EXPECT_EQ(fit.PointCount(), 0);
}

TEST(CEdSquared, FitReproducesThermalExpansionAcrossTheRange) {
    CScriptedUi ui;
    CGasFlow gas;
    SetUpRanges(gas);
    gas.SetBoreMaterial(4);  // Monel bore in a carbon steel tube
    gas.SetTubeMaterial(0);
    ASSERT_TRUE(gas.EdSquared()->GenerateAndFit());
    EXPECT_EQ(gas.EdSquared()->PointCount(), 0);
    // At 68 °F (527.67 °R) the diameters are the reference ones:
    // 1.5² / sqrt(1 - 0.375⁴) = 2.25 / 0.9900632 = 2.272582.
    EXPECT_NEAR(Poly(*gas.EdSquared(), 2, 1.0 / 527.67), 2.272582, 5e-6 * 2.272582);
    for (double f = 0.5; f < 100.0; f += 1.0) {
        const double t = f + 459.67;
        const double d = flow::ExpandedDiameter(1.5, 7.95e-6, t, 527.67);
        const double tubeD = flow::ExpandedDiameter(4.0, 6.2e-6, t, 527.67);
        const double exact = flow::EdSquared(d, tubeD);
        // Ed² grows linearly with T; over 100 °F a quadratic in 1/T follows it
        // to 3e-6 (exact least squares, hand-checked in rational arithmetic),
        // and the single-precision evaluation adds 1e-7.
        EXPECT_NEAR(Poly(*gas.EdSquared(), 2, 1.0 / t), exact, 5e-6 * exact) << f;
    }
}

TEST(CEdSquared, EmptyRangeAndInvertedGeometry) {
    CScriptedUi ui;
    CGasFlow gas;
    SetUpRanges(gas);
    gas.SetOperatingTemperatureMax(CTemperature(0.0, kFahrenheit));
    ui.Expect(LoadString(341));
    EXPECT_FALSE(gas.EdSquared()->GenerateAndFit());
    SetUpRanges(gas);
    gas.SetBoreDiameter(CLength(5.0, kInches));
    ui.Expect(LoadString(343));
    EXPECT_THROW(gas.EdSquared()->GenerateAndFit(), CUserException);
}

TEST(CGasExpansion, OrificeGetsItsCoefficientsDirectly) {
    CScriptedUi ui;
    CGasFlow gas;
    SetUpRanges(gas);
    gas.SetBoreDiameter(CLength(2.0, kInches));  // beta 0.5
    ASSERT_TRUE(gas.GetGasExpansion()->GenerateAndFit());
    // -(0.41 + 0.35 * 0.0625) / (27.72976 * 1.4) = -0.431875 / 38.821664 = -0.011124588
    EXPECT_NEAR(gas.GetGasExpansion()->Coefficient(1), -0.011124588, 1e-8);
    EXPECT_EQ(gas.GetGasExpansion()->Coefficient(0), 1.0f);
    EXPECT_EQ(gas.GetGasExpansion()->Coefficient(2), 0.0f);
    EXPECT_TRUE(gas.GetGasExpansion()->Valid());
}

TEST(CGasExpansion, NozzleFitReproducesTheExpansionFactor) {
    CScriptedUi ui;
    for (int code : {4, 5, 8, 9}) {
        CGasFlow gas;
        SetUpRanges(gas);
        gas.SetDiffProducer(code);
        CGasExpansion& fit = *gas.GetGasExpansion();
        ASSERT_TRUE(fit.GenerateAndFit()) << code;
        EXPECT_EQ(fit.PointCount(), 0);
        // Halfway between the generated ratios k * 2.5/99.
        for (int k = 0; k < 99; ++k) {
            const double x = (k + 0.5) * 2.5 / 99.0;
            const double exact = flow::NozzleExpansionFactor(x, 1.5, 4.0, 1.4);
            // Y departs from 1 by at most 7 % over this range and is smooth;
            // a quadratic follows it to 1e-5.
            EXPECT_NEAR(Poly(fit, 2, x), exact, 1e-5) << code << " x " << x;
        }
    }
}

TEST(CGasExpansion, LiquidHasNoExpansion) {
    CScriptedUi ui;
    CLiquidFlow liquid;
    CGasExpansion fit(liquid, 1);
    fit.Resize(5);
    ASSERT_TRUE(fit.GenerateAndFit());
    EXPECT_EQ(fit.PointCount(), 0);
    EXPECT_EQ(fit.GetCoefficients(), (CCurveFit::Coefficients{1, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(fit.Valid());
}

TEST(CGasExpansion, IllegalData) {
    CScriptedUi ui;
    CGasFlow gas;
    CGasExpansion& fit = *gas.GetGasExpansion();
    fit.Resize(2);
    ui.Expect(LoadString(344));
    EXPECT_FALSE(fit.Fit());
    fit.Resize(3);
    fit.WorkY() = {1.0, 1.0, 1.0};
    fit.WorkX() = {0.0, -1e-3, 1.0};
    ui.Expect(LoadString(345));
    EXPECT_FALSE(fit.Fit());
}

TEST(CDensity, CompressibilityFitFollowsTheVirialModelAcrossTheGrid) {
    CScriptedUi ui;
    CGasFlow gas;
    SetUpRanges(gas);
    CDensity& fit = *gas.Density();
    ASSERT_TRUE(fit.GenerateAndFit());
    EXPECT_EQ(fit.PointCount(), 12);
    // The display points keep the grid in the user's units.
    EXPECT_DOUBLE_EQ(fit.DisplayX()[0], 0.0);
    EXPECT_DOUBLE_EQ(fit.DisplayX()[11], 100.0);
    EXPECT_DOUBLE_EQ(fit.DisplayPressure()[1], 1.0 + 49.0 / 3.0);

    CChemicalDatabase::Record virial{};
    ASSERT_TRUE(
        gas.Database().ReadRecord("NITROGEN", CChemicalDatabase::RecordKind::SecondVirial, virial));
    // Points between the grid lines.
    for (double f = 5.0; f < 100.0; f += 15.0) {
        for (double p = 3.0; p < 50.0; p += 7.0) {
            const double t = f + 459.67;
            double rho = 0.0;
            ASSERT_TRUE(
                flow::FluidDensity(flow::kPhaseGas, virial, 28.014, p * 6894.757, t / 1.8, rho));
            const double z = flow::CompressibilityFromDensity(28.014, t, p, rho / 16.01846);
            const float fitted = flow::EvaluateTable(
                fit.GetTable(), 6, 8, static_cast<float>(1.0 / t), static_cast<float>(p));
            // Z of nitrogen here is 0.995..1.0; the 2 x 3 polynomial follows
            // 1/sqrt(Z) to 2e-6.
            EXPECT_NEAR(fitted, 1.0 / std::sqrt(z), 2e-6) << f << " °F " << p << " psi";
        }
    }
}

TEST(CDensity, LiquidDensityFitFollowsTheModel) {
    CScriptedUi ui;
    CLiquidFlow liquid;
    SetUpRanges(liquid);
    liquid.SetOperatingTemperatureMin(CTemperature(40.0, kFahrenheit));
    liquid.SetOperatingTemperatureMax(CTemperature(200.0, kFahrenheit));
    CDensity& fit = *liquid.Density();
    ASSERT_TRUE(fit.GenerateAndFit());
    EXPECT_EQ(fit.PointCount(), 4);
    CChemicalDatabase::Record record{};
    ASSERT_TRUE(liquid.Database().ReadRecord("WATER", CChemicalDatabase::RecordKind::LiquidDensity,
                                             record));
    for (double f = 45.0; f < 200.0; f += 10.0) {
        const double t = f + 459.67;
        const double rho = flow::LiquidDensity(record, 18.015, t / 1.8) / 16.01846;
        const float fitted = Poly(fit, 3, 1.0 / t);
        EXPECT_EQ(fitted,
                  flow::EvaluateTable(fit.GetTable(), 6, 8, static_cast<float>(1.0 / t), 0.0f));
        // sqrt(rho) of water changes by 2 % over the range; a cubic in 1/T
        // through four points stays within 2e-4 of it between them.
        EXPECT_NEAR(fitted * fitted, rho, 2e-4 * rho) << f;
    }
}

TEST(CDensity, EqualCompressibilitiesFitWithoutSolving) {
    CScriptedUi ui;
    CGasFlow gas;
    SetUpRanges(gas);
    gas.SetDensityDataSource(4);  // user compressibilities
    CDensity& fit = *gas.Density();
    ASSERT_TRUE(fit.GeneratePoints());
    for (double& z : fit.WorkY()) z = 0.25;
    ASSERT_TRUE(fit.Fit());
    // z = 1/sqrt(0.25) = 2 everywhere.
    EXPECT_EQ(fit.TableValue(0, 0), 2.0f);
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 9; ++j) {
            if (i || j) {
                EXPECT_EQ(fit.TableValue(i, j), 0.0f);
            }
        }
    }
}

TEST(CDensity, GasRangeChecks) {
    CScriptedUi ui;
    CGasFlow gas;
    SetUpRanges(gas);
    gas.SetOperatingPressureMin(CPressure(0.0, kPsi));
    ui.Expect(LoadString(333));
    EXPECT_FALSE(gas.Density()->GenerateAndFit());
    gas.SetOperatingPressureMin(CPressure(50.0, kPsi));
    ui.Expect(LoadString(336));
    EXPECT_FALSE(gas.Density()->GenerateAndFit());
    SetUpRanges(gas);
    gas.SetOperatingTemperatureMin(CTemperature(-459.67, kFahrenheit));
    ui.Expect(LoadString(336));
    EXPECT_FALSE(gas.Density()->GenerateAndFit());
    EXPECT_FALSE(gas.Density()->Valid());
}

TEST(CDensity, UserValuesKeepTheirValuesAndFailOnZeroData) {
    CScriptedUi ui;
    CLiquidFlow liquid;
    SetUpRanges(liquid);
    liquid.SetDensityDataSource(1);
    CDensity& fit = *liquid.Density();
    fit.Resize(4);
    fit.DisplayY() = {62.0, 61.8, 61.5, 61.1};
    ASSERT_TRUE(fit.GenerateAndFit());
    EXPECT_EQ(fit.DisplayY()[2], 61.5);
    EXPECT_NEAR(std::pow(Poly(fit, 3, 1.0 / (459.67 + 200.0 / 3.0)), 2), 61.5, 1e-4);
    fit.Resize(4);  // a resize clears the values: illegal data
    ui.Expect(LoadString(337));
    EXPECT_FALSE(fit.GenerateAndFit());
}

// Values typed in for a database-independent source are data: laying out the
// grid again, as the test-file writer does before every fit, must not lose them.
TEST(CDensity, RegeneratingKeepsTheLiquidDensitiesTypedIn) {
    CScriptedUi ui;
    CLiquidFlow liquid;
    SetUpRanges(liquid);
    liquid.SetDensityDataSource(2);
    CDensity& fit = *liquid.Density();
    fit.Resize(4);
    const std::vector<double> typed = {62.42, 62.37, 62.22, 62.00};  // lb/ft3 at 0..100 °F
    fit.DisplayY() = typed;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(fit.GenerateAndFit()) << pass;
        EXPECT_EQ(fit.DisplayY(), typed) << pass;
        // Four points and a cubic: the fit passes through every typed value.
        for (int a = 0; a < 4; ++a) {
            const double t = 459.67 + a * 100.0 / 3.0;
            EXPECT_NEAR(std::pow(Poly(fit, 3, 1.0 / t), 2), typed[a], 1e-4 * typed[a]) << a;
        }
    }
}

TEST(CDensity, RegeneratingKeepsTheGasCompressibilitiesTypedIn) {
    CScriptedUi ui;
    CGasFlow gas;
    SetUpRanges(gas);
    gas.SetDensityDataSource(5);
    CDensity& fit = *gas.Density();
    fit.Resize(12);
    // Z falls with pressure and rises with temperature, as for a real gas.
    std::vector<double> typed;
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 4; ++b) typed.push_back(0.999 - 0.0001 * b * (3 - a));
    }
    fit.DisplayY() = typed;
    ASSERT_TRUE(fit.GenerateAndFit());
    EXPECT_EQ(fit.DisplayY(), typed);
    EXPECT_DOUBLE_EQ(fit.DisplayPressure()[3], 50.0);
    // A 2 x 3 polynomial through the 3 x 4 grid reproduces every point.
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 4; ++b) {
            const double t = 459.67 + a * 50.0;
            const double p = 1.0 + b * 49.0 / 3.0;
            const float fitted = flow::EvaluateTable(
                fit.GetTable(), 6, 8, static_cast<float>(1.0 / t), static_cast<float>(p));
            EXPECT_NEAR(fitted, 1.0 / std::sqrt(typed[static_cast<size_t>(4 * a + b)]), 2e-6)
                << a << " " << b;
        }
    }
}

TEST(CDensity, UserPointsOnAnotherGridAreNeverReplaced) {
    CScriptedUi ui;
    CLiquidFlow liquid;
    SetUpRanges(liquid);
    liquid.SetDensityDataSource(1);
    CDensity& fit = *liquid.Density();
    fit.Resize(5);
    const std::vector<double> temperatures = {10.0, 30.0, 50.0, 70.0, 90.0};  // °F
    const std::vector<double> typed = {62.41, 62.36, 62.28, 62.17, 62.05};
    fit.DisplayX() = temperatures;
    fit.DisplayY() = typed;
    ASSERT_TRUE(fit.GenerateAndFit());
    EXPECT_EQ(fit.PointCount(), 5);
    EXPECT_EQ(fit.DisplayX(), temperatures);
    EXPECT_EQ(fit.DisplayY(), typed);
    // A cubic through five smooth points stays close to each of them.
    for (size_t k = 0; k < typed.size(); ++k) {
        const double t = temperatures[k] + 459.67;
        EXPECT_NEAR(std::pow(Poly(fit, 3, 1.0 / t), 2), typed[k], 2e-4 * typed[k]) << k;
    }

    // A database source lays out its own grid whatever the fit held.
    liquid.SetDensityDataSource(0);
    ASSERT_TRUE(fit.GenerateAndFit());
    EXPECT_EQ(fit.PointCount(), 4);
    EXPECT_DOUBLE_EQ(fit.DisplayX()[3], 100.0);
}

TEST(CViscosity, RegeneratingKeepsTheViscositiesTypedIn) {
    CScriptedUi ui;
    CLiquidFlow liquid;
    SetUpRanges(liquid);
    liquid.SetViscosityDataSource(7);
    CViscosity& fit = *liquid.Viscosity();
    fit.Resize(4);
    const std::vector<double> typed = {1.79, 1.15, 0.82, 0.68};  // centipoise at 0..100 °F
    fit.DisplayY() = typed;
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(fit.GenerateAndFit()) << pass;
        EXPECT_EQ(fit.DisplayY(), typed) << pass;
        for (int a = 0; a < 4; ++a) {
            const double t = 459.67 + a * 100.0 / 3.0;
            EXPECT_NEAR(1.0 / Poly(fit, 3, 1.0 / t), typed[a], 1e-4 * typed[a]) << a;
        }
    }
}

TEST(CViscosity, FitFollowsTheModelForGasAndLiquid) {
    CScriptedUi ui;
    CGasFlow gas;
    SetUpRanges(gas);
    ASSERT_TRUE(gas.Viscosity()->GenerateAndFit());
    CLiquidFlow liquid;
    SetUpRanges(liquid);
    liquid.SetOperatingTemperatureMin(CTemperature(40.0, kFahrenheit));
    liquid.SetOperatingTemperatureMax(CTemperature(200.0, kFahrenheit));
    liquid.SetViscosityUnit(CUnit(246, 34));  // held in Pascal sec
    ASSERT_TRUE(liquid.Viscosity()->GenerateAndFit());
    // Water at 40 °F (4.4 °C) is 1.52 mPa s in the steam tables.
    EXPECT_NEAR(liquid.Viscosity()->DisplayY()[0], 1.52e-3, 0.03e-3);

    CChemicalDatabase::Record nitrogen{};
    CChemicalDatabase::Record water{};
    ASSERT_TRUE(
        gas.Database().ReadRecord("NITROGEN", CChemicalDatabase::RecordKind::Viscosity, nitrogen));
    ASSERT_TRUE(
        gas.Database().ReadRecord("WATER", CChemicalDatabase::RecordKind::Viscosity, water));
    for (double f = 5.0; f < 100.0; f += 10.0) {
        const double t = f + 459.67;
        double mu = 0.0;
        ASSERT_TRUE(flow::Viscosity(flow::kPhaseGas, nitrogen, t / 1.8, mu));
        const double centipoise = mu * 1000.0;
        // Gas viscosity is nearly linear in T: 1e-4 relative.
        EXPECT_NEAR(1.0 / Poly(*gas.Viscosity(), 3, 1.0 / t), centipoise, 1e-4 * centipoise) << f;
    }
    for (double f = 45.0; f < 200.0; f += 10.0) {
        const double t = f + 459.67;
        double mu = 0.0;
        ASSERT_TRUE(flow::Viscosity(flow::kPhaseLiquid, water, t / 1.8, mu));
        const double centipoise = mu * 1000.0;
        // Water's viscosity falls by a factor of 4 over the range; a cubic in
        // 1/T through four points keeps within 1 %.
        EXPECT_NEAR(1.0 / Poly(*liquid.Viscosity(), 3, 1.0 / t), centipoise, 1e-2 * centipoise)
            << f;
    }
}

TEST(CViscosity, TooFewPointsAndIllegalData) {
    CScriptedUi ui;
    CGasFlow gas;
    SetUpRanges(gas);
    gas.SetViscosityDataSource(7);  // user values, none typed in
    ui.Expect(LoadString(348));
    EXPECT_FALSE(gas.Viscosity()->GenerateAndFit());
    gas.Viscosity()->Resize(3);
    ui.Expect(LoadString(347));
    EXPECT_FALSE(gas.Viscosity()->Fit());
}
