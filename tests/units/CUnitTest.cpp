#include <gtest/gtest.h>

#include <ostream>

#include <string>

#include "tests/support/CScriptedUi.h"
#include "tests/units/UnitsTestSupport.h"
#include "units/CUnit.h"
#include "units/Units.h"

using units_test::ExpectPlainMessageThenAbandon;
using units_test::InvalidMeasTypeText;
using units_test::InvalidUnitCodeText;

TEST(CUnit, DefaultIsNoUnitAndShowsNothing) {
    CScriptedUi ui;
    const CUnit unit;
    EXPECT_EQ(unit.UnitCode(), 0);
    EXPECT_EQ(unit.MeasType(), units::kMtcNone);
    EXPECT_EQ(unit.Name(), "");
}

TEST(CUnit, ConstructionCopyAndAssignmentOfValidUnitsShowNothing) {
    CScriptedUi ui;
    const CUnit psi(6, units::kMtcSp);
    const CUnit copy(psi);
    CUnit assigned;
    assigned = psi;
    EXPECT_EQ(copy, psi);
    EXPECT_EQ(assigned, psi);
    EXPECT_EQ(assigned.UnitCode(), 6);
    EXPECT_EQ(assigned.MeasType(), units::kMtcSp);
}

TEST(CUnit, EqualityNeedsBothCodes) {
    CScriptedUi ui;
    EXPECT_EQ(CUnit(12, units::kMtcDp), CUnit(12, units::kMtcDp));
    EXPECT_NE(CUnit(12, units::kMtcDp), CUnit(12, units::kMtcSp));
    EXPECT_NE(CUnit(11, units::kMtcDp), CUnit(12, units::kMtcDp));
}

struct InvalidUnit {
    int unitCode;
    int measType;
    const char* typeName;  // empty: the measurement type itself is unknown (string 2048)
};

const InvalidUnit kInvalidUnits[] = {
    {240, units::kMtcFlow, " FLOW"},  // edge case
    {240, units::kMtcSp, " SP"},      // named for type 1, but not in the SP list
    {2, units::kMtcDp, " DP"},        // a pressure code outside every allowed list
    {240, units::kMtcPt, " PT"},
    {6, units::kMtcDp, " DP"},  // psi is an SP unit only
    {33, units::kMtcDensity, " DENSITY"},
    {92, units::kMtcViscosity, " VISCOSITY"},
    {55, units::kMtcLength, " LENGTH"},
    {1, units::kMtcNone, " MTC_NONE"},  // type 36 allows code 0 only
    {0, units::kMtcDp, " DP"},
    {0, 3, ""},
    {6, 37, ""},
    {0, -1, ""},
};

void PrintTo(const InvalidUnit& u, std::ostream* os) {
    *os << "(" << u.unitCode << ", " << u.measType << ")";
}

class CUnitValidation : public ::testing::TestWithParam<InvalidUnit> {};

TEST_P(CUnitValidation, ShowsOneMessageAndAbandonsSilently) {
    const InvalidUnit& bad = GetParam();
    const std::string text =
        *bad.typeName ? InvalidUnitCodeText(bad.measType) : InvalidMeasTypeText();
    if (*bad.typeName) {
        EXPECT_EQ(text, std::string("Please retry the operation: invalid units code...\n"
                                    "measurement type is:") +
                            bad.typeName);
    } else {
        EXPECT_EQ(text, "Please retry the operation: invalid measurement type code");
    }
    ExpectPlainMessageThenAbandon(text, [&] { CUnit unit(bad.unitCode, bad.measType); });
}

INSTANTIATE_TEST_SUITE_P(CUnit, CUnitValidation, ::testing::ValuesIn(kInvalidUnits));

TEST(CUnit, ValidateOfAValidUnitShowsNothing) {
    CScriptedUi ui;
    CUnit(35, units::kMtcPt).Validate();
    CUnit().Validate();
}

