#pragma once

#include <cstdint>

#include <ctime>

// A calendar date (proleptic Gregorian) and the seconds since 1970-01-01 of
// its midnight UTC, the form in which a configuration file keeps it.
struct CalendarDate {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31

    // Seconds at 00:00:00 UTC of this date; only meaningful for 1970..2105.
    uint32_t ToSeconds() const;
    static CalendarDate FromSeconds(uint32_t seconds);
    // The date on the user's calendar (local time) at a moment, and today.
    static CalendarDate LocalDate(std::time_t moment);
    static CalendarDate Today();

    bool operator==(const CalendarDate& o) const {
        return year == o.year && month == o.month && day == o.day;
    }
    bool operator!=(const CalendarDate& o) const { return !(*this == o); }
};
