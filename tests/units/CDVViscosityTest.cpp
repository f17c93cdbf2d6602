#include <gtest/gtest.h>

#include <vector>

#include "tests/support/CScriptedUi.h"
#include "tests/units/UnitsTestSupport.h"
#include "units/CDVViscosity.h"
#include "units/Units.h"

using namespace units_test;

namespace {
const CUnit& Centipoise() {
    static const CUnit unit(55, units::kMtcViscosity);
    return unit;
}
const CUnit& LbsPerFtSec() {
    static const CUnit unit(245, units::kMtcViscosity);
    return unit;
}
const CUnit& PascalSec() {
    static const CUnit unit(246, units::kMtcViscosity);
    return unit;
}
constexpr double kLbsPerFtSecPerCentipoise = 0.000671969;
constexpr double kPascalSecPerCentipoise = 0.001;
}  // namespace

TEST(CDVViscosity, OneCentipoiseInEveryUnit) {
    CScriptedUi ui;
    CDVViscosity mu(1.0, Centipoise());
    mu.ConvertTo(LbsPerFtSec());
    ExpectRelativelyNear(kLbsPerFtSecPerCentipoise, mu.Value(), kPreciseTolerance);
    mu.ConvertTo(PascalSec());
    ExpectRelativelyNear(kPascalSecPerCentipoise, mu.Value(), kPreciseTolerance);
    EXPECT_EQ(mu.Unit(), PascalSec());
    mu.ConvertTo(Centipoise());
    ExpectRelativelyNear(1.0, mu.Value(), kPreciseTolerance);
}

TEST(CDVViscosity, RoundTripsAndOwnUnit) {
    CScriptedUi ui;
    const std::vector<CUnit> all = {Centipoise(), LbsPerFtSec(), PascalSec()};
    for (double value : {1.0, 0.0178, 1500.0}) {
        ExpectRoundTripsBetweenAllUnits<CDVViscosity>(all, value);
    }
    ExpectOwnUnitConversionKeepsBits<CDVViscosity>(all);
}

TEST(CDVViscosity, IllegalUnits) {
    const char* text = "ERROR: Illegal units in CDVViscosity::ConvertTo\n";
    ExpectIllegalConversion<CDVViscosity>(CUnit(92, units::kMtcDensity), Centipoise(), text);
    ExpectIllegalConversion<CDVViscosity>(PascalSec(), CUnit(94, units::kMtcDensity), text);
}

TEST(CDVViscosity, SetAndAssignmentFromAnyDimensionedValue) {
    CScriptedUi ui;
    CDVViscosity mu;
    mu.Set(0.001, PascalSec());
    EXPECT_EQ(mu.Unit(), PascalSec());
    mu = CDimValue(1.0, Centipoise());
    EXPECT_EQ(mu.Value(), 1.0);
    EXPECT_EQ(mu.Unit(), Centipoise());
}