struct NamedUnit {
    int unitCode;
    int measType;
    const char* name;
};

// unit name table (the degree sign is U+00B0, UTF-8 C2 B0).
const NamedUnit kNamedUnits[] = {
    {240, units::kMtcDp,
     "InH2O-60\xC2\xB0"
     "F"},
    {1, units::kMtcDp,
     "InH2O-68\xC2\xB0"
     "F"},
    {11, units::kMtcDp, "Pa"},
    {12, units::kMtcDp, "kPa"},
    {6, units::kMtcSp, "psi"},
    {12, units::kMtcSp, "kPa"},
    {237, units::kMtcSp, "MPa"},
    {32, units::kMtcPt,
     "\xC2\xB0"
     "C"},
    {33, units::kMtcPt,
     "\xC2\xB0"
     "F"},
    {34, units::kMtcPt,
     "\xC2\xB0"
     "R"},
    {35, units::kMtcPt,
     "\xC2\xB0"
     "K"},
    {241, units::kMtcFlow, "StdCuft/s"},
    {123, units::kMtcFlow, "StdCuft/min"},
    {242, units::kMtcFlow, "StdCuft/h"},
    {243, units::kMtcFlow, "StdCuft/d"},
    {121, units::kMtcFlow, "StdCum/h"},
    {244, units::kMtcFlow, "StdCum/d"},
    {80, units::kMtcFlow, "lbs/sec"},
    {81, units::kMtcFlow, "lbs/min"},
    {82, units::kMtcFlow, "lbs/hour"},
    {83, units::kMtcFlow, "lbs/day"},
    {70, units::kMtcFlow, "g/sec"},
    {71, units::kMtcFlow, "g/min"},
    {72, units::kMtcFlow, "g/hour"},
    {73, units::kMtcFlow, "Kg/sec"},
    {74, units::kMtcFlow, "Kg/min"},
    {75, units::kMtcFlow, "Kg/hour"},
    {92, units::kMtcDensity, "Kg/CuM"},
    {94, units::kMtcDensity, "Lbs/CuFt"},
    {55, units::kMtcViscosity, "Centipoise"},
    {245, units::kMtcViscosity, "Lbs/Ft sec"},
    {246, units::kMtcViscosity, "Pascal sec"},
    {47, units::kMtcLength, "inches"},
    {49, units::kMtcLength, "mm"},
    {0, units::kMtcNone, ""},
};

void PrintTo(const NamedUnit& u, std::ostream* os) {
    *os << "(" << u.unitCode << ", " << u.measType << ")";
}

class CUnitName : public ::testing::TestWithParam<NamedUnit> {};

TEST_P(CUnitName, IsTheNameOfTheTable) {
    CScriptedUi ui;
    const NamedUnit& named = GetParam();
    EXPECT_EQ(CUnit(named.unitCode, named.measType).Name(), named.name);
}

INSTANTIATE_TEST_SUITE_P(CUnit, CUnitName, ::testing::ValuesIn(kNamedUnits));

TEST(CUnit, EveryAllowedUnitHasAName) {
    CScriptedUi ui;
    for (int type : {0, 1, 2, 32, 33, 34, 35}) {
        for (int code : units::AllowedUnits(type)) {
            EXPECT_FALSE(CUnit(code, type).Name().empty()) << code << "/" << type;
        }
    }
}

TEST(CUnit, SuffixMarksAbsoluteOrGauge) {
    CScriptedUi ui;
    const CUnit psi(6, units::kMtcSp);
    EXPECT_EQ(psi.NameWithSuffix(1), "psig");
    EXPECT_EQ(psi.NameWithSuffix(0), "psia");
    EXPECT_EQ(psi.NameWithSuffix(2), "psi");
    EXPECT_EQ(psi.NameWithSuffix(-1), "psi");
    EXPECT_EQ(CUnit(237, units::kMtcSp).NameWithSuffix(1), "MPag");
}
