#include "config/DateText.h"

#include <cstdio>

#include "resources/Texts.h"

namespace config {
namespace {

constexpr unsigned kIdBlank = 710;
constexpr unsigned kIdBadFormat = 711;
constexpr unsigned kIdIllegalDay = 712;
constexpr unsigned kIdIllegalMonth = 713;
constexpr unsigned kIdIllegalYear = 714;
constexpr unsigned kIdTooManyDays = 715;
constexpr int kMonthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The parts of a text with two slashes: day, month abbreviation, year.
struct DateParts {
    std::string day;
    std::string month;
    std::string year;
};

DateParts Split(const std::string& text) {
    const size_t first = text.find('/');
    const size_t last = text.rfind('/');
    return {text.substr(0, first), text.substr(first + 1, last - first - 1), text.substr(last + 1)};
}

// 1..12 for a month abbreviation, 0 for anything else.
int MonthNumber(const std::string& abbreviation) {
    for (int m = 0; m < 12; ++m) {
        if (abbreviation == texts::kMonthAbbreviations[m]) return m + 1;
    }
    return 0;
}

}  // namespace

std::string DateText(const CalendarDate& date) {
    const int month = date.month >= 1 && date.month <= 12 ? date.month : 1;
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%s/%02d", date.day % 100,
                  texts::kMonthAbbreviations[month - 1], date.year % 100);
    return text;
}

unsigned CheckDateText(const std::string& text) {
    if (text.empty()) return kIdBlank;
    size_t slashes = 0;
    for (char c : text) slashes += c == '/' ? 1 : 0;
    const size_t first = text.find('/');
    if ((text.size() != 8 && text.size() != 9) || slashes != 2 || (first != 1 && first != 2))
        return kIdBadFormat;
    const DateParts parts = Split(text);
    // The month sits between the two slashes: "01/JANU/5" is no date.
    if (parts.month.size() != 3) return kIdBadFormat;
    if (!AllDigits(parts.day)) return kIdIllegalDay;
    const int day = std::stoi(parts.day);
    if (day < 1 || day > 31) return kIdIllegalDay;
    const int month = MonthNumber(parts.month);
    if (month == 0) return kIdIllegalMonth;
    if (day > kMonthDays[month - 1]) return kIdTooManyDays;
    if (!AllDigits(parts.year)) return kIdIllegalYear;
    const int year = std::stoi(parts.year);
    if (year > 99 || (year >= 36 && year <= 69)) return kIdIllegalYear;
    return 0;
}

CalendarDate DateFromText(const std::string& text) {
    const DateParts parts = Split(text);
    const int year = std::stoi(parts.year);
    return {year < 70 ? year + 2000 : year + 1900, MonthNumber(parts.month), std::stoi(parts.day)};
}

}  // namespace config
