#include <gtest/gtest.h>

#include <vector>

#include "units/Units.h"

// measurement type table: allowed units in list order and the names
// used in message 2049.
TEST(UnitsTable, AllowedUnitsInListOrder) {
    EXPECT_EQ(units::AllowedUnits(0), (std::vector<int>{240, 1, 11, 12}));
    EXPECT_EQ(units::AllowedUnits(1), (std::vector<int>{6, 12, 237}));
    EXPECT_EQ(units::AllowedUnits(2), (std::vector<int>{33, 32, 34, 35}));
    EXPECT_EQ(units::AllowedUnits(32), (std::vector<int>{241, 123, 242, 243, 121, 244, 80, 81, 82,
                                                         83, 70, 71, 72, 73, 74, 75}));
    EXPECT_EQ(units::AllowedUnits(33), (std::vector<int>{92, 94}));
    EXPECT_EQ(units::AllowedUnits(34), (std::vector<int>{55, 245, 246}));
    EXPECT_EQ(units::AllowedUnits(35), (std::vector<int>{47, 49}));
    EXPECT_EQ(units::AllowedUnits(36), (std::vector<int>{0}));
    EXPECT_TRUE(units::AllowedUnits(3).empty());
}

TEST(UnitsTable, KnownTypesAreTheEightCodes) {
    for (int type = -2; type < 300; ++type) {
        const bool known = (type >= 0 && type <= 2) || (type >= 32 && type <= 36);
        EXPECT_EQ(units::IsKnownType(type), known) << type;
    }
}

TEST(UnitsTable, TypeNamesCarryALeadingBlank) {
    EXPECT_EQ(units::TypeName(0), " DP");
    EXPECT_EQ(units::TypeName(1), " SP");
    EXPECT_EQ(units::TypeName(2), " PT");
    EXPECT_EQ(units::TypeName(32), " FLOW");
    EXPECT_EQ(units::TypeName(33), " DENSITY");
    EXPECT_EQ(units::TypeName(34), " VISCOSITY");
    EXPECT_EQ(units::TypeName(35), " LENGTH");
    EXPECT_EQ(units::TypeName(36), " MTC_NONE");
    EXPECT_EQ(units::TypeName(37), "");
}

TEST(UnitsTable, IsAllowedFollowsTheLists) {
    EXPECT_TRUE(units::IsAllowed(240, 0));
    EXPECT_FALSE(units::IsAllowed(240, 32));
    EXPECT_TRUE(units::IsAllowed(0, 36));
    EXPECT_FALSE(units::IsAllowed(0, 0));
    EXPECT_FALSE(units::IsAllowed(6, 99));
}

TEST(UnitsTable, NamesOfCodesFromTwoHundredFortyDependOnTheType) {
    EXPECT_EQ(units::UnitName(240, 0),
              "InH2O-60\xC2\xB0"
              "F");
    EXPECT_EQ(units::UnitName(240, 1),
              "InH2O-60\xC2\xB0"
              "F");
    EXPECT_FALSE(units::HasUnitName(240, 32));
    EXPECT_EQ(units::UnitName(240, 32), "");
    EXPECT_EQ(units::UnitName(241, 32), "StdCuft/s");
    EXPECT_FALSE(units::HasUnitName(241, 0));
    EXPECT_EQ(units::UnitName(245, 34), "Lbs/Ft sec");
    EXPECT_FALSE(units::HasUnitName(246, 2));
}

TEST(UnitsTable, NamesOfCodesBelowTwoHundredFortyIgnoreTheType) {
    // Codes of the name table that no allowed list holds still have names.
    EXPECT_EQ(units::UnitName(2, 0),
              "InHg-0\xC2\xB0"
              "C");
    EXPECT_EQ(units::UnitName(3, 36),
              "ftH2O-68\xC2\xB0"
              "F");
    EXPECT_EQ(units::UnitName(4, 1),
              "mmH2O-68\xC2\xB0"
              "F");
    EXPECT_EQ(units::UnitName(5, 1),
              "mmHg-0\xC2\xB0"
              "C");
    EXPECT_EQ(units::UnitName(7, 1), "bar");
    EXPECT_EQ(units::UnitName(8, 1), "mbar");
    EXPECT_EQ(units::UnitName(9, 1), "g/SqCm");
    EXPECT_EQ(units::UnitName(10, 1), "Kg/SqCm");
    EXPECT_EQ(units::UnitName(13, 1), "torr");
    EXPECT_EQ(units::UnitName(14, 1), "Atm");
    EXPECT_TRUE(units::HasUnitName(0, 0));
    EXPECT_EQ(units::UnitName(0, 0), "");
    EXPECT_FALSE(units::HasUnitName(15, 1));
    EXPECT_FALSE(units::HasUnitName(239, 1));
}
