// The terminal program under a desktop locale that writes decimal commas: its
// files and its output keep the decimal point.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "app/CMVDoc.h"
#include "cli/CliProgram.h"
#include "flow/CLiquidFlow.h"
#include "platform/CMemorySettingsStore.h"
#include "tests/support/CScopedCLocale.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A scratch folder removed with its files.
class CScratch {
  public:
    CScratch() {
        char pattern[] = "/tmp/clilocaleXXXXXX";
        const char* made = ::mkdtemp(pattern);
        m_path = made ? made : "";
    }
    ~CScratch() {
        std::error_code ignored;
        if (!m_path.empty()) fs::remove_all(m_path, ignored);
    }
    CScratch(const CScratch&) = delete;
    CScratch& operator=(const CScratch&) = delete;
    fs::path Path() const { return m_path; }

  private:
    fs::path m_path;
};

// Everything one run of the file commands produces: the standard output of
// each command and the flow test files, by name.
std::map<std::string, std::string> RunFileCommands(const fs::path& folder, const fs::path& file) {
    std::map<std::string, std::string> results;
    CMemorySettingsStore store;
    const auto run = [&](const std::string& name, const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const int status = cli::RunProgram(args, store, out, err);
        EXPECT_EQ(status, 0) << name << ": " << err.str();
        results[name] = out.str();
    };
    for (const bool liquid : {false, true}) {
        const fs::path dir = folder / (liquid ? "liquid" : "gas");
        fs::create_directories(dir);
        std::vector<std::string> args = {"flow-test-files", "--dir", dir.string()};
        if (liquid) args.push_back("--liquid");
        run("flow-test-files", args);
        for (const auto& entry : fs::directory_iterator(dir))
            results[dir.filename().string() + "/" + entry.path().filename().string()] =
                ReadText(entry.path());
    }
    run("show", {"show", file.string()});
    run("show --json", {"show", file.string(), "--json"});
    return results;
}

}  // namespace

TEST(DecimalCommaLocale, FileCommandsWriteAndPrintTheSameAsInTheCLocale) {
    CScratch scratch;
    // A liquid configuration with fractional values everywhere.
    const fs::path file = scratch.Path() / "liquid.cmm";
    {
        CMVDoc doc;
        auto flow = std::make_unique<CLiquidFlow>();
        flow->InitialiseWithDefaults();
        doc.Transmitter().SetFlow(std::move(flow));
        doc.Save(file.string());
    }
    const auto expected = RunFileCommands(scratch.Path() / "plain", file);
    ASSERT_EQ(expected.count("gas/162-send.txt"), 1u);
    ASSERT_EQ(expected.count("liquid/1-liquid.txt"), 1u);
    EXPECT_NE(expected.at("show").find("14.696"), std::string::npos) << expected.at("show");

    CScopedCLocale comma;
    ASSERT_TRUE(comma.Active());
    ASSERT_EQ(CScopedCLocale::DecimalPoint(), ",");
    const auto results = RunFileCommands(scratch.Path() / "comma", file);
    ASSERT_EQ(results.size(), expected.size());
    for (const auto& [name, text] : expected) {
        ASSERT_EQ(results.count(name), 1u) << name;
        // Folder names differ in the listing of written files only.
        if (name == "flow-test-files") continue;
        EXPECT_EQ(results.at(name), text) << name;
    }
}
