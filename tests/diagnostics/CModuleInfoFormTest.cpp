// Module Information against the simulated transmitter.
#include "diagnostics/CModuleInfoForm.h"

#include "link/ErrorReport.h"
#include "tests/diagnostics/DiagnosticsTestBench.h"

namespace {

class ModuleInfoFormTest : public DiagnosticsTest {
  protected:
    std::string Shown(const CModuleInfoForm& form, const std::string& key) {
        const FormField* field = form.Field(key);
        EXPECT_NE(field, nullptr) << key;
        if (field == nullptr) return std::string();
        EXPECT_EQ(field->kind, FieldKind::Value) << key;
        return field->text;
    }
};

TEST_F(ModuleInfoFormTest, ShowsTheSensorTableAndTheMaterials) {
    SimTransmitterOptions options = Options();
    options.upperRangeLimits = {250.0, 1500.0, 1200.0};
    options.identityFields = {4, 5, 2, 15, 2};
    options.deviceInfoCodes = {3, 12, 4, 11, 2, 7, 9, 1};
    Connect(options);
    CModuleInfoForm form(Doc());
    ASSERT_TRUE(form.Open());
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"dp-range", "4"},
        {"dp-lrl", "-250"},
        {"dp-url", "250"},
        {"dp-units", "InH2O-60°F"},
        {"dp-min-span", "2.5"},
        {"sp-range", "5"},
        {"sp-lrl", "0"},
        {"sp-url", "1500"},
        {"sp-units", "psia"},
        {"sp-min-span", "15"},
        {"pt-range", "2"},
        {"pt-lrl", "-40"},
        {"pt-url", "1200"},
        {"pt-units", "°F"},
        {"pt-min-span", "12"},
        {"isolator-material", "Gold/Monel"},
        {"fill-fluid", "Inert"},
        {"flange-type", "Conventional"},
        {"flange-material", "Hastelloy C"},
        {"drain-vent-material", "Monel"},
        {"o-ring-material", "Viton"},
        {"seal-type", "CTW"},
        {"seal-fill", "Neobee-M20"},
        {"seal-material", "Cobalt-Chromium-Nickel"},
        {"seal-count", "One"},
        {"fixed-pt", "Disabled"},
    };
    ASSERT_EQ(form.Fields().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(form.Fields()[i].key, expected[i].first);
        EXPECT_EQ(Shown(form, expected[i].first), expected[i].second) << expected[i].first;
    }
    EXPECT_TRUE(Writes().empty());
}

TEST_F(ModuleInfoFormTest, AGaugeSensorAndTheFixedTemperatureAreShown) {
    SimTransmitterOptions options = Options();
    options.register10 = 1;  // gauge SP sensor
    options.rtdMode = false;
    options.unitsCodes = {1, 3, 20};  // kPa, °C
    Connect(options);
    CModuleInfoForm form(Doc());
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(Shown(form, "sp-units"), "kPag");
    EXPECT_EQ(Shown(form, "pt-units"), "°C");
    EXPECT_EQ(Shown(form, "fixed-pt"), "Enabled");
}

TEST_F(ModuleInfoFormTest, AnUnknownCodeIsNamedAsAnError) {
    SimTransmitterOptions options = Options();
    options.deviceInfoCodes[1] = 99;  // flange type
    Connect(options);
    m_ui.Expect(LoadString(2102));
    CModuleInfoForm form(Doc());
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(Shown(form, "flange-type"), LoadString(399));
}

TEST_F(ModuleInfoFormTest, AReadFailureIsShownAndTheWindowNeverOpens) {
    Connect();
    m_bench.line.SetExceptionRange(412, 453, 4);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(62)), MsgIcon::Stop);
    CModuleInfoForm form(Doc());
    EXPECT_FALSE(form.Open());
}

}  // namespace
