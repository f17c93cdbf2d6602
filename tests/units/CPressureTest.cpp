#include <gtest/gtest.h>

#include <vector>

#include "tests/support/CScriptedUi.h"
#include "tests/units/UnitsTestSupport.h"
#include "units/CPressure.h"
#include "units/Units.h"

using namespace units_test;

namespace {

const CUnit& Psi() {
    static const CUnit unit(6, units::kMtcSp);
    return unit;
}
const CUnit& InH2O68() {
    static const CUnit unit(1, units::kMtcDp);
    return unit;
}
const CUnit& InH2O60() {
    static const CUnit unit(240, units::kMtcDp);
    return unit;
}
const CUnit& Pa() {
    static const CUnit unit(11, units::kMtcDp);
    return unit;
}

// k is the number of a unit in one inch of water at 68 °F.
constexpr double kPsiPerInH2O68 = 0.03606234;
constexpr double kPaPerInH2O68 = 248.64107;
constexpr double kInH2O60PerInH2O68 = 0.999189;
constexpr double kKPaPerInH2O68 = 0.24864107;
constexpr double kMPaPerInH2O68 = 0.00024864107;
// 1 psi is 27.7297… InH2O-68°F and 6894.8… Pa.
constexpr double kInH2O68PerPsi = 1.0 / kPsiPerInH2O68;
constexpr double kPaPerPsi = kPaPerInH2O68 / kPsiPerInH2O68;

// Every unit a CPressure can hold: the DP and SP lists.
std::vector<CUnit> AllPressureUnits() {
    return {CUnit(240, units::kMtcDp), CUnit(1, units::kMtcDp), CUnit(11, units::kMtcDp),
            CUnit(12, units::kMtcDp),  CUnit(6, units::kMtcSp), CUnit(12, units::kMtcSp),
            CUnit(237, units::kMtcSp)};
}

struct PressureFactor {
    int unitCode;
    int measType;
    double perInH2O68;
};

const PressureFactor kFactors[] = {
    {1, units::kMtcDp, 1.0},
    {240, units::kMtcDp, kInH2O60PerInH2O68},
    {11, units::kMtcDp, kPaPerInH2O68},
    {12, units::kMtcDp, kKPaPerInH2O68},
    {6, units::kMtcSp, kPsiPerInH2O68},
    {12, units::kMtcSp, kKPaPerInH2O68},
    {237, units::kMtcSp, kMPaPerInH2O68},
};

}  // namespace

TEST(CPressure, OnePsiInInchesOfWaterAndPascal) {
    CScriptedUi ui;
    CPressure p(1.0, Psi());
    p.ConvertTo(InH2O68());
    ExpectRelativelyNear(kInH2O68PerPsi, p.Value(), kPreciseTolerance);
    EXPECT_NEAR(p.Value(), 27.7297, 1e-4);
    EXPECT_EQ(p.Unit(), InH2O68());

    CPressure q(1.0, Psi());
    q.ConvertTo(Pa());
    ExpectRelativelyNear(kPaPerPsi, q.Value(), kPreciseTolerance);
    EXPECT_NEAR(q.Value(), 6894.8, 0.05);
}

TEST(CPressure, OneInchOfWaterAt68FInEveryUnit) {
    CScriptedUi ui;
    for (const auto& factor : kFactors) {
        CPressure p(1.0, InH2O68());
        p.ConvertTo(CUnit(factor.unitCode, factor.measType));
        ExpectRelativelyNear(factor.perInH2O68, p.Value(), kPreciseTolerance);
    }
}

TEST(CPressure, RoundTripsBetweenAllUnits) {
    CScriptedUi ui;
    for (double value : {1.0, -250.0, 14.696, 25000.0, 1e-6}) {
        ExpectRoundTripsBetweenAllUnits<CPressure>(AllPressureUnits(), value);
    }
}

TEST(CPressure, OwnUnitKeepsBits) {
    CScriptedUi ui;
    ExpectOwnUnitConversionKeepsBits<CPressure>(AllPressureUnits());
}

TEST(CPressure, SameCodeOfAnotherTypeIsAnotherUnit) {
    CScriptedUi ui;
    CPressure p(100.0, CUnit(12, units::kMtcDp));
    p.ConvertTo(CUnit(12, units::kMtcSp));
    EXPECT_EQ(p.Unit(), CUnit(12, units::kMtcSp));
    ExpectRelativelyNear(100.0, p.Value(), kPreciseTolerance);
}

TEST(CPressure, IllegalUnits) {
    const char* text = "ERROR: Illegal units in CPressure::ConvertTo\n";
    ExpectIllegalConversion<CPressure>(CUnit(33, units::kMtcPt), Psi(), text);
    ExpectIllegalConversion<CPressure>(Psi(), CUnit(33, units::kMtcPt), text);
    ExpectIllegalConversion<CPressure>(InH2O60(), CUnit(47, units::kMtcLength), text);
}

TEST(CPressure, SetAndAssignmentFromAnyDimensionedValue) {
    CScriptedUi ui;
    CPressure p;
    p.Set(14.696, Psi());
    EXPECT_EQ(p.Value(), 14.696);
    EXPECT_EQ(p.Unit(), Psi());
    p = CDimValue(250.0, InH2O60());
    EXPECT_EQ(p.Value(), 250.0);
    EXPECT_EQ(p.Unit(), InH2O60());
    const CPressure copy(CDimValue(3.0, Pa()));
    EXPECT_EQ(copy.Unit(), Pa());
}
