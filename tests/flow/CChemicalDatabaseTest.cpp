#include "flow/CChemicalDatabase.h"

#include <gtest/gtest.h>

#include "resources/Strings.h"
#include "tests/flow/TestSupport.h"
#include "tests/support/CScopedCLocale.h"
#include "tests/support/CScriptedUi.h"

namespace {

constexpr const char* kHeader =
    "NAME,F,CAS,MW,X,Y,Z,A,B,C,D,E,CA,CB,CC,CD,CE,BA,BB,BC,BD,BE,"
    "LA,LB,LC,LD,LE,VA,VB,VC,VD,U\n";

// A fluid line: name field as given, field 4 = `number`, then the 25
// constants 1..25 (so record kind 0 reads 1..5, kind 3 reads 16..25).
std::string FluidLine(const std::string& nameField, const std::string& number) {
    std::string line = nameField + ",F," + "1-2-3," + number + ",5,6,7";
    for (int k = 1; k <= 25; ++k) line += "," + std::to_string(k);
    return line + "\n";
}

}  // namespace

TEST(CChemicalDatabase, NormalisationMarksSpacesAndSplitsOnCommasOutsideQuotes) {
    EXPECT_EQ(CChemicalDatabase::Normalise("\"A B,C\",D E,F"), " A$B,C  D$E F");
}

TEST(CChemicalDatabase, QuotedNameWithCommaKeepsFieldFour) {
    CScriptedUi ui;
    CTempDir dir;
    const std::string path =
        dir.Write("db", std::string(kHeader) + FluidLine("\"ACID, GLACIAL\"", "60.05"));
    CChemicalDatabase db(path);
    double number = 0.0;
    EXPECT_TRUE(db.LookUp("acid, glacial", false, &number));
    EXPECT_DOUBLE_EQ(number, 60.05);
    CChemicalDatabase::Record record{};
    ASSERT_TRUE(
        db.ReadRecord("Acid, Glacial", CChemicalDatabase::RecordKind::SecondVirial, record));
    EXPECT_DOUBLE_EQ(record[0], 11.0);
    EXPECT_DOUBLE_EQ(record[4], 15.0);
    std::vector<std::string> names;
    ASSERT_TRUE(db.ListNames(names));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "ACID, GLACIAL");
}

TEST(CChemicalDatabase, LowerCaseNameFindsUpperCaseEntryAndReadsEveryKind) {
    CScriptedUi ui;
    CTempDir dir;
    const std::string path = dir.Write("db", std::string(kHeader) + FluidLine("METHANE", "16.04") +
                                                 FluidLine("\"CARBON DIOXIDE\"", "44.01"));
    CChemicalDatabase db(path);
    EXPECT_TRUE(db.LookUp("carbon dioxide", false));
    CChemicalDatabase::Record record{};
    ASSERT_TRUE(db.ReadRecord("methane", CChemicalDatabase::RecordKind::LiquidDensity, record));
    EXPECT_DOUBLE_EQ(record[0], 1.0);
    EXPECT_DOUBLE_EQ(record[4], 5.0);
    EXPECT_DOUBLE_EQ(record[5], 0.0);  // five constants only
    ASSERT_TRUE(db.ReadRecord("methane", CChemicalDatabase::RecordKind::HeatCapacity, record));
    EXPECT_DOUBLE_EQ(record[0], 6.0);
    ASSERT_TRUE(db.ReadRecord("methane", CChemicalDatabase::RecordKind::Viscosity, record));
    EXPECT_DOUBLE_EQ(record[0], 16.0);
    EXPECT_DOUBLE_EQ(record[9], 25.0);
}

TEST(CChemicalDatabase, DuplicateNamesTheFirstWins) {
    CScriptedUi ui;
    CTempDir dir;
    const std::string path =
        dir.Write("db", std::string(kHeader) + FluidLine("ARGON", "1") + FluidLine("ARGON", "2"));
    double number = 0.0;
    EXPECT_TRUE(CChemicalDatabase(path).LookUp("Argon", false, &number));
    EXPECT_DOUBLE_EQ(number, 1.0);
}

