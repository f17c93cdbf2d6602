#include "app/CChangeLog.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "app/ChangeLogQuery.h"
#include "platform/SystemError.h"
#include "tests/support/CScratchFolder.h"
#include "tests/support/CScriptedUi.h"

namespace {

ChangeRecord Sample(const std::string& tag, const std::string& time, const std::string& field) {
    ChangeRecord r;
    r.time = time;
    r.port = "/dev/serial/by-id/usb-RS485";
    r.bitRate = 9600;
    r.address = 3;
    r.tag = tag;
    r.area = "Damping";
    r.field = field;
    r.oldValue = "0.5 seconds";
    r.newValue = "2.5 seconds";
    r.outcome = ChangeRecord::kDone;
    return r;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ExpectSame(const ChangeRecord& a, const ChangeRecord& b) {
    EXPECT_EQ(a.time, b.time);
    EXPECT_EQ(a.port, b.port);
    EXPECT_EQ(a.bitRate, b.bitRate);
    EXPECT_EQ(a.address, b.address);
    EXPECT_EQ(a.tag, b.tag);
    EXPECT_EQ(a.area, b.area);
    EXPECT_EQ(a.field, b.field);
    EXPECT_EQ(a.oldValue, b.oldValue);
    EXPECT_EQ(a.newValue, b.newValue);
    EXPECT_EQ(a.outcome, b.outcome);
    EXPECT_EQ(a.error, b.error);
    EXPECT_EQ(a.kept, b.kept);
}

// Sets an environment variable for the lifetime of the object.
class CScopedEnv {
  public:
    CScopedEnv(const char* name, const char* value) : m_name(name) {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (m_had) m_old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~CScopedEnv() {
        if (m_had)
            ::setenv(m_name, m_old.c_str(), 1);
        else
            ::unsetenv(m_name);
    }

  private:
    const char* m_name;
    bool m_had = false;
    std::string m_old;
};

}  // namespace

TEST(CChangeLog, RecordsSurviveTheRoundTripWithAwkwardTexts) {
    ChangeRecord r = Sample("FT-\"7\"", "2026-12-09T06:41:07+01:00", "tag, descriptor, date");
    r.oldValue = "back\\slash, tab\t, line\nbreak";
    r.newValue = "25 \xC2\xB5S \xE2\x80\x94 \x01";
    r.outcome = ChangeRecord::kRejected;
    r.error = "The transmitter refused the value.";
    r.kept = "x";
    r.address = -1;
    r.bitRate = 19200;
    const std::string line = CChangeLog::ToJson(r);
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    ChangeRecord back;
    ASSERT_TRUE(CChangeLog::FromJson(line, back)) << line;
    ExpectSame(back, r);

    // Escapes another writer may use.
    ASSERT_TRUE(CChangeLog::FromJson(
        R"({"time":"t","outcome":"done","tag":"\u00b5\ud83d\ude00\/","address":7, "extra":1})",
        back));
    EXPECT_EQ(back.tag, "\xC2\xB5\xF0\x9F\x98\x80/");
    EXPECT_EQ(back.address, 7);
}

TEST(CChangeLog, LinesThatAreNotWholeRecordsAreRefused) {
    const std::string line =
        CChangeLog::ToJson(Sample("FT-101", "2026-12-09T06:41:07+01:00", "DP"));
    ChangeRecord record;
    for (size_t cut : {size_t{0}, size_t{1}, line.size() / 2, line.size() - 1}) {
        EXPECT_FALSE(CChangeLog::FromJson(line.substr(0, cut), record)) << cut;
    }
    EXPECT_FALSE(CChangeLog::FromJson(line + "x", record));
    EXPECT_FALSE(CChangeLog::FromJson(R"({"time":"t"})", record));  // no outcome
    EXPECT_FALSE(CChangeLog::FromJson(R"({"time":"t","outcome":"done","address":"1"})", record));
    EXPECT_FALSE(CChangeLog::FromJson(R"({"time":"t","outcome":"d\q"})", record));
}

TEST(CChangeLog, AppendsOneLinePerRecordAndReadsThemInOrder) {
    CScratchFolder folder;
    const std::string path = folder.File("state/Kelmarsh/Corvel Configurator/changes.jsonl");
    CChangeLog log(path);
    ASSERT_TRUE(log.Append(Sample("FT-101", "2026-12-09T06:00:00+01:00", "DP")));
    ASSERT_TRUE(log.Append(Sample("FT-102", "2026-12-09T06:00:01+01:00", "SP")));
    const std::string text = FileText(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    EXPECT_EQ(text.back(), '\n');
    size_t skipped = 99;
    const std::vector<ChangeRecord> records = CChangeLog::Read(path, &skipped);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(skipped, 0u);
    EXPECT_EQ(records[0].field, "DP");
    EXPECT_EQ(records[1].tag, "FT-102");
    EXPECT_TRUE(CChangeLog::Read(folder.File("none.jsonl")).empty());
}

TEST(CChangeLog, ATornLastLineIsSkippedAndTheNextRecordStartsOnItsOwnLine) {
    CScratchFolder folder;
    const std::string path = folder.File("changes.jsonl");
    CChangeLog log(path);
    ASSERT_TRUE(log.Append(Sample("FT-101", "2026-12-09T06:00:00+01:00", "DP")));
    const std::string whole =
        CChangeLog::ToJson(Sample("FT-101", "2026-12-09T06:00:01+01:00", "SP"));
    {
        std::ofstream torn(path, std::ios::app | std::ios::binary);
        torn << whole.substr(0, whole.size() / 2);  // a crash in the middle of a write
    }
    size_t skipped = 0;
    EXPECT_EQ(CChangeLog::Read(path, &skipped).size(), 1u);
    EXPECT_EQ(skipped, 1u);

    ASSERT_TRUE(log.Append(Sample("FT-101", "2026-12-09T06:00:02+01:00", "PT")));
    const std::vector<ChangeRecord> records = CChangeLog::Read(path, &skipped);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].field, "PT");
    EXPECT_EQ(skipped, 1u);
}

TEST(CChangeLog, AnUnwritableLogWarnsOncePerRunAndKeepsNothingBack) {
    CScratchFolder folder;
    // A folder that is a file: not writable for anyone, the superuser too.
    std::ofstream(folder.File("blocked")) << "x";
    const std::string path = folder.File("blocked/changes.jsonl");
    CScriptedUi ui;
    CScopedUi scope(ui);
    CChangeLog log(path);
    ui.ExpectWithIcon("The change log " + path + " cannot be written: " + SystemErrorText(ENOTDIR) +
                          "\nChanges to transmitters are made but not recorded. This warning is "
                          "not repeated until the program starts again.",
                      MsgIcon::Exclamation);
    EXPECT_FALSE(log.Append(Sample("FT-101", "t", "DP")));
    EXPECT_FALSE(log.Append(Sample("FT-101", "t", "SP")));
    ui.Verify();
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST(CChangeLog, WithoutAnInstalledLogNothingIsWritten) {
    EXPECT_TRUE(ChangeLog().Path().empty());
    EXPECT_TRUE(ChangeLog().Append(Sample("FT-101", "t", "DP")));
    CScratchFolder folder;
    CChangeLog log(folder.File("changes.jsonl"));
    {
        CScopedChangeLog scope(log);
        EXPECT_EQ(&ChangeLog(), &log);
    }
    EXPECT_NE(&ChangeLog(), &log);
}

TEST(CChangeLog, DefaultPathFollowsXdgStateHomeElseHome) {
    {
        CScopedEnv state("XDG_STATE_HOME", "/srv/state");
        EXPECT_EQ(CChangeLog::DefaultPath(),
                  "/srv/state/Kelmarsh/Corvel Configurator/changes.jsonl");
    }
    CScopedEnv home("HOME", "/home/tech");
    for (const char* state : {static_cast<const char*>(nullptr), "", "relative/state"}) {
        CScopedEnv xdg("XDG_STATE_HOME", state);
        EXPECT_EQ(CChangeLog::DefaultPath(),
                  "/home/tech/.local/state/Kelmarsh/Corvel Configurator/changes.jsonl");
    }
}

TEST(CChangeLog, LocalTimeCarriesItsOffset) {
    {
        CScopedEnv zone("TZ", "EST5");
        ::tzset();
        const std::string now = CChangeLog::LocalTimeNow();
        EXPECT_TRUE(std::regex_match(now, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d-05:00)")))
            << now;
        CScopedEnv utc("TZ", "UTC0");
        ::tzset();
        EXPECT_TRUE(std::regex_match(CChangeLog::LocalTimeNow(),
                                     std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\+00:00)")));
    }
    ::tzset();
}

TEST(ChangeLogQuery, NewestFirstByTagAndDate) {
    const std::vector<ChangeRecord> records = {
        Sample("FT-101  ", "2026-12-07T23:59:59+01:00", "DP"),
        Sample("PT-7", "2026-12-08T00:00:00+01:00", "SP"),
        Sample("FT-101", "2026-12-09T06:00:00+01:00", "PT"),
    };
    auto fields = [](const std::vector<ChangeRecord>& chosen) {
        std::string text;
        for (const ChangeRecord& r : chosen) text += r.field + " ";
        return text;
    };
    EXPECT_EQ(fields(changelog::Select(records, {})), "PT SP DP ");
    EXPECT_EQ(fields(changelog::Select(records, {" ft-101 ", ""})), "PT DP ");
    EXPECT_EQ(fields(changelog::Select(records, {"", "2026-12-08"})), "PT SP ");
    EXPECT_EQ(fields(changelog::Select(records, {"FT-101", "2026-12-08"})), "PT ");
    EXPECT_EQ(fields(changelog::Select(records, {"FT-10", ""})), "");
    EXPECT_EQ(changelog::Tags(records), (std::vector<std::string>{"FT-101", "PT-7"}));
}

TEST(ChangeLogQuery, DatesAreRealCalendarDates) {
    for (const char* good : {"2026-12-09", "2024-02-29", "2000-02-29", "1999-12-31"})
        EXPECT_TRUE(changelog::IsDate(good)) << good;
    for (const char* bad : {"2026-2-09", "2026-13-01", "2026-00-10", "2025-02-29", "1900-02-29",
                            "2026-04-31", "2026-12-00", "09/12/2026", "2026-12-09T00", ""})
        EXPECT_FALSE(changelog::IsDate(bad)) << bad;
}

TEST(ChangeLogQuery, CsvQuotesWhatNeedsItAndShowsTheOutcome) {
    ChangeRecord rejected = Sample("FT-101", "2026-12-09T06:00:00+01:00", "tag, descriptor, date");
    rejected.newValue = "say \"hi\"";
    rejected.outcome = ChangeRecord::kRejected;
    rejected.error = "Illegal data value";
    ChangeRecord kept = Sample("FT-101", "2026-12-09T06:00:01+01:00", "DP");
    kept.outcome = ChangeRecord::kWarning;
    kept.kept = "2.5 seconds";
    kept.address = -1;
    kept.bitRate = 0;
    EXPECT_EQ(changelog::Csv({rejected, kept}),
              "time,port,bit rate,polling address,tag,area,field,old value,new value,outcome,"
              "error,kept\r\n"
              "2026-12-09T06:00:00+01:00,/dev/serial/by-id/usb-RS485,9600,3,FT-101,Damping,"
              "\"tag, descriptor, date\",0.5 seconds,\"say \"\"hi\"\"\",rejected,Illegal data "
              "value,\r\n"
              "2026-12-09T06:00:01+01:00,/dev/serial/by-id/usb-RS485,,,FT-101,Damping,DP,0.5 "
              "seconds,2.5 seconds,warning 24,,2.5 seconds\r\n");
    EXPECT_EQ(changelog::OutcomeText(rejected), "rejected: Illegal data value");
    EXPECT_EQ(changelog::OutcomeText(kept), "warning 24, kept 2.5 seconds");
}
