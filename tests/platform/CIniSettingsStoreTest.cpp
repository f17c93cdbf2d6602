#include "platform/CIniSettingsStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/CFileException.h"
#include "tests/support/CFailingFileSystem.h"

namespace {

namespace fs = std::filesystem;

class IniTest : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvel-ini-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_path = m_dir + "/Kelmarsh/settings.ini";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string FileText() const {
        std::ifstream in(m_path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void WriteFile(const std::string& text) {
        fs::create_directories(fs::path(m_path).parent_path());
        std::ofstream(m_path) << text;
    }

    std::string m_dir;
    std::string m_path;
};

// Sets an environment variable for the scope of a test.
class CEnvGuard {
  public:
    CEnvGuard(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old, m_had = true;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~CEnvGuard() {
        if (m_had)
            ::setenv(m_name, m_old.c_str(), 1);
        else
            ::unsetenv(m_name);
    }

  private:
    const char* m_name;
    std::string m_old;
    bool m_had = false;
};

}  // namespace

TEST(IniSettingsPath, FollowsTheUsersConfigurationFolder) {
    {
        CEnvGuard xdg("XDG_CONFIG_HOME", "/xdg/conf");
        EXPECT_EQ(CIniSettingsStore::DefaultPath(),
                  "/xdg/conf/Kelmarsh/Corvel Configurator User Interface.ini");
    }
    CEnvGuard xdg("XDG_CONFIG_HOME", nullptr);
    CEnvGuard home("HOME", "/home/tech");
    EXPECT_EQ(CIniSettingsStore::DefaultPath(),
              "/home/tech/.config/Kelmarsh/Corvel Configurator User Interface.ini");
}

TEST_F(IniTest, MissingFileGivesTheDefaults) {
    CIniSettingsStore store(m_path);
    EXPECT_EQ(store.GetInt("Comm Port", "PortNumber", 1), 1);
    EXPECT_EQ(store.GetString("Comm Port", "BitRate", "9600"), "9600");
    EXPECT_FALSE(store.Has("Comm Port", "BitRate"));
}

TEST_F(IniTest, WritesAreReadBackAndCreateTheFolder) {
    CIniSettingsStore store(m_path);
    store.WriteInt("Comm Port", "PortNumber", 3);
    store.WriteString("Comm Port", "BitRate", "19200");
    store.WriteString("Link Scheduling", "ReplyTimeout", "250");
    store.WriteInt("Comm Port", "PortNumber", 2);
    EXPECT_EQ(FileText(),
              "[Comm Port]\nPortNumber=2\nBitRate=19200\n[Link Scheduling]\nReplyTimeout=250\n");
    CIniSettingsStore again(m_path);
    EXPECT_EQ(again.GetInt("Comm Port", "PortNumber", 1), 2);
    EXPECT_EQ(again.GetString("Link Scheduling", "ReplyTimeout", "0"), "250");
    EXPECT_TRUE(again.Has("comm port", "bitrate"));  // names ignore case
}

TEST_F(IniTest, JunkLinesAreToleratedAndKept) {
    WriteFile(
        "garbage before sections\n; a comment\n[Comm Port]\nno equals sign here\n=orphan\n"
        "  CtsEnabled =  FALSE  \r\n[broken\n[General]\nManufacturerId=abc\nTransmitterId=31\n");
    CIniSettingsStore store(m_path);
    EXPECT_EQ(store.GetString("Comm Port", "CtsEnabled", "TRUE"), "FALSE");
    EXPECT_EQ(store.GetInt("General", "ManufacturerId", 38), 38);  // not a number
    EXPECT_EQ(store.GetInt("General", "TransmitterId", 0), 31);
    store.WriteString("Comm Port", "CtsDelay", "40");
    const std::string text = FileText();
    EXPECT_NE(text.find("garbage before sections\n; a comment\n[Comm Port]\n"), std::string::npos);
    EXPECT_NE(text.find("no equals sign here\n"), std::string::npos);
    EXPECT_NE(text.find("CtsDelay=40\n"), std::string::npos);
    EXPECT_EQ(CIniSettingsStore(m_path).GetString("Comm Port", "CtsDelay", ""), "40");
}

TEST_F(IniTest, ChangesByAnotherProgramAreSeen) {
    CIniSettingsStore store(m_path);
    store.WriteString("Comm Port", "BitRate", "4800");
    CIniSettingsStore other(m_path);
    other.WriteString("Comm Port", "BitRate", "1200");
    EXPECT_EQ(store.GetString("Comm Port", "BitRate", ""), "1200");
}

TEST_F(IniTest, ValuesStayOnOneLine) {
    CIniSettingsStore store(m_path);
    store.WriteString("Comm Port", "DevicePath", "/dev/tty\nUSB0");
    store.WriteString("Comm Port", "BitRate", "9600");
    EXPECT_EQ(store.GetString("Comm Port", "BitRate", ""), "9600");
    EXPECT_EQ(store.GetString("Comm Port", "DevicePath", ""), "/dev/tty USB0");
}

TEST_F(IniTest, WriteLeavesNoTemporaryFileBehind) {
    CIniSettingsStore store(m_path);
    for (int i = 0; i < 5; ++i) store.WriteInt("Link Scheduling", "Retries", i);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(m_path).parent_path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

// A read-only folder (no temporary file), a full disk, a failing device and a
// refused rename: each write fails with its cause, and the old file stays
// whole with no temporary file beside it.
TEST_F(IniTest, FailedWriteThrowsAndKeepsTheOldFile) {
    using Call = CFailingFileSystem::Call;
    using Cause = CFileException::Cause;
    const struct {
        Call call;
        int error;
        Cause cause;
    } failures[] = {{Call::MakeTemporary, EACCES, Cause::AccessDenied},
                    {Call::Write, ENOSPC, Cause::DiskFull},
                    {Call::Sync, EIO, Cause::HardIO},
                    {Call::Rename, EROFS, Cause::AccessDenied}};
    CIniSettingsStore store(m_path);
    store.WriteInt("Link Scheduling", "Retries", 3);
    const std::string before = FileText();
    for (const auto& failure : failures) {
        CFailingFileSystem files;
        files.Fail(failure.call, failure.error);
        try {
            store.WriteInt("Link Scheduling", "Retries", 5);
            ADD_FAILURE() << CallName(failure.call) << ": the write did not fail";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.GetCause(), failure.cause) << CallName(failure.call);
            EXPECT_EQ(e.FileName(), m_path);
        }
        EXPECT_EQ(files.Count(failure.call), 1) << CallName(failure.call);
        EXPECT_EQ(FileText(), before) << CallName(failure.call);
        EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(m_path).parent_path()),
                                fs::directory_iterator()),
                  1)
            << CallName(failure.call) << ": a temporary file was left behind";
    }
    store.WriteInt("Link Scheduling", "Retries", 5);
    EXPECT_EQ(store.GetInt("Link Scheduling", "Retries", 0), 5);
}

TEST_F(IniTest, UnwritableLocationThrows) {
    CIniSettingsStore store("/proc/corvel/settings.ini");
    EXPECT_THROW(store.WriteInt("Link Scheduling", "Retries", 3), CFileException);
}