TEST(CChemicalDatabase, CommaAndSpaceBetweenNumbersDamagesTheRecord) {
    CScriptedUi ui;
    CTempDir dir;
    std::string line = FluidLine("NEON", "20.18");
    line.replace(line.find(",3,"), 3, ",3, ");  // "3, 4" inside the liquid density record
    const std::string path = dir.Write("db", std::string(kHeader) + line);
    CChemicalDatabase db(path);
    ui.Expect(LoadString(350));
    CChemicalDatabase::Record record{};
    EXPECT_FALSE(db.ReadRecord("neon", CChemicalDatabase::RecordKind::LiquidDensity, record));
    // The second virial record lies after the damage and is read normally.
    EXPECT_TRUE(db.ReadRecord("neon", CChemicalDatabase::RecordKind::SecondVirial, record));
    EXPECT_DOUBLE_EQ(record[0], 11.0);
}

TEST(CChemicalDatabase, ShortLineCannotReachItsFieldAndReportsDamageEvenWhenSilent) {
    CScriptedUi ui;
    CTempDir dir;
    const std::string path = dir.Write("db", std::string(kHeader) + "XENON,F\n");
    CChemicalDatabase db(path);
    ui.Expect(LoadString(350));
    EXPECT_FALSE(db.LookUp("xenon", false));
    ui.Expect(LoadString(350));
    CChemicalDatabase::Record record{};
    EXPECT_FALSE(db.ReadRecord("xenon", CChemicalDatabase::RecordKind::Viscosity, record));
}

TEST(CChemicalDatabase, MissingNameShowsItOnlyWhenAsked) {
    CScriptedUi ui;
    CTempDir dir;
    const std::string path = dir.Write("db", std::string(kHeader) + FluidLine("HELIUM", "4"));
    CChemicalDatabase db(path);
    EXPECT_FALSE(db.LookUp("krypton", false));
    ui.Expect(LoadString(352) + "KRYPTON GAS");
    EXPECT_FALSE(db.LookUp("krypton gas", true));
    ui.Expect(LoadString(352) + "KRYPTON");
    CChemicalDatabase::Record record{};
    EXPECT_FALSE(db.ReadRecord("Krypton", CChemicalDatabase::RecordKind::LiquidDensity, record));
}

TEST(CChemicalDatabase, MissingFileAndEmptyFile) {
    CScriptedUi ui;
    CTempDir dir;
    const std::string missing = dir.File("none.db");
    ui.Expect(LoadString(351) + missing + LoadString(2023));
    std::vector<std::string> names;
    EXPECT_FALSE(CChemicalDatabase(missing).ListNames(names));
    EXPECT_FALSE(CChemicalDatabase(missing).LookUp("water", false));

    const std::string empty = dir.Write("empty.db", "");
    ui.Expect(LoadString(350));
    EXPECT_FALSE(CChemicalDatabase(empty).LookUp("water", true));
}

TEST(CChemicalDatabase, OverlongLineIsCutAndItsRestIsNoFluid) {
    CScriptedUi ui;
    CTempDir dir;
    // Field 1 of the continuation would be "TAIL" if the rest of the line were
    // taken as a line of its own.
    std::string longLine = FluidLine("LONG", "7");
    longLine.pop_back();
    longLine += std::string(800 - longLine.size(), '9') + ",TAIL,F,C,9\n";
    const std::string path =
        dir.Write("db", std::string(kHeader) + longLine + FluidLine("AFTER", "8"));
    CChemicalDatabase db(path);
    std::vector<std::string> names;
    ASSERT_TRUE(db.ListNames(names));
    EXPECT_EQ(names, (std::vector<std::string>{"LONG", "AFTER"}));
    double number = 0.0;
    EXPECT_TRUE(db.LookUp("long", false, &number));
    EXPECT_DOUBLE_EQ(number, 7.0);
    EXPECT_TRUE(db.LookUp("after", false, &number));
    EXPECT_DOUBLE_EQ(number, 8.0);
}

