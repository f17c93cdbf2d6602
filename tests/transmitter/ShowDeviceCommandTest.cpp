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
    EXPECT_NE(text.find("Upper operating limit: 800\n"), std::string::npos);
    EXPECT_NE(text.find("Integer scaling method: 0\n"), std::string::npos);
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
