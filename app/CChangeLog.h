#pragma once

#include <functional>
#include <string>
#include <vector>

class CComm;

// One write to a transmitter, as the change log keeps it: where it went, what
// the window showed before and what it asked for (texts with their units), and
// how it ended.
struct ChangeRecord {
    std::string time;    // local time with its offset, "2026-12-09T06:41:07+01:00"
    std::string port;    // "COM1" or the device path
    double bitRate = 0;  // bit/s
    int address = -1;    // polling address; -1 when none was held
    std::string tag;     // the transmitter's tag as the status bar shows it
    std::string area;    // the window or command: "Damping", "Send Configuration"
    std::string field;   // "DP", "tag, descriptor, date", "passwords changed"
    std::string oldValue;
    std::string newValue;
    std::string outcome;  // kDone, kRejected or kWarning
    std::string error;    // a rejection's error text
    std::string kept;     // after warning 24: the value the device kept

    static constexpr const char* kDone = "done";
    static constexpr const char* kRejected = "rejected";
    static constexpr const char* kWarning = "warning 24";
};

// The change log of every write to a transmitter: one JSON object per line,
// appended. Each record is one write() on a descriptor opened with O_APPEND and
// is synced before Append returns, so records of concurrent programs never
// interleave and a crash loses at most the record being written, whose torn
// line readers skip. A log that cannot be written warns once per log object
// (the program installs one for its run) and never stops the caller.
class CChangeLog {
  public:
    // An empty path keeps no log: Append does nothing and succeeds.
    explicit CChangeLog(std::string path);

    // $XDG_STATE_HOME/Kelmarsh/Corvel Configurator/changes.jsonl, with
    // ~/.local/state when XDG_STATE_HOME is unset or not absolute.
    static std::string DefaultPath();

    const std::string& Path() const { return m_path; }
    // False for the log that keeps nothing: callers then skip the reads that
    // only a record needs.
    bool Keeps() const { return !m_path.empty(); }

    // Appends the record; false (after the one warning of the run) when it
    // could not be written.
    bool Append(const ChangeRecord& record);
    // Every record appended to this log object, in order, whether or not the
    // file took it: the writes of this run of the program.
    const std::vector<ChangeRecord>& ThisRun() const { return m_thisRun; }

    // The records of a log file in file order. Lines that are not whole
    // records (a torn last write, damage) are skipped and counted in
    // `skipped`; a missing file has no records.
    static std::vector<ChangeRecord> Read(const std::string& path, size_t* skipped = nullptr);

    static std::string ToJson(const ChangeRecord& record);
    // False for a line that is not one complete record.
    static bool FromJson(const std::string& line, ChangeRecord& record);

    // The local time now in the form the records carry.
    static std::string LocalTimeNow();

  private:
    bool Write(const std::string& line);

    std::string m_path;
    bool m_warned = false;
    std::vector<ChangeRecord> m_thisRun;
};

// The log every write is recorded in. Until a front end installs one, a log
// that keeps nothing: tests and tools that do not install one write no file.
CChangeLog& ChangeLog();

// Installs `log` for the lifetime of the object.
class CScopedChangeLog {
  public:
    explicit CScopedChangeLog(CChangeLog& log);
    ~CScopedChangeLog();
    CScopedChangeLog(const CScopedChangeLog&) = delete;
    CScopedChangeLog& operator=(const CScopedChangeLog&) = delete;

  private:
    CChangeLog* m_previous;
};

namespace changelog {

// The hook every path that writes to a transmitter calls, once per written
// field:
//
//   changelog::RecordWrite(Model().Comm(), Caption(), "DP offset", "0 inH2O", "0.25 inH2O",
//                          [&] { Model().Comm().OffsetTrim(kVarDp, 0.25); });
//
// Runs `write`, then appends one record to ChangeLog() with the port, bit
// rate, polling address and tag of `comm`'s connection and the outcome: done;
// warning 24 (the device kept a value of its own: `kept()` names it, when
// given); rejected, with the failure's text. The failure is then thrown on
// unchanged, so the caller reports it as before. A log that cannot be written
// never stops the write; without an installed log `write` alone runs.
//
// A window form that writes through CConfigForm::Write is already recorded
// (Transmitter mode only); this call is for writes made beside it.
void RecordWrite(CComm& comm, const std::string& area, const std::string& field,
                 const std::string& oldValue, const std::string& newValue,
                 const std::function<void()>& write, const std::function<std::string()>& kept = {});

// The record RecordWrite appends, without the outcome.
ChangeRecord RecordFor(CComm& comm, const std::string& area, const std::string& field,
                       const std::string& oldValue, const std::string& newValue);

}  // namespace changelog
