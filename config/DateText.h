#pragma once

#include <string>

#include "transmitter/CalendarDate.h"

// The date as the device information window shows and takes it: dd/mmm/yy
// with the month's upper-case abbreviation ("20/FEB/95").
namespace config {

std::string DateText(const CalendarDate& date);

// Checks a date text by the window's rules, in their order: blank (710), bad
// format (711), day (712), month (713), too many days for the month (715, with
// February allowed 29 days in every year), year (714, 70..99 and 00..35).
// Returns 0 for a date, else the number of the message to show.
unsigned CheckDateText(const std::string& text);

// The date of a text that passed the check: yy below 70 is 20yy, else 19yy.
CalendarDate DateFromText(const std::string& text);

}  // namespace config
