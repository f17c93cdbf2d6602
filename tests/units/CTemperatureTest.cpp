#include <gtest/gtest.h>

#include <vector>

#include "tests/support/CScriptedUi.h"
#include "tests/units/UnitsTestSupport.h"
#include "units/CTemperature.h"
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
const CUnit& Rankine() {
    static const CUnit unit(34, units::kMtcPt);
    return unit;
}
const CUnit& Kelvin() {
    static const CUnit unit(35, units::kMtcPt);
    return unit;
}

// 68 °F is 20 °C, 527.67 °R and 293.15 °K.
constexpr double kRoomF = 68.0;
constexpr double kRoomC = 20.0;
constexpr double kRoomR = 527.67;
constexpr double kRoomK = 293.15;

struct TemperaturePoint {
    double value;
    int unitCode;
};

const TemperaturePoint kRoomTemperature[] = {
    {kRoomF, 33}, {kRoomC, 32}, {kRoomR, 34}, {kRoomK, 35}};

}  // namespace

TEST(CTemperature, RoomTemperatureInEveryUnit) {
    CScriptedUi ui;
    for (const auto& target : kRoomTemperature) {
        CTemperature t(kRoomF, Fahrenheit());
        t.ConvertTo(CUnit(target.unitCode, units::kMtcPt));
        ExpectRelativelyNear(target.value, t.Value(), kPreciseTolerance);
        EXPECT_EQ(t.Unit(), CUnit(target.unitCode, units::kMtcPt));
        t.ConvertTo(Fahrenheit());
        ExpectRelativelyNear(kRoomF, t.Value(), kPreciseTolerance);
    }
}

TEST(CTemperature, FromEveryUnitToFahrenheit) {
    CScriptedUi ui;
    for (const auto& source : kRoomTemperature) {
        CTemperature t(source.value, CUnit(source.unitCode, units::kMtcPt));
        t.ConvertTo(Fahrenheit());
        ExpectRelativelyNear(kRoomF, t.Value(), kPreciseTolerance);
    }
}

TEST(CTemperature, AbsoluteZero) {
    CScriptedUi ui;
    CTemperature t(0.0, Kelvin());
    t.ConvertTo(Rankine());
    EXPECT_NEAR(t.Value(), 0.0, 1e-12);
    t.ConvertTo(Fahrenheit());
    EXPECT_NEAR(t.Value(), -459.67, 1e-12);
    t.ConvertTo(Celsius());
    EXPECT_NEAR(t.Value(), -273.15, 1e-12);
}

TEST(CTemperature, RoundTripsBetweenAllUnits) {
    CScriptedUi ui;
    const std::vector<CUnit> all = {Fahrenheit(), Celsius(), Rankine(), Kelvin()};
    for (double value : {68.0, -40.0, 1200.0, 0.0, 1e-9, 451.3}) {
        ExpectRoundTripsBetweenAllUnits<CTemperature>(all, value);
    }
}

TEST(CTemperature, OwnUnitKeepsBits) {
    CScriptedUi ui;
    ExpectOwnUnitConversionKeepsBits<CTemperature>({Fahrenheit(), Celsius(), Rankine(), Kelvin()});
}

TEST(CTemperature, IllegalUnits) {
    const char* text = "ERROR: Illegal units in CTemperature::ConvertTo\n";
    ExpectIllegalConversion<CTemperature>(CUnit(6, units::kMtcSp), Celsius(), text);
    ExpectIllegalConversion<CTemperature>(Fahrenheit(), CUnit(6, units::kMtcSp), text);
    ExpectIllegalConversion<CTemperature>(CUnit(), Celsius(), text);
}

TEST(CTemperature, SetAndAssignmentFromAnyDimensionedValue) {
    CScriptedUi ui;
    CTemperature t;
    t.Set(100.0, Celsius());
    EXPECT_EQ(t.Value(), 100.0);
    EXPECT_EQ(t.Unit(), Celsius());
    t = CDimValue(kRoomF, Fahrenheit());
    EXPECT_EQ(t.Value(), kRoomF);
    EXPECT_EQ(t.Unit(), Fahrenheit());
    t.ConvertTo(Celsius());
    ExpectRelativelyNear(kRoomC, t.Value(), kPreciseTolerance);
}
