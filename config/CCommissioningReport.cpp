#include "config/CCommissioningReport.h"

#include "app/CChangeLog.h"

#include <cstdlib>
#include <set>

namespace {

constexpr const char* kDifferenceMark = "\u2260";  // ≠, as in the overview

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Cell(const std::string& text, const char* tag = "td") {
    return std::string("<") + tag + ">" + Escaped(text) + "</" + tag + ">";
}

std::string Heading(const std::string& text) { return "<h2>" + Escaped(text) + "</h2>\n"; }

std::string TableStart() {
    return "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n";
}

// A group as a two-column table.
std::string GroupTable(const SummaryGroup& group) {
    std::string html = Heading(group.title) + TableStart();
    for (const SummaryField& field : group.fields)
        html += "<tr>" + Cell(field.label, "th") + Cell(field.value) + "</tr>\n";
    return html + "</table>\n";
}

// DP, SP and PT side by side, a row per value any of them has.
std::string VariablesTable(const CConfigSummary& summary) {
    static const char* const kVariables[] = {"DP", "SP", "PT"};
    std::vector<std::pair<std::string, std::string>> rows;  // key, label
    for (const char* v : kVariables) {
        const SummaryGroup* group = summary.Group(v);
        if (group == nullptr) continue;
        for (const SummaryField& field : group->fields) {
            bool known = false;
            for (const auto& row : rows) known = known || row.first == field.key;
            if (!known) rows.emplace_back(field.key, field.label);
        }
    }
    std::string html = Heading("Variables") + TableStart() + "<tr>" + Cell("", "th");
    for (const char* v : kVariables) {
        const SummaryGroup* group = summary.Group(v);
        html += Cell(group != nullptr ? group->title : v, "th");
    }
    html += "</tr>\n";
    for (const auto& [key, label] : rows) {
        html += "<tr>" + Cell(label, "th");
        for (const char* v : kVariables) {
            const SummaryField* field = summary.Field(v, key);
            html += Cell(field != nullptr ? field->value : "");
        }
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string CompareTable(const CConfigSummary& document, const CConfigSummary& transmitter,
                         bool stale) {
    std::set<std::string> differing;
    const std::vector<SummaryDifference> differences =
        config::CompareSummaries(document, transmitter);
    for (const SummaryDifference& d : differences) differing.insert(d.Path());
    std::string html = Heading("Compared with the transmitter");
    html += "<p>" + Escaped(config::DifferenceListText(differences)) +
            (stale ? " The transmitter has been written since this compare." : "") + " Marked " +
            kDifferenceMark + ": differs.</p>\n";
    html += TableStart() + "<tr>" + Cell("", "th") + Cell("Field", "th") +
            Cell("Configuration", "th") + Cell("Transmitter", "th") + "</tr>\n";
    for (const SummaryGroup& group : document.Groups()) {
        for (const SummaryField& field : group.fields) {
            if (!field.compared) continue;
            const SummaryField* other = transmitter.Field(group.key, field.key);
            const bool differs = differing.count(group.key + "." + field.key) != 0;
            html +=
                std::string("<tr") + (differs ? " bgcolor=\"#ffd699\"" : "") + ">" +
                Cell(differs ? kDifferenceMark : "") +
                Cell(group.shortName.empty() ? field.label : group.shortName + " " + field.label) +
                Cell(field.value) + Cell(other != nullptr ? other->value : "") + "</tr>\n";
        }
    }
    return html + "</table>\n";
}

std::string ChangesTable(const std::vector<ChangeRecordLine>& changes) {
    std::string html = Heading("Changes written in this session");
    if (changes.empty()) return html + "<p>No writes to this transmitter were recorded.</p>\n";
    html += TableStart() + "<tr>" + Cell("Time", "th") + Cell("Area", "th") + Cell("Field", "th") +
            Cell("Old value", "th") + Cell("New value", "th") + Cell("Outcome", "th") + "</tr>\n";
    for (const ChangeRecordLine& c : changes) {
        html += "<tr>" + Cell(c.time) + Cell(c.area) + Cell(c.field) + Cell(c.oldValue) +
                Cell(c.newValue) + Cell(c.outcome) + "</tr>\n";
    }
    return html + "</table>\n";
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

}  // namespace

std::vector<ChangeRecordLine> CCommissioningReport::ChangesOfThisRun(const std::string& tag) {
    std::vector<ChangeRecordLine> lines;
    for (const ChangeRecord& record : ChangeLog().ThisRun()) {
        if (Trimmed(record.tag) != Trimmed(tag)) continue;
        ChangeRecordLine line;
        line.time = record.time;
        line.area = record.area;
        line.field = record.field;
        line.oldValue = record.oldValue;
        line.newValue = record.newValue;
        line.outcome = record.outcome;
        if (!record.error.empty()) line.outcome += ": " + record.error;
        if (!record.kept.empty()) line.outcome += ", kept " + record.kept;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string CCommissioningReport::Title() const {
    const SummaryField* tag = document.Field("device", "tag");
    const std::string text = tag != nullptr ? tag->value : std::string();
    return "Commissioning report " + (text.empty() ? std::string("(untagged)") : text);
}

std::string CCommissioningReport::Html() const {
    std::string html = "<html><head><meta charset=\"utf-8\"><title>" + Escaped(Title()) +
                       "</title></head><body>\n";
    html += "<h1>" + Escaped(Title()) + "</h1>\n";
    html += "<p>Date: " + Escaped(date) + "<br>Configuration: " + Escaped(source) + "</p>\n";
    if (const SummaryGroup* device = document.Group("device")) html += GroupTable(*device);
    if (!identification.empty()) {
        html += Heading("Transmitter identification") + TableStart();
        for (const auto& [label, value] : identification)
            html += "<tr>" + Cell(label, "th") + Cell(value) + "</tr>\n";
        html += "</table>\n";
    }
    html += VariablesTable(document);
    for (const char* key : {"data-formats", "lcd", "comm", "flow"}) {
        if (const SummaryGroup* group = document.Group(key)) html += GroupTable(*group);
    }
    if (transmitter) html += CompareTable(document, *transmitter, transmitterStale);
    html += ChangesTable(changes);
    return html + "</body></html>\n";
}

PaperSize CCommissioningReport::PaperForLocale(const std::string& localeName) {
    // The territory: the two letters after the first '_' ("en_US.UTF-8" -> "us").
    const size_t underscore = localeName.find('_');
    if (underscore == std::string::npos || underscore + 3 > localeName.size()) return PaperSize::A4;
    const std::string territory = Lower(localeName.substr(underscore + 1, 2));
    static const std::set<std::string> kLetter = {"us", "ca", "mx", "cl", "co", "cr", "gt",
                                                  "pa", "pr", "ph", "ve", "sv", "do", "ni"};
    return kLetter.count(territory) != 0 ? PaperSize::Letter : PaperSize::A4;
}

std::string CCommissioningReport::PaperLocaleFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return std::string();
}
