// The normal suite's share of the fuzzing: every input of the committed
// corpora (fuzz/corpus/TARGET) and every finding kept from a fuzz run
// (tests/data/fuzz/TARGET) goes through its target's check.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/FuzzTargets.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

// Runs every file in `folder` through the check; returns how many there were.
int RunFolder(const fuzz::Target& target, const fs::path& folder) {
    if (!fs::is_directory(folder)) return 0;
    int inputs = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
        const std::vector<uint8_t> bytes = ReadBytes(entry.path());
        EXPECT_EQ(target.check(bytes.data(), bytes.size()), "") << entry.path();
        ++inputs;
    }
    return inputs;
}

}  // namespace

TEST(FuzzCorpus, EveryKeptInputHoldsItsTargetsProperties) {
    const fs::path root(CORVEL_SOURCE_DIR);
    size_t count = 0;
    const fuzz::Target* targets = fuzz::Targets(count);
    ASSERT_EQ(count, 4u);
    for (size_t i = 0; i < count; ++i) {
        const fuzz::Target& target = targets[i];
        SCOPED_TRACE(target.name);
        EXPECT_GT(RunFolder(target, root / "fuzz" / "corpus" / target.name), 0)
            << "the corpus of " << target.name << " is missing";
        RunFolder(target, root / "tests" / "data" / "fuzz" / target.name);
    }
}
