#include "platform/Numbers.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>

#include "tests/support/CScopedCLocale.h"

namespace {

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = platform::FormatV(format, args);
    va_end(args);
    return text;
}

TEST(Numbers, ParsesDecimalNumbersWithSpacesAndOnePlus) {
    double value = 0.0;
    ASSERT_TRUE(platform::ParseDouble("  -0.5 ", value));
    EXPECT_EQ(value, -0.5);
    ASSERT_TRUE(platform::ParseDouble("+2.", value));
    EXPECT_EQ(value, 2.0);
    ASSERT_TRUE(platform::ParseDouble("1e3", value));
    EXPECT_EQ(value, 1000.0);
    ASSERT_TRUE(platform::ParseDouble(".25", value));
    EXPECT_EQ(value, 0.25);
}

TEST(Numbers, RefusesWhatIsNotOneNumber) {
    double value = 7.0;
    for (const char* text :
         {"", "   ", "1,5", "2x", "x2", "++1", "+-1", "1 2", "inf", "nan", "-", "1e999"}) {
        EXPECT_FALSE(platform::ParseDouble(text, value)) << '"' << text << '"';
    }
    EXPECT_EQ(value, 7.0) << "a refused text leaves the value alone";
}

TEST(Numbers, ParsesWholeIntegersOnly) {
    long value = 0;
    ASSERT_TRUE(platform::ParseLong(" +49 ", value));
    EXPECT_EQ(value, 49);
    ASSERT_TRUE(platform::ParseLong("-3", value));
    EXPECT_EQ(value, -3);
    for (const char* text : {"", "4.5", "1e2", "0x10", "99999999999999999999", "+-2"}) {
        EXPECT_FALSE(platform::ParseLong(text, value)) << '"' << text << '"';
    }
}

TEST(Numbers, FormatsLikePrintf) {
    EXPECT_EQ(Format("%g %s", 0.896, "psi"), "0.896 psi");
    EXPECT_EQ(Format("%#lg", 50.01), "50.0100");
    EXPECT_EQ(Format("%i", 0), "0");
}

TEST(Numbers, DecimalPointUnderADecimalCommaLocale) {
    CScopedCLocale comma;
    ASSERT_TRUE(comma.Active());
    // The C library itself now writes commas...
    char native[16];
    std::snprintf(native, sizeof native, "%g", 0.5);
    ASSERT_STREQ(native, "0,5");
    // ...the program's own formatting and parsing do not.
    EXPECT_EQ(Format("%g %#lg %.3f", 0.5, 25.0, -1.25), "0.5 25.0000 -1.250");
    double value = 0.0;
    ASSERT_TRUE(platform::ParseDouble("0.896", value));
    EXPECT_EQ(value, 0.896);
    EXPECT_FALSE(platform::ParseDouble("0,896", value));
}

}  // namespace
