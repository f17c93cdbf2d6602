#include "config/DateText.h"

#include <gtest/gtest.h>

namespace {

TEST(DateText, ShowsDayMonthAndYearWithTheMonthInCapitals) {
    EXPECT_EQ(config::DateText({1995, 2, 20}), "20/FEB/95");
    EXPECT_EQ(config::DateText({2035, 1, 1}), "01/JAN/35");
    EXPECT_EQ(config::DateText({1970, 12, 31}), "31/DEC/70");
}

TEST(DateText, AcceptsOneAndTwoDigitDays) {
    EXPECT_EQ(config::CheckDateText("1/JAN/95"), 0u);
    EXPECT_EQ(config::CheckDateText("01/JAN/95"), 0u);
    EXPECT_EQ(config::CheckDateText("29/FEB/97"), 0u) << "February has 29 days in every year";
}

TEST(DateText, EachRuleHasItsMessage) {
    EXPECT_EQ(config::CheckDateText(""), 710u);
    EXPECT_EQ(config::CheckDateText("001/JAN/95"), 711u);
    EXPECT_EQ(config::CheckDateText("1/JAN95"), 711u);
    EXPECT_EQ(config::CheckDateText("1/JAN/9/5"), 711u);
    EXPECT_EQ(config::CheckDateText("JAN/01/95"), 711u);
    EXPECT_EQ(config::CheckDateText("00/JAN/95"), 712u);
    EXPECT_EQ(config::CheckDateText("32/JAN/95"), 712u);
    EXPECT_EQ(config::CheckDateText("01/jan/95"), 713u) << "months are compared case-sensitively";
    EXPECT_EQ(config::CheckDateText("01/XYZ/95"), 713u);
    EXPECT_EQ(config::CheckDateText("31/APR/99"), 715u);
    EXPECT_EQ(config::CheckDateText("30/FEB/99"), 715u);
    EXPECT_EQ(config::CheckDateText("01/JAN/50"), 714u);
    EXPECT_EQ(config::CheckDateText("01/JAN/36"), 714u);
    EXPECT_EQ(config::CheckDateText("01/JAN/69"), 714u);
}

TEST(DateText, TheFirstFailingRuleWins) {
    // A bad day and a bad month: the day is checked first.
    EXPECT_EQ(config::CheckDateText("41/XYZ/95"), 712u);
    // Too many days is checked before the year.
    EXPECT_EQ(config::CheckDateText("31/APR/50"), 715u);
}

TEST(DateText, RefusesPartsThatAreNotWhollyNumbersOrNotInTheirPlace) {
    EXPECT_EQ(config::CheckDateText("1A/JAN/95"), 712u);
    EXPECT_EQ(config::CheckDateText("01/JAN/9X"), 714u);
    EXPECT_EQ(config::CheckDateText("01/JANU/5"), 711u)
        << "the month fills the space between slashes";
}

TEST(DateText, YearsBelowSeventyAreThisCentury) {
    EXPECT_EQ(config::DateFromText("01/JAN/35"), (CalendarDate{2035, 1, 1}));
    EXPECT_EQ(config::DateFromText("01/JAN/00"), (CalendarDate{2000, 1, 1}));
    EXPECT_EQ(config::DateFromText("1/DEC/70"), (CalendarDate{1970, 12, 1}));
    EXPECT_EQ(config::DateFromText("29/FEB/96"), (CalendarDate{1996, 2, 29}));
}

}  // namespace
