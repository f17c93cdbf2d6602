#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/CConfigSummary.h"

// One write recorded for the report's change list.
struct ChangeRecordLine {
    std::string time;  // local time, ISO 8601 with offset
    std::string area;
    std::string field;
    std::string oldValue;
    std::string newValue;
    std::string outcome;  // "done", "rejected: ...", ...
};

enum class PaperSize { A4, Letter };

// The commissioning record of one configuration as an HTML page (for a PDF or
// on its own): title with tag and date, device information, the variables
// side by side, data formats, LCD, communication and flow; when connected,
// the transmitter's identification and the configuration compared with it;
// and the writes made in this run of the program.
class CCommissioningReport {
  public:
    CConfigSummary document;
    // The last compare, when a transmitter is connected.
    std::optional<CConfigSummary> transmitter;
    bool transmitterStale = false;
    // (label, value) of the transmitter's identification; empty offline.
    std::vector<std::pair<std::string, std::string>> identification;
    std::vector<ChangeRecordLine> changes;
    std::string date;    // when the report was made, as it is printed
    std::string source;  // where the configuration came from (file name, transmitter)

    // The writes of this run of the program (ChangeLog()) to the transmitter
    // with `tag`, in the order they were made.
    static std::vector<ChangeRecordLine> ChangesOfThisRun(const std::string& tag);

    // "Commissioning report FT-101" ("untagged" without a tag).
    std::string Title() const;
    std::string Html() const;

    // The paper a locale prints on by default: Letter in North America and
    // the few other countries that use it, A4 elsewhere. `localeName` as the
    // environment gives it ("en_US.UTF-8", "de_DE", "C").
    static PaperSize PaperForLocale(const std::string& localeName);
    // The locale name that decides the paper: LC_ALL, LC_PAPER, LANG, in that order.
    static std::string PaperLocaleFromEnvironment();
};
