#include <gtest/gtest.h>

#include "tests/support/CScriptedUi.h"
#include "tests/units/UnitsTestSupport.h"
#include "units/CLength.h"
#include "units/Units.h"

using namespace units_test;

namespace {
const CUnit& Inches() {
    static const CUnit unit(47, units::kMtcLength);
    return unit;
}
const CUnit& Mm() {
    static const CUnit unit(49, units::kMtcLength);
    return unit;
}
constexpr double kMmPerInch = 25.4;
}  // namespace

TEST(CLength, InchesAndMillimetres) {
    CScriptedUi ui;
    CLength d(1.5, Inches());
    d.ConvertTo(Mm());
    ExpectRelativelyNear(1.5 * kMmPerInch, d.Value(), kPreciseTolerance);
    EXPECT_EQ(d.Unit(), Mm());
    d.ConvertTo(Inches());
    ExpectRelativelyNear(1.5, d.Value(), kPreciseTolerance);
}

TEST(CLength, RoundTripsAndOwnUnit) {
    CScriptedUi ui;
    for (double value : {0.0659, 4.0, 1000.0}) {
        ExpectRoundTripsBetweenAllUnits<CLength>({Inches(), Mm()}, value);
    }
    ExpectOwnUnitConversionKeepsBits<CLength>({Inches(), Mm()});
}

TEST(CLength, IllegalUnits) {
    const char* text = "ERROR: Illegal units in CLength::ConvertTo\n";
    ExpectIllegalConversion<CLength>(CUnit(6, units::kMtcSp), Mm(), text);
    ExpectIllegalConversion<CLength>(Inches(), CUnit(92, units::kMtcDensity), text);
}

TEST(CLength, SetAndAssignmentFromAnyDimensionedValue) {
    CScriptedUi ui;
    CLength d;
    d.Set(2.0, Mm());
    EXPECT_EQ(d.Unit(), Mm());
    d = CDimValue(4.0, Inches());
    EXPECT_EQ(d.Value(), 4.0);
    EXPECT_EQ(d.Unit(), Inches());
}
