#include <gtest/gtest.h>

#include <optional>

#include "tests/support/CScriptedUi.h"
#include "tests/units/UnitsTestSupport.h"
#include "units/CCelsiusFahrenheit.h"
#include "units/Units.h"

using namespace units_test;

namespace {
const CUnit& Celsius() {
    static const CUnit unit(32, units::kMtcPt);
    return unit;
}
const CUnit& Fahrenheit() {
    static const CUnit unit(33, units::kMtcPt);
    return unit;
}

// The value a Celsius value takes after the trip through °F.
double ThroughFahrenheit(double celsius) { return ((celsius * 1.8 + 32.0) - 32.0) / 1.8; }
}  // namespace

TEST(CCelsiusFahrenheit, RoomTemperature) {
    CScriptedUi ui;
    CCelsiusFahrenheit t(68.0, Fahrenheit());
    t.ConvertTo(Celsius());
    ExpectRelativelyNear(20.0, t.Value(), kPreciseTolerance);
    EXPECT_EQ(t.Unit(), Celsius());
    t.ConvertTo(Fahrenheit());
    ExpectRelativelyNear(68.0, t.Value(), kPreciseTolerance);
}

TEST(CCelsiusFahrenheit, RoundTripsBetweenBothUnits) {
    CScriptedUi ui;
    for (double value : {68.0, -40.0, 1200.0, 0.0, 37.3}) {
        ExpectRoundTripsBetweenAllUnits<CCelsiusFahrenheit>({Celsius(), Fahrenheit()}, value);
    }
}

TEST(CCelsiusFahrenheit, OwnUnitIsRecomputed) {
    CScriptedUi ui;
    std::optional<double> changed;
    for (int i = 1; i < 1000 && !changed; ++i) {
        const double celsius = i * 0.1;
        if (!SameBits(ThroughFahrenheit(celsius), celsius)) changed = celsius;
    }
    ASSERT_TRUE(changed) << "no value changes in the trip through Fahrenheit";
    CCelsiusFahrenheit t(*changed, Celsius());
    t.ConvertTo(Celsius());
    EXPECT_TRUE(SameBits(t.Value(), ThroughFahrenheit(*changed)));
    EXPECT_FALSE(SameBits(t.Value(), *changed));
}

TEST(CCelsiusFahrenheit, OnlyCelsiusAndFahrenheitWithTheTemperatureTrace) {
    const char* text = "ERROR: Illegal units in CTemperature::ConvertTo\n";
    ExpectIllegalConversion<CCelsiusFahrenheit>(CUnit(34, units::kMtcPt), Celsius(), text);
    ExpectIllegalConversion<CCelsiusFahrenheit>(Fahrenheit(), CUnit(35, units::kMtcPt), text);
    ExpectIllegalConversion<CCelsiusFahrenheit>(Celsius(), CUnit(6, units::kMtcSp), text);
}

TEST(CCelsiusFahrenheit, SetAndAssignmentFromAnyDimensionedValue) {
    CScriptedUi ui;
    CCelsiusFahrenheit t;
    t.Set(20.0, Celsius());
    EXPECT_EQ(t.Value(), 20.0);
    t = CDimValue(68.0, Fahrenheit());
    EXPECT_EQ(t.Unit(), Fahrenheit());
    EXPECT_EQ(t.Value(), 68.0);
}
