#include "flow/FlowTestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "flow/CGasFlow.h"
#include "flow/CLiquidFlow.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "tests/flow/TestSupport.h"
#include "tests/support/CScopedCLocale.h"
#include "tests/support/CScriptedUi.h"

namespace {

// The test file parsed back: the density table and the coefficient sections.
struct ParsedFitFile {
    std::string fluid;
    std::string densityHeading;
    float table[7][9] = {};
    std::vector<std::pair<std::string, std::vector<float>>> sections;
};

bool ParseFitFile(const std::string& text, ParsedFitFile& parsed) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, parsed.fluid)) return false;
    if (!std::getline(in, parsed.densityHeading)) return false;
    for (int k = 0; k < 63; ++k) {
        if (!std::getline(in, line)) return false;
        int j = -1;
        int i = -1;
        double value = 0.0;
        if (std::sscanf(line.c_str(), "%d\t%d\t%lf", &j, &i, &value) != 3) return false;
        if (j != k / 7 || i != k % 7) return false;
        parsed.table[i][j] = static_cast<float>(value);
    }
    while (std::getline(in, line)) {
        int index = -1;
        double value = 0.0;
        if (std::sscanf(line.c_str(), "%d\t%lf", &index, &value) == 2) {
            if (parsed.sections.empty()) return false;
            auto& values = parsed.sections.back().second;
            if (index != static_cast<int>(values.size())) return false;
            values.push_back(static_cast<float>(value));
        } else {
            parsed.sections.push_back({line, {}});
        }
    }
    return true;
}

std::vector<float> ParseArrayFile(const std::string& text) {
    std::vector<float> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        int index = -1;
        double value = 0.0;
        if (std::sscanf(line.c_str(), "%d\t%lf", &index, &value) != 2 ||
            index != static_cast<int>(values.size()))
            return {};
        values.push_back(static_cast<float>(value));
    }
    return values;
}

// "%+14.6e" keeps 7 significant digits.
void ExpectSameValue(float written, float held) {
    EXPECT_NEAR(written, held, 1e-6 * std::fabs(held) + 1e-30);
}

void ExpectSection(const ParsedFitFile& parsed, size_t index, const std::string& heading,
                   const CCurveFit& fit, size_t count) {
    ASSERT_GT(parsed.sections.size(), index);
    EXPECT_EQ(parsed.sections[index].first, heading);
    ASSERT_EQ(parsed.sections[index].second.size(), count);
    for (size_t k = 0; k < count; ++k)
        ExpectSameValue(parsed.sections[index].second[k], fit.Coefficient(static_cast<int>(k)));
}

}  // namespace

TEST(FlowTestFiles, DefaultGasConfigurationWritesItsFitsAndArray) {
    CScriptedUi ui;
    CTempDir dir;
    CGasFlow gas;
    ASSERT_TRUE(flow::WriteFlowTestFiles(&gas, dir.Path()));
    EXPECT_EQ(gas.TestMode(), 0);
    for (const CCurveFit* fit : gas.Fits()) EXPECT_TRUE(fit->Valid());

    ParsedFitFile parsed;
    ASSERT_TRUE(ParseFitFile(ReadFile(dir.File("1-gas.txt")), parsed));
    EXPECT_EQ(parsed.fluid, "NITROGEN");
    EXPECT_EQ(parsed.densityHeading, "Compressibility Fit");
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 9; ++j)
            ExpectSameValue(parsed.table[i][j], gas.Density()->TableValue(i, j));
    }
    ASSERT_EQ(parsed.sections.size(), 4u);
    ExpectSection(parsed, 0, "Cd Fit", *gas.DischargeCoeff(), 7);
    ExpectSection(parsed, 1, "Ed^2 Fit", *gas.EdSquared(), 3);
    ExpectSection(parsed, 2, "Gas expansion Fit", *gas.GetGasExpansion(), 3);
    ExpectSection(parsed, 3, "Viscosity Fit", *gas.Viscosity(), 4);

    const std::vector<float> array = ParseArrayFile(ReadFile(dir.File("162-send.txt")));
    ASSERT_EQ(array.size(), 104u);
    for (size_t k = 0; k < array.size(); ++k) ExpectSameValue(array[k], gas.Array()[k]);
}

