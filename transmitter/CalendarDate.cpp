#include "transmitter/CalendarDate.h"

#include <ctime>

namespace {

// Days from 1970-01-01 to y-m-d (Howard Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

}  // namespace

uint32_t CalendarDate::ToSeconds() const {
    const int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return static_cast<uint32_t>(days * 86400);
}

CalendarDate CalendarDate::FromSeconds(uint32_t seconds) {
    int64_t z = static_cast<int64_t>(seconds / 86400) + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

CalendarDate CalendarDate::LocalDate(std::time_t moment) {
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr) return FromSeconds(static_cast<uint32_t>(moment));
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

CalendarDate CalendarDate::Today() { return LocalDate(std::time(nullptr)); }
