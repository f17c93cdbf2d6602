#include <gtest/gtest.h>

#include <ostream>

#include <vector>

#include "tests/support/CScriptedUi.h"
#include "tests/units/UnitsTestSupport.h"
#include "units/Units.h"

using namespace units_test;

namespace {
constexpr const char* kUnknownMeasType = "ERROR: Unknown MeasTypeCode in ConvertArray";
}  // namespace

struct ArrayCase {
    int fromCode;
    int fromType;
    int toCode;
    int toType;
    double value;
    double expected;
};

// The dimension class follows the to-unit's type: 1 pressure, 2 temperature,
// 33 density, 34 viscosity.
const ArrayCase kArrayCases[] = {
    {6, units::kMtcSp, 12, units::kMtcSp, 1.0, 0.24864107 / 0.03606234},
    {240, units::kMtcDp, 6, units::kMtcSp, 27.72976, 27.72976 / 0.999189 * 0.03606234},
    {33, units::kMtcPt, 32, units::kMtcPt, 68.0, 20.0},
    {33, units::kMtcPt, 34, units::kMtcPt, 68.0, 527.67},
    {94, units::kMtcDensity, 92, units::kMtcDensity, 1.0, 16.01846},
    {55, units::kMtcViscosity, 246, units::kMtcViscosity, 1.0, 0.001},
};

void PrintTo(const ArrayCase& c, std::ostream* os) {
    *os << "(" << c.fromCode << ", " << c.fromType << ") to (" << c.toCode << ", " << c.toType
        << ")";
}

class ConvertArray : public ::testing::TestWithParam<ArrayCase> {};

TEST_P(ConvertArray, ConvertsEveryValueInPlace) {
    CScriptedUi ui;
    const ArrayCase& c = GetParam();
    std::vector<double> values = {c.value, 2.0 * c.value, c.value};
    units::ConvertArray(2, values.data(), CUnit(c.fromCode, c.fromType), CUnit(c.toCode, c.toType));
    ExpectRelativelyNear(c.expected, values[0], kPreciseTolerance);
    EXPECT_GT(values[1], 0.0);
    EXPECT_EQ(values[2], c.value) << "only n values are converted";
}

INSTANTIATE_TEST_SUITE_P(Units, ConvertArray, ::testing::ValuesIn(kArrayCases));

TEST(ConvertArray, FewerThanOneValueDoesNothing) {
    CScriptedUi ui;
    double value = 68.0;
    units::ConvertArray(0, &value, CUnit(33, units::kMtcPt), CUnit(32, units::kMtcPt));
    units::ConvertArray(-3, &value, CUnit(33, units::kMtcPt), CUnit(32, units::kMtcPt));
    EXPECT_EQ(value, 68.0);
}

TEST(ConvertArray, OtherToUnitTypesShowTheMessageAndAbandon) {
    const CUnit targets[] = {CUnit(1, units::kMtcDp), CUnit(242, units::kMtcFlow),
                             CUnit(49, units::kMtcLength), CUnit()};
    for (const CUnit& to : targets) {
        double values[] = {250.0, 125.0};
        ExpectPlainMessageThenAbandon(kUnknownMeasType, [&] {
            units::ConvertArray(2, values, CUnit(240, units::kMtcDp), to);
        });
        EXPECT_EQ(values[0], 250.0);
        EXPECT_EQ(values[1], 125.0);
    }
}

TEST(ConvertArray, IllegalFromUnitIsNotSupported) {
    CScriptedUi ui;
    double value = 1.0;
    EXPECT_THROW(units::ConvertArray(1, &value, CUnit(33, units::kMtcPt), CUnit(6, units::kMtcSp)),
                 CNotSupportedException);
}
