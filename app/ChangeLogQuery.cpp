#include "app/ChangeLogQuery.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "resources/Strings.h"

namespace {

std::string Trimmed(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string BitRateText(double bitRate) { return bitRate > 0 ? FormatText("%g", bitRate) : ""; }

std::string AddressText(int address) { return address >= 0 ? std::to_string(address) : ""; }

}  // namespace

namespace changelog {

bool IsDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    if (month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && !leap) return day <= 28;
    return day <= kDays[month - 1];
}

std::vector<ChangeRecord> Select(const std::vector<ChangeRecord>& records, const Filter& filter) {
    const std::string tag = Upper(Trimmed(filter.tag));
    std::vector<ChangeRecord> chosen;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (!tag.empty() && Upper(Trimmed(it->tag)) != tag) continue;
        // The record's own local date: the first ten characters of its time.
        if (!filter.since.empty() && it->time.substr(0, 10) < filter.since) continue;
        chosen.push_back(*it);
    }
    return chosen;
}

std::vector<std::string> Tags(const std::vector<ChangeRecord>& records) {
    std::set<std::string> tags;
    for (const ChangeRecord& record : records) {
        const std::string tag = Trimmed(record.tag);
        if (!tag.empty()) tags.insert(tag);
    }
    return {tags.begin(), tags.end()};
}

std::string OutcomeText(const ChangeRecord& record) {
    if (record.outcome == ChangeRecord::kRejected && !record.error.empty())
        return record.outcome + ": " + record.error;
    if (record.outcome == ChangeRecord::kWarning && !record.kept.empty())
        return record.outcome + ", kept " + record.kept;
    return record.outcome;
}

std::string TerminalLine(const ChangeRecord& record) {
    std::string outcome = OutcomeText(record);
    std::replace(outcome.begin(), outcome.end(), '\n', ' ');
    std::string line = record.time + "  " + Trimmed(record.tag);
    line += "  " + record.port;
    if (record.bitRate > 0) line += " " + BitRateText(record.bitRate) + " bit/s";
    if (record.address >= 0) line += " address " + AddressText(record.address);
    line += "  " + record.area + "  " + record.field + ": ";
    line += record.oldValue.empty() ? record.newValue : record.oldValue + " -> " + record.newValue;
    return line + "  " + outcome;
}

std::string Csv(const std::vector<ChangeRecord>& records) {
    std::string csv =
        "time,port,bit rate,polling address,tag,area,field,old value,new "
        "value,outcome,error,kept\r\n";
    for (const ChangeRecord& r : records) {
        const std::string fields[] = {r.time,
                                      r.port,
                                      BitRateText(r.bitRate),
                                      AddressText(r.address),
                                      Trimmed(r.tag),
                                      r.area,
                                      r.field,
                                      r.oldValue,
                                      r.newValue,
                                      r.outcome,
                                      r.error,
                                      r.kept};
        bool first = true;
        for (const std::string& field : fields) {
            if (!first) csv += ',';
            csv += CsvField(field);
            first = false;
        }
        csv += "\r\n";
    }
    return csv;
}

}  // namespace changelog
