// The program takes the desktop's locale for everything but numbers. The
// suite's QApplication is made the way the program's is; ctest runs this test
// a second time under LC_ALL=de_DE.UTF-8, a locale that writes decimal commas,
// with CORVEL_DESKTOP_LOCALE naming the locale that must then be in effect.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

TEST(DesktopLocale, NumbersKeepTheDecimalPointWhateverTheDesktop) {
    const char* desktop = std::getenv("CORVEL_DESKTOP_LOCALE");
    if (desktop && *desktop) {
        // The rest of the locale follows the desktop.
        ASSERT_STREQ(std::setlocale(LC_CTYPE, nullptr), desktop)
            << "the locale " << desktop
            << " is not installed; scripts/install-deps.sh generates it";
    }
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    char text[16];
    std::snprintf(text, sizeof text, "%g", 0.896);
    EXPECT_STREQ(text, "0.896");
    EXPECT_EQ(std::strtod("0.896", nullptr), 0.896);
}
