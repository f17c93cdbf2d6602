#include <gtest/gtest.h>

#include <random>

#include "app/CMVDoc.h"
#include "platform/CException.h"
#include "tests/app/ConfigTestSupport.h"

using configtest::Bytes;

namespace {

const std::string kOpenError = "File open error: this file cannot be used";

Bytes DefaultFile(bool liquid) {
    CMVDoc doc;
    if (liquid) {
        auto flow = std::make_unique<CLiquidFlow>();
        flow->InitialiseWithDefaults();
        doc.Transmitter().SetFlow(std::move(flow));
    }
    return doc.Store();
}

Bytes RichFile(bool liquid) {
    CMVDoc doc;
    configtest::MakeRichModel(doc, liquid, liquid ? "WATER" : std::string(255, 'G'));
    return doc.Store();
}

// Loads `bytes` and checks that the outcome is clean: either a model that
// stores again and is stable from then on, or a failure with the open-error
// message and a document as after New.
class CLoadChecker {
  public:
    CLoadChecker() : m_newFile(CMVDoc().Store()) {}

    // True when the bytes loaded.
    bool Check(const Bytes& bytes, const std::string& what) {
        CMVDoc doc;
        doc.SetModified();
        m_ui.m_texts.clear();
        try {
            doc.Load(bytes);
        } catch (const CException&) {
            EXPECT_EQ(m_ui.m_texts.empty() ? std::string() : m_ui.m_texts.back(), kOpenError)
                << what;
            EXPECT_FALSE(doc.IsModified()) << what;
            EXPECT_EQ(doc.Store(), m_newFile) << what << ": the failed load left data behind";
            return false;
        }
        EXPECT_TRUE(m_ui.m_texts.empty()) << what;
        EXPECT_FALSE(doc.IsModified()) << what;
        const Bytes stored = doc.Store();
        CMVDoc again;
        again.Load(stored);
        EXPECT_EQ(again.Store(), stored) << what << ": a loaded file does not store stably";
        return true;
    }

  private:
    configtest::CSilentUi m_ui;
    Bytes m_newFile;
};

}  // namespace

TEST(ConfigFileFuzz, EveryTruncationFailsCleanly) {
    CLoadChecker checker;
    // The default files are cut at every byte; the larger files with points in
    // every fit at every seventh, which still lands inside every record.
    const std::pair<Bytes, size_t> files[] = {
        {DefaultFile(false), 1}, {DefaultFile(true), 1}, {RichFile(false), 7}, {RichFile(true), 7}};
    for (const auto& [file, step] : files) {
        ASSERT_TRUE(checker.Check(file, "whole file"));
        for (size_t length = 0; length < file.size(); length += step) {
            EXPECT_FALSE(
                checker.Check(Bytes(file.begin(), file.begin() + static_cast<long>(length)),
                              "cut at " + std::to_string(length)));
        }
    }
}

TEST(ConfigFileFuzz, RandomByteChangesLoadOrFailCleanly) {
    CLoadChecker checker;
    std::mt19937 random(20261208);
    int loaded = 0;
    int failed = 0;
    const Bytes files[] = {DefaultFile(false), DefaultFile(true), RichFile(false), RichFile(true)};
    for (int run = 0; run < 2500; ++run) {
        Bytes bytes = files[run % 4];
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            const size_t at = random() % bytes.size();
            // Half the changes set a byte to a value that ends a length or count
            // field badly (0xFF), the rest to any value.
            bytes[at] = (random() % 2) ? 0xFF : static_cast<uint8_t>(random());
        }
        if (checker.Check(bytes, "run " + std::to_string(run))) {
            ++loaded;
        } else {
            ++failed;
        }
    }
    // Both outcomes must have been exercised for the run to mean anything.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(failed, 100);
}
