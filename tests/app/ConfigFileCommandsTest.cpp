#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "app/FileBytes.h"
#include "cli/ConfigFileCommands.h"
#include "resources/Strings.h"
#include "tests/app/ConfigTestSupport.h"

using configtest::Bytes;
using configtest::CTempFolder;

namespace {

// Captures what a command writes on stderr.
class CCaptureStderr {
  public:
    CCaptureStderr() : m_previous(std::cerr.rdbuf(m_text.rdbuf())) {}
    ~CCaptureStderr() { std::cerr.rdbuf(m_previous); }
    std::string Text() const { return m_text.str(); }

  private:
    std::ostringstream m_text;
    std::streambuf* m_previous;
};

std::string Show(const std::string& path, bool json) {
    std::ostringstream out;
    EXPECT_EQ(ShowConfig(path, out, json), 0);
    return out.str();
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(ConfigFileCommands, NewWritesTheNewDocument) {
    CTempFolder folder;
    const std::string path = folder.File("new.cmm");
    ASSERT_EQ(NewConfig(path), 0);
    EXPECT_EQ(app::ReadFileBytes(path), CMVDoc().Store());
}

TEST(ConfigFileCommands, CopyRewritesInTheCurrentLayout) {
    CTempFolder folder;
    CMVDoc doc;
    configtest::MakeRichModel(doc, true, "WATER");
    doc.Save(folder.File("in.cmm"));
    ASSERT_EQ(CopyConfig(folder.File("in.cmm"), folder.File("out.cmm")), 0);
    EXPECT_EQ(app::ReadFileBytes(folder.File("out.cmm")), doc.Store());
}

TEST(ConfigFileCommands, FailuresPrintTheirTextsOnStderr) {
    CTempFolder folder;
    Bytes cut = CMVDoc().Store();
    cut.resize(40);
    app::WriteFileAtomically(folder.File("cut.cmm"), cut);
    CCaptureStderr err;
    EXPECT_EQ(CopyConfig(folder.File("cut.cmm"), folder.File("out.cmm")), 1);
    EXPECT_EQ(err.Text(), "File open error: this file cannot be used\n" + LoadString(306) + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("out.cmm")));

    std::ostringstream out;
    EXPECT_EQ(ShowConfig(folder.File("missing.cmm"), out, true), 1);
    EXPECT_TRUE(out.str().empty());
    EXPECT_TRUE(Contains(err.Text(), LoadString(313)));
    EXPECT_EQ(NewConfig(folder.File("none/new.cmm")), 1);
    EXPECT_TRUE(Contains(err.Text(), "File save error: please delete any file created\n"));
}

TEST(ConfigFileCommands, ShowNamesEveryUnitAndCode) {
    CTempFolder folder;
    ASSERT_EQ(NewConfig(folder.File("new.cmm")), 0);
    const std::string text = Show(folder.File("new.cmm"), false);
    for (const char* line :
         {"Format version: 1\n", "  Turnaround delay: 50 ms\n",
          "  Floating point format: 0 (Format 0 - default)\n", "  Flange type: 13 (Coplanar)\n",
          "  Remote seal type: 251 (None)\n", "  Tag: \"\"\n", "Differential Pressure\n",
          "  Units: InH2O-60\xC2\xB0"
          "F (code 240, measurement type 0)\n",
          "  Lower operating limit: -250 InH2O-60\xC2\xB0"
          "F\n",
          "    Scale factor: 131\n", "  Damping: 0.896 seconds\n", "  Fluid name: \"NITROGEN\"\n",
          "  Isentropic exponent: 1.4\n", "  Base density: 34.12 Lbs/CuFt\n",
          "    Coefficients: 1 0 0 0 0 0 0\n"}) {
        EXPECT_TRUE(Contains(text, line)) << line << "\n---\n" << text;
    }
}

// Values received from a transmitter are single-precision: the text shows them
// as the windows do, JSON keeps every digit of the stored value.
TEST(ConfigFileCommands, ShowPrintsValuesAsTheWindowsDoAndJsonInFull) {
    CTempFolder folder;
    CMVDoc doc;
    CMeasuredVariable& dp = doc.Transmitter().Dp();
    dp.SetDamping(CDimlessValue(static_cast<double>(0.896f)));
    dp.SetUpperOperatingLimit(CDimValue(static_cast<double>(123.4f), dp.Units()));
    doc.Save(folder.File("received.cmm"));

    const std::string text = Show(folder.File("received.cmm"), false);
    EXPECT_TRUE(Contains(text,
                         "Differential Pressure\n  Units: InH2O-60\xC2\xB0"
                         "F (code 240, measurement type 0)\n  Damping: 0.896 seconds\n"))
        << text;
    EXPECT_TRUE(Contains(text,
                         "  Upper operating limit: 123.4 InH2O-60\xC2\xB0"
                         "F\n"))
        << text;
    EXPECT_FALSE(Contains(text, "0.89600002")) << text;

    const std::string json = Show(folder.File("received.cmm"), true);
    EXPECT_TRUE(Contains(json, "\"dampingSeconds\":0.8960000276565552")) << json;
    EXPECT_TRUE(Contains(json, "\"upperOperatingLimit\":{\"value\":123.4000015258789,")) << json;
}

TEST(ConfigFileCommands, ShowJsonIsStableAndEscaped) {
    CTempFolder folder;
    CMVDoc doc;
    configtest::MakeRichModel(doc, false, "N\xE9on \"X\"\n");
    doc.Transmitter().Flow()->SetUnnamedValue(CDimlessValue(std::nan("")));
    doc.Save(folder.File("rich.cmm"));
    const std::string json = Show(folder.File("rich.cmm"), true);
    EXPECT_EQ(json.rfind("{\"file\":", 0), 0u);
    EXPECT_EQ(json.back(), '\n');
    EXPECT_TRUE(Contains(json,
                         ",\"formatVersion\":1,\"communication\":{\"inputRegister128\":4660,"
                         "\"inputRegister129\":43981,\"turnaroundDelayMs\":75,"));
    EXPECT_TRUE(Contains(json, "\"lcd\":{\"intervalSeconds\":9,\"mask\":5,\"items\":[1,4]}"));
    EXPECT_TRUE(Contains(json, "\"fluidName\":\"N\xC3\xA9on \\\"X\\\"\\u000a\""));
    EXPECT_TRUE(Contains(json, "\"unnamedValue\":null"));
    EXPECT_TRUE(Contains(json, "\"units\":{\"code\":11,\"measType\":0,\"name\":\"Pa\"}"));
    EXPECT_TRUE(
        Contains(json, "\"table\":[[0.01,1.01,2.01,3.01,4.01,5.01,6.01,7.01,8.01],[10.01,"));
    // Braces and brackets balance outside strings.
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < json.size(); ++i) {
        if (inString) {
            if (json[i] == '\\')
                ++i;
            else if (json[i] == '"')
                inString = false;
        } else if (json[i] == '"') {
            inString = true;
        } else if (json[i] == '{' || json[i] == '[') {
            ++depth;
        } else if (json[i] == '}' || json[i] == ']') {
            ASSERT_GT(depth, 0);
            --depth;
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_FALSE(inString);
    EXPECT_EQ(Show(folder.File("rich.cmm"), true), json);
}

TEST(ConfigFileCommands, ShowWithoutFlow) {
    CTempFolder folder;
    CMVDoc doc;
    doc.Transmitter().RemoveFlow();
    doc.Save(folder.File("noflow.cmm"));
    EXPECT_TRUE(Contains(Show(folder.File("noflow.cmm"), false), "Flow configuration: none\n"));
    EXPECT_TRUE(Contains(Show(folder.File("noflow.cmm"), true), ",\"flow\":null}"));
}
