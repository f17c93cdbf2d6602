#include "cli/ShowDeviceCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/transmitter/TransmitterSimFixture.h"

namespace {

class ShowDevice : public TransmitterSimTest {};

TEST_F(ShowDevice, JsonCarriesEveryAreaWithStableKeys) {
    m_options.tag = "FT \"7\"";
    m_options.integerScalingSupported = false;
    Connect();
    std::ostringstream out;
    ASSERT_EQ(cli::ShowDevice(m_model, out, true), 0);
    const std::string json = out.str();
    for (const char* key :
         {"\"identity\"", "\"deviceInformation\"", "\"variables\"", "\"dp\"", "\"sp\"", "\"pt\"",
          "\"communication\"", "\"lcd\"", "\"processTemperature\"", "\"statusBytes\""})
        EXPECT_NE(json.find(key), std::string::npos) << key;
    EXPECT_NE(json.find("\"tag\": \"FT \\\"7\\\"\""), std::string::npos);
    EXPECT_NE(json.find("\"transmitterSerialNumber\": 7654321"), std::string::npos);
    EXPECT_NE(json.find("\"outputBoardSoftwareRevision\": \"1.2\""), std::string::npos);
    EXPECT_NE(json.find("\"integerScalingMethod\": null"), std::string::npos);
    EXPECT_NE(json.find("\"name\": \"Coplanar\""), std::string::npos);
    EXPECT_NE(json.find("\"name\": \"psia\""), std::string::npos);
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.substr(json.size() - 2), "}\n");

    // The same device prints the same document twice.
    std::ostringstream again;
    ASSERT_EQ(cli::ShowDevice(m_model, again, true), 0);
    EXPECT_EQ(again.str(), json);
}

TEST_F(ShowDevice, TextNamesEachValue) {
    Connect();
    std::ostringstream out;
    ASSERT_EQ(cli::ShowDevice(m_model, out, false), 0);
    const std::string text = out.str();
    EXPECT_NE(text.find("Tag: CORVEL\n"), std::string::npos);
    EXPECT_NE(text.find("Integer scaling method: 0\n"), std::string::npos);
    // Values as the windows show them: "%g" with the units, live values "%#g".
    EXPECT_NE(text.find("  SP:\n    Name: Static Pressure\n    Units: psia (6)\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("    Upper operating limit: 800 psia\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    Damping: 0.896 seconds\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    Present value: 25.0000 InH2O-60\xC2\xB0"
                        "F\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  Fixed temperature: 60 \xC2\xB0"
                        "F\n"),
              std::string::npos)
        << text;
    // The variable assignment by the variables' names.
    EXPECT_NE(text.find("Variable assignment:\n  - Differential Pressure\n  - Static Pressure\n"
                        "  - Process Temperature\n  - Flow\n"),
              std::string::npos)
        << text;
}

TEST_F(ShowDevice, JsonKeepsTheNumbersForMachines) {
    Connect();
    std::ostringstream out;
    ASSERT_EQ(cli::ShowDevice(m_model, out, true), 0);
    const std::string json = out.str();
    EXPECT_NE(json.find("\"damping\": 0.896000028"), std::string::npos) << json;
    EXPECT_NE(json.find("\"variableAssignment\": [\n    0,\n    1,\n    2,\n    32\n  ]"),
              std::string::npos)
        << json;
}

TEST_F(ShowDevice, FailureIsReportedAndPrintsNothing) {
    Connect();
    Comm().Disconnect();
    m_ui.Expect("Communications Error: Transmitter is offline");
    std::ostringstream out;
    EXPECT_EQ(cli::ShowDevice(m_model, out, true), 1);
    EXPECT_TRUE(out.str().empty());
}

}  // namespace