TEST(FlowTestFiles, DefaultLiquidConfigurationWritesItsFitsAndArray) {
    CScriptedUi ui;
    CTempDir dir;
    CLiquidFlow liquid;
    ASSERT_TRUE(flow::WriteFlowTestFiles(&liquid, dir.Path()));

    ParsedFitFile parsed;
    ASSERT_TRUE(ParseFitFile(ReadFile(dir.File("1-liquid.txt")), parsed));
    EXPECT_EQ(parsed.fluid, "WATER");
    EXPECT_EQ(parsed.densityHeading, "Density Fit");
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 9; ++j)
            ExpectSameValue(parsed.table[i][j], liquid.Density()->TableValue(i, j));
    }
    ASSERT_EQ(parsed.sections.size(), 3u);
    ExpectSection(parsed, 0, "Cd Fit", *liquid.DischargeCoeff(), 7);
    ExpectSection(parsed, 1, "Ed^2 Fit", *liquid.EdSquared(), 3);
    ExpectSection(parsed, 2, "Viscosity Fit", *liquid.Viscosity(), 4);

    const std::vector<float> array = ParseArrayFile(ReadFile(dir.File("162-send.txt")));
    ASSERT_EQ(array.size(), 104u);
    for (size_t k = 0; k < array.size(); ++k) ExpectSameValue(array[k], liquid.Array()[k]);
    EXPECT_FLOAT_EQ(array[92], 275.0f);
}

TEST(FlowTestFiles, MissingConfiguration) {
    CScriptedUi ui;
    ui.Expect("No Flow Application");
    EXPECT_FALSE(flow::WriteFlowTestFiles(nullptr, "."));
}

TEST(FlowTestFiles, UncreatableFileIsNamedInTheMessage) {
    CScriptedUi ui;
    CTempDir dir;
    const std::string missing = dir.File("no/such/dir");
    CGasFlow gas;
    ui.Expect(missing + "/1-gas.txt <== Open failed");
    EXPECT_FALSE(flow::WriteFlowTestFiles(&gas, missing));
    EXPECT_EQ(gas.TestMode(), 0);
}

TEST(FlowTestFiles, TestGeometryOnlyWithoutABore) {
    CScriptedUi ui;
    CTempDir dir;
    CGasFlow gas;
    ASSERT_TRUE(flow::WriteFlowTestFiles(&gas, dir.Path()));
    EXPECT_EQ(gas.BoreDiameter().Value(), 1.5);
    EXPECT_EQ(gas.TubeDiameter().Value(), 4.0);
    EXPECT_EQ(gas.OperatingPressureMin().Value(), 1.0);
    EXPECT_EQ(gas.OperatingPressureMax().Value(), 50.0);
    EXPECT_EQ(gas.OperatingPressureMax().Unit(), CUnit(6, 1));
    EXPECT_EQ(gas.OperatingTemperatureMax().Value(), 100.0);

    // A configuration with its own bore keeps its (here unusable) ranges, and
    // the failing density fit ends the writing with its message.
    CGasFlow own;
    own.SetBoreDiameter(CLength(1.0, CUnit(47, 35)));
    own.SetTubeDiameter(CLength(3.0, CUnit(47, 35)));
    ui.Expect(LoadString(336));
    EXPECT_FALSE(flow::WriteFlowTestFiles(&own, dir.Path()));
    EXPECT_EQ(own.OperatingPressureMax().Value(), 0.0);
    EXPECT_FALSE(own.Density()->Valid());

    // A geometry the discharge coefficient cannot use abandons the writing
    // after its message; the writer reports that as a failure.
    own.SetOperatingPressureMin(CPressure(1.0, CUnit(6, 1)));
    own.SetOperatingPressureMax(CPressure(50.0, CUnit(6, 1)));
    own.SetOperatingTemperatureMax(CTemperature(100.0, CUnit(33, 2)));
    own.SetBoreDiameter(CLength(3.0, CUnit(47, 35)));
    ui.Expect(LoadString(340));
    EXPECT_FALSE(flow::WriteFlowTestFiles(&own, dir.Path()));
    EXPECT_TRUE(own.Density()->Valid());
    EXPECT_FALSE(own.DischargeCoeff()->Valid());
}

