#pragma once

#include <string>
#include <vector>

#include "app/CChangeLog.h"

// What the change-log window and `corvel-cli log` show of the log: the same
// choice of records, in the same order, and the same CSV.
namespace changelog {

struct Filter {
    std::string tag;    // empty: every tag; else the tag, blanks around it and case ignored
    std::string since;  // empty, or "YYYY-MM-DD": records of that local date and later
};

// True for a real calendar date written "YYYY-MM-DD".
bool IsDate(const std::string& text);

// The records `filter` lets through, newest first (the log is appended in
// time order, so the newest is the last line).
std::vector<ChangeRecord> Select(const std::vector<ChangeRecord>& records, const Filter& filter);

// The tags the records name, sorted, each once (blanks trimmed; empty left out).
std::vector<std::string> Tags(const std::vector<ChangeRecord>& records);

// A record as one line of the terminal, and the outcome as the window shows it
// ("done", "rejected: <error>", "warning 24, kept <value>").
std::string OutcomeText(const ChangeRecord& record);
std::string TerminalLine(const ChangeRecord& record);

// The records as CSV (RFC 4180: CRLF line ends, fields quoted where needed),
// with a header line.
std::string Csv(const std::vector<ChangeRecord>& records);

}  // namespace changelog
