#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/FileBytes.h"
#include "platform/CArchiveException.h"
#include "platform/CFileException.h"

namespace fs = std::filesystem;

namespace {

class FileBytesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvel-filebytes-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_dir;
};

CFileException::Cause FileCause(const std::function<void()>& action) {
    try {
        action();
    } catch (const CFileException& e) {
        return e.GetCause();
    }
    ADD_FAILURE() << "no file failure";
    return CFileException::Cause::None;
}

}  // namespace

TEST_F(FileBytesTest, WritesReplacesAndReadsBack) {
    const std::string path = (m_dir / "a.cmm").string();
    app::WriteFileAtomically(path, {1, 2, 3});
    EXPECT_EQ(app::ReadFileBytes(path), std::vector<uint8_t>({1, 2, 3}));
    app::WriteFileAtomically(path, {9});
    EXPECT_EQ(app::ReadFileBytes(path), std::vector<uint8_t>({9}));
    app::WriteFileAtomically(path, {});
    EXPECT_TRUE(app::ReadFileBytes(path).empty());
    EXPECT_EQ(Entries(), std::vector<std::string>({"a.cmm"})) << "no temporary file is left";
}

TEST_F(FileBytesTest, KeepsPermissionsAndFollowsLinks) {
    const std::string real = (m_dir / "real.cmm").string();
    app::WriteFileAtomically(real, {1});
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    const std::string link = (m_dir / "link.cmm").string();
    fs::create_symlink(real, link);

    app::WriteFileAtomically(link, {7, 7});
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(app::ReadFileBytes(real), std::vector<uint8_t>({7, 7}));
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(FileBytesTest, ReadFailuresCarryTheirCause) {
    EXPECT_EQ(FileCause([&] { app::ReadFileBytes((m_dir / "missing.cmm").string()); }),
              CFileException::Cause::FileNotFound);
    EXPECT_EQ(FileCause([&] { app::ReadFileBytes(m_dir.string()); }),
              CFileException::Cause::AccessDenied);
    EXPECT_EQ(
        FileCause([&] { app::WriteFileAtomically((m_dir / "no/such/dir.cmm").string(), {1}); }),
        CFileException::Cause::FileNotFound);
}

TEST_F(FileBytesTest, OversizedFileIsRefusedWithoutReadingItAll) {
    const std::string path = (m_dir / "big.cmm").string();
    app::WriteFileAtomically(path, std::vector<uint8_t>(100, 0xAA));
    EXPECT_EQ(app::ReadFileBytes(path, 100).size(), 100u);
    try {
        app::ReadFileBytes(path, 99);
        ADD_FAILURE() << "no failure";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::Cause::BadIndex);
    }
}