TEST(FlowTestFiles, ValidFitsAreWrittenAsTheyAre) {
    CScriptedUi ui;
    CTempDir dir;
    CGasFlow gas;
    ASSERT_TRUE(flow::WriteFlowTestFiles(&gas, dir.Path()));
    // Coefficients received from a transmitter: valid, no points. The writer
    // must not refit them.
    gas.DischargeCoeff()->SetCoefficient(6, 42.0f);
    ASSERT_TRUE(flow::WriteFlowTestFiles(&gas, dir.Path()));
    ParsedFitFile parsed;
    ASSERT_TRUE(ParseFitFile(ReadFile(dir.File("1-gas.txt")), parsed));
    ASSERT_GE(parsed.sections.size(), 1u);
    EXPECT_EQ(parsed.sections[0].second[6], 42.0f);
    EXPECT_NE(ReadFile(dir.File("1-gas.txt")).find("6\t +4.200000e+01\n"), std::string::npos);
}

// A configuration whose density and viscosity values were typed in: the
// writer lays out their grids again and fits the values as they stand.
TEST(FlowTestFiles, ValuesTypedInAreFittedAsTheyStand) {
    CScriptedUi ui;
    CTempDir dir;
    CLiquidFlow liquid;
    liquid.SetFluidName("MY COOLANT");  // not in the database
    liquid.SetBoreDiameter(CLength(1.5, CUnit(47, 35)));
    liquid.SetTubeDiameter(CLength(4.0, CUnit(47, 35)));
    liquid.SetOperatingTemperatureMax(CTemperature(100.0, CUnit(33, 2)));
    liquid.SetDensityDataSource(1);
    liquid.SetViscosityDataSource(7);
    const std::vector<double> densities = {68.1, 67.9, 67.6, 67.2};
    const std::vector<double> viscosities = {4.1, 3.0, 2.3, 1.9};
    liquid.Density()->Resize(4);
    liquid.Density()->DisplayY() = densities;
    liquid.Viscosity()->Resize(4);
    liquid.Viscosity()->DisplayY() = viscosities;

    ASSERT_TRUE(flow::WriteFlowTestFiles(&liquid, dir.Path()));
    EXPECT_EQ(liquid.Density()->DisplayY(), densities);
    EXPECT_EQ(liquid.Viscosity()->DisplayY(), viscosities);
    // The base density comes from the fit at 68 °F: between the values typed
    // in at 66.7 °F and 100 °F.
    EXPECT_LT(liquid.BaseDensity().Value(), 67.6);
    EXPECT_GT(liquid.BaseDensity().Value(), 67.2);
    const std::vector<float> array = ParseArrayFile(ReadFile(dir.File("162-send.txt")));
    ASSERT_EQ(array.size(), 104u);
    ExpectSameValue(array[1], static_cast<float>(liquid.BaseDensity().Value()));
}

// The test files carry decimal points whatever locale the program runs in.
TEST(FlowTestFiles, DecimalCommaLocaleWritesTheSameFiles) {
    CScriptedUi ui;
    for (const bool liquidCase : {false, true}) {
        const char* fitFile = liquidCase ? "1-liquid.txt" : "1-gas.txt";
        CTempDir plain;
        CTempDir comma;
        {
            std::unique_ptr<CFlow> f;
            if (liquidCase)
                f = std::make_unique<CLiquidFlow>();
            else
                f = std::make_unique<CGasFlow>();
            ASSERT_TRUE(flow::WriteFlowTestFiles(f.get(), plain.Path()));
        }
        {
            CScopedCLocale locale;
            ASSERT_TRUE(locale.Active());
            ASSERT_EQ(CScopedCLocale::DecimalPoint(), ",");
            std::unique_ptr<CFlow> f;
            if (liquidCase)
                f = std::make_unique<CLiquidFlow>();
            else
                f = std::make_unique<CGasFlow>();
            ASSERT_TRUE(flow::WriteFlowTestFiles(f.get(), comma.Path()));
        }
        for (const char* name : {fitFile, "162-send.txt"}) {
            const std::string expected = ReadFile(plain.File(name));
            ASSERT_FALSE(expected.empty()) << name;
            EXPECT_EQ(ReadFile(comma.File(name)), expected) << name;
        }
    }
}
