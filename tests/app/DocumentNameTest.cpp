#include "app/DocumentName.h"

#include <gtest/gtest.h>

using app::DocumentNameFromTag;

TEST(DocumentName, TagIsCutAtTheFirstCharacterAFileNameCannotHold) {
    EXPECT_EQ(DocumentNameFromTag("FT 101"), "FT.CMM");
    EXPECT_EQ(DocumentNameFromTag("LIC-7"), "LIC-7.CMM");
    EXPECT_EQ(DocumentNameFromTag("PT.5"), "PT.CMM");
    EXPECT_EQ(DocumentNameFromTag("A/B"), "A.CMM");
}

TEST(DocumentName, EmptyOrBlankTagGivesUntitled) {
    EXPECT_EQ(DocumentNameFromTag(""), "UNTITLED");
    EXPECT_EQ(DocumentNameFromTag(" "), "UNTITLED");
    EXPECT_EQ(DocumentNameFromTag("        "), "UNTITLED");
    EXPECT_EQ(DocumentNameFromTag(" FT101"), "UNTITLED");
    EXPECT_EQ(DocumentNameFromTag("\tFT101"), "UNTITLED");
    EXPECT_EQ(DocumentNameFromTag(std::string("\0AB", 3)), "UNTITLED");
}

TEST(DocumentName, NothingUsableLeftGivesUntitled) {
    EXPECT_EQ(DocumentNameFromTag("*ABC"), "UNTITLED");
    EXPECT_EQ(DocumentNameFromTag("\xC4"
                                  "ABC"),
              "UNTITLED");
}

TEST(DocumentName, AtMostEightCharactersAreTaken) {
    EXPECT_EQ(DocumentNameFromTag("ABCDEFGHIJ"), "ABCDEFGH.CMM");
    EXPECT_EQ(DocumentNameFromTag("12345678"), "12345678.CMM");
}

TEST(DocumentName, EverySixteenPunctuationCharacterIsKept) {
    EXPECT_EQ(DocumentNameFromTag("_^$~!#%&"), "_^$~!#%&.CMM");
    EXPECT_EQ(DocumentNameFromTag("-{}()@'`"), "-{}()@'`.CMM");
    EXPECT_EQ(DocumentNameFromTag("A+B"), "A.CMM");
    EXPECT_EQ(DocumentNameFromTag("A=B"), "A.CMM");
}