TEST(CChemicalDatabase, NamesAreMatchedOnTheirFirst63Characters) {
    EXPECT_EQ(CChemicalDatabase::MatchKey(std::string(70, 'a')), std::string(63, 'A'));
    EXPECT_EQ(CChemicalDatabase::MatchKey("nitric oxide"), "NITRIC$OXIDE");
}

TEST(CChemicalDatabase, ShippedFileBesideTheProgramHoldsTheTestFluids) {
    CScriptedUi ui;
    CChemicalDatabase db;
    std::vector<std::string> names;
    ASSERT_TRUE(db.ListNames(names)) << db.Path();
    EXPECT_NE(std::find(names.begin(), names.end(), "NITROGEN"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "WATER"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "NITRIC OXIDE"), names.end());
}

TEST(CChemicalDatabase, NumbersInEveryDecimalForm) {
    double values[8] = {};
    EXPECT_EQ(
        CChemicalDatabase::ReadNumbers(" +1.5 -2.5E-3 7 .25 3. 9.0959819E+14 1e-300 0", 8, values),
        8);
    EXPECT_EQ(values[0], 1.5);
    EXPECT_EQ(values[1], -0.0025);
    EXPECT_EQ(values[2], 7.0);
    EXPECT_EQ(values[3], 0.25);
    EXPECT_EQ(values[4], 3.0);
    EXPECT_EQ(values[5], 9.0959819e14);
    EXPECT_EQ(values[6], 1e-300);
    EXPECT_EQ(values[7], 0.0);
    // A number ends where its text does: "$" (a space inside a field) stops it
    // and the next read fails there.
    EXPECT_EQ(CChemicalDatabase::ReadNumbers("4.5$6 7", 3, values), 1);
    EXPECT_EQ(values[0], 4.5);
    // Only finite decimal numbers are constants: an infinity, a NaN, a value
    // beyond the range of a double and a second sign end the record.
    for (const char* text : {"inf", "-nan", "1e999", "+-1", "-", "e5"}) {
        double value = 42.0;
        EXPECT_EQ(CChemicalDatabase::ReadNumbers(text, 1, &value), 0) << text;
    }
    // A decimal comma is no decimal point, whatever the locale.
    EXPECT_EQ(CChemicalDatabase::ReadNumbers("1,5", 2, values), 1);
    EXPECT_EQ(values[0], 1.0);
}

TEST(CChemicalDatabase, ReadsTheSameConstantsUnderADecimalCommaLocale) {
    CScriptedUi ui;
    const CChemicalDatabase db;
    const CChemicalDatabase::RecordKind kinds[] = {
        CChemicalDatabase::RecordKind::LiquidDensity, CChemicalDatabase::RecordKind::HeatCapacity,
        CChemicalDatabase::RecordKind::SecondVirial, CChemicalDatabase::RecordKind::Viscosity};
    CChemicalDatabase::Record expected[4] = {};
    double weight = 0.0;
    ASSERT_TRUE(db.LookUp("NITROGEN", true, &weight));
    for (int k = 0; k < 4; ++k) ASSERT_TRUE(db.ReadRecord("NITROGEN", kinds[k], expected[k]));
    // From the shipped file: molecular weight 28.0134, liquid density A 3.2091.
    EXPECT_EQ(weight, 28.0134);
    EXPECT_EQ(expected[0][0], 3.2091);

    CScopedCLocale comma;
    ASSERT_TRUE(comma.Active());
    ASSERT_EQ(CScopedCLocale::DecimalPoint(), ",");
    double weightThere = 0.0;
    EXPECT_TRUE(db.LookUp("NITROGEN", true, &weightThere));
    EXPECT_EQ(weightThere, weight);
    for (int k = 0; k < 4; ++k) {
        CChemicalDatabase::Record record{};
        ASSERT_TRUE(db.ReadRecord("NITROGEN", kinds[k], record)) << k;
        EXPECT_EQ(record, expected[k]) << k;
    }
}
