#include <gtest/gtest.h>

#include "tests/support/CScriptedUi.h"
#include "tests/units/UnitsTestSupport.h"
#include "units/CDVDensity.h"
#include "units/Units.h"

using namespace units_test;

namespace {
const CUnit& KgPerCuM() {
    static const CUnit unit(92, units::kMtcDensity);
    return unit;
}
const CUnit& LbsPerCuFt() {
    static const CUnit unit(94, units::kMtcDensity);
    return unit;
}
constexpr double kKgPerCuMPerLbsPerCuFt = 16.01846;
}  // namespace

TEST(CDVDensity, PoundsPerCubicFootAndKilogramsPerCubicMetre) {
    CScriptedUi ui;
    CDVDensity rho(34.12, LbsPerCuFt());
    rho.ConvertTo(KgPerCuM());
    ExpectRelativelyNear(34.12 * kKgPerCuMPerLbsPerCuFt, rho.Value(), kPreciseTolerance);
    EXPECT_EQ(rho.Unit(), KgPerCuM());
    rho.ConvertTo(LbsPerCuFt());
    ExpectRelativelyNear(34.12, rho.Value(), kPreciseTolerance);
}

TEST(CDVDensity, RoundTripsAndOwnUnit) {
    CScriptedUi ui;
    for (double value : {1.0, 62.4, 0.0749}) {
        ExpectRoundTripsBetweenAllUnits<CDVDensity>({KgPerCuM(), LbsPerCuFt()}, value);
    }
    ExpectOwnUnitConversionKeepsBits<CDVDensity>({KgPerCuM(), LbsPerCuFt()});
}

TEST(CDVDensity, IllegalUnits) {
    const char* text = "ERROR: Illegal units in CDVDensity::ConvertTo\n";
    ExpectIllegalConversion<CDVDensity>(CUnit(55, units::kMtcViscosity), LbsPerCuFt(), text);
    ExpectIllegalConversion<CDVDensity>(KgPerCuM(), CUnit(55, units::kMtcViscosity), text);
}

TEST(CDVDensity, SetAndAssignmentFromAnyDimensionedValue) {
    CScriptedUi ui;
    CDVDensity rho;
    rho.Set(1000.0, KgPerCuM());
    EXPECT_EQ(rho.Unit(), KgPerCuM());
    rho = CDimValue(34.12, LbsPerCuFt());
    EXPECT_EQ(rho.Value(), 34.12);
    EXPECT_EQ(rho.Unit(), LbsPerCuFt());
}
