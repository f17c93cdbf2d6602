#include <gtest/gtest.h>

#include <string>

#include "resources/StringTable.h"
#include "resources/Strings.h"

TEST(StringTable, SortedByIdWithoutDuplicates) {
    ASSERT_GT(kStringTableSize, 0u);
    for (size_t i = 1; i < kStringTableSize; ++i) {
        EXPECT_LT(kStringTable[i - 1].id, kStringTable[i].id)
            << "entry " << i << " (id " << kStringTable[i].id << ") is out of order or repeated";
    }
}

TEST(StringTable, EveryEntryHasText) {
    for (size_t i = 0; i < kStringTableSize; ++i) {
        ASSERT_NE(kStringTable[i].text, nullptr) << "id " << kStringTable[i].id;
        EXPECT_FALSE(std::string(kStringTable[i].text).empty()) << "id " << kStringTable[i].id;
    }
}

TEST(StringTable, EveryEntryIsFoundByItsId) {
    for (size_t i = 0; i < kStringTableSize; ++i) {
        EXPECT_TRUE(HasString(kStringTable[i].id)) << "id " << kStringTable[i].id;
        EXPECT_EQ(LoadString(kStringTable[i].id), kStringTable[i].text);
    }
}

struct QuotedText {
    unsigned id;
    const char* text;  // as quoted by the specification (the Part is named in the comment)
};

// One or more texts from every range, with the characters the specification
// insists on: line breaks, double and trailing blanks, odd spellings, UTF-8.
const QuotedText kQuotedTexts[] = {
    {3, "UNTITLED"},                                                           // Part 4.5
    {299, "Low on free memory or system resources.\nPlease close other programs running in "
          "Windows."},                                                         // Part 4.3
    {300, "Out of memory. Please close other programs running in Windows."},  // Part 1.4
    {303, "Unknown error."},                                                   // Part 4.4
    {307, "Tried to read from a file open for writing. Please close close all programs on your "
          "PC and re-start the Flowsmith."},                                   // Part 4.4
    {315, "Too many files open. You may want to increase the number in the 'FILES=' command in "
          "your CONFIG.SYS file."},                                            // Part 4.4
    {326, "Unspecified error."},                                               // Part 1.4
    {330, "Error: viscosity is calculated as zero -- cannot complete operation.\n Please check if "
          "the fluid selection (gas or liquid) is correct."},                  // Part 5.2
    {343, "Error: dvide by zero in EdSquared curve fit. Please contact your Hollin-Brackwell "
          "Service Center. In North America, call 1-800-555-0100."},          // Part 5.3
    {352, "Please re-install the Flowsmith software.\nFluid name not found in AICHE database--"},
    {363, "The transmitter has an invalid variable code and may be malfunctioning.\n Do you want "
          "to set this code to "},                                             // Part 2.2
    {364, "The transmitter has an invalid "},                                  // trailing blank
    {365, "\nunits code and may be malfunctioning.\nDo you want to set this code to "},
    {373, "More Info Available - See \"Error Info\""},                         // Part 2.1
    {381, "The operation failed. \nThe transmitter may be in an undetermined state.\n  Please "
          "resolve the problem and repeat the attempted operation before returning control loop "
          "to AUTO mode."},                                                    // Part 1.4
    {382, " (not yet implemented)"},                                           // Part 7.1
    {390, "Death or serious injury can result from configuring the transmitter when in AUTO "
          "control.  This operation can change the process variable.\n\nPlace control loop in "
          "MANUAL before selecting OK."},                                      // Part 4.5
    {394, "Configuration canceled. \nThe transmitter may be in an undetermined state.  \nPlease "
          "perform a successful send configuration before returning control loop to AUTO mode."},
    {400, "Exit the Corvel Configurator User Interface ?"},                    // Part 4.2
    {405, "Operation Complete !"},                                             // Part 4.5
    {450, "Differential Pressure"},                                            // Part 2.2
    {453, "Flow"},                                                             // Part 2.2
    {486, "Communication Setup"},                                              // Part 6.5
    {513, "Lvl; 3 in, class 150 (ANSI)"},                                      // Part 2.2
    {583, "Glycerin / H2O"},                                                   // Part 2.2
    {596, "Not Used"},                                                         // Part 2.2
    {599, "None"},                                                             // Part 2.2
    {700, "Polling Address"},                                                  // Part 4.3
    {713, "Illegal month - mmm in format dd/mmm/yy is not a legal month abbreviation.\nLegal "
          "abbreviations are: JAN, FEB, MAR, APR, MAY, JUN, JUL, AUG, SEP, OCT, NOV and DEC."},
    {716, "Please avoid using this illegal character: "},                      // Part 6.2
    {724, "There is already at transmitter at the new address. Please change new address to one "
          "that is not already in use."},                                      // Part 4.3
    {776, "The damping values were changed to the above approximations!  You may select the "
          "'Cancel' button to restore the original values."},                  // Part 6.1
    {778, "The transmitter has assigned damping values to the nearest acceptable values! There "
          "has been a software error!"},                                       // Part 6.1
    {851, "Gauge Pressure"},                                                   // Part 2.2
    {864, "Gold/Monel"},                                                       // Part 2.2
    {871, "Inert"},                                                            // Part 2.2
    {900, "Communications Error: Unknown"},                                    // Part 1.4
    {914, "Cannot complete operation: Invalid units code"},                    // Part 1.4
    {922, "Communications Warning: Damping was set to the nearest possible value"},
    {952, "Communications Error: Access is restricted due to a condition which prevents proper "
          "execution of the command"},                                         // Part 1.4
    {975, "The device has rejected the PT operating limits"},                  // Part 1.4
    {2023, "\nPlease re-install the Flowsmith software."},                     // Part 5.1
    {2035, "\nIf you want, you can send this flow configuration to a transmitter as is\n(please "
           "use Cancel on the next screen)."},                                 // Part 5.6
    {2038, "Please note: the primary element diameter is less than the recommended  minimum "
           "value of"},                                                        // Part 5.4
    {2048, "Please retry the operation: invalid measurement type code"},       // Part 3.1
    {2049, "Please retry the operation: invalid units code...\nmeasurement type is:"},
    {2100, "Transmitter is not a Corvel with Modbus protocol. Please connect the Corvel "
           "Configurator User Interface only to Corvel transmitters which support Modbus."},
    {2102, "Operation could not be completed!"},                               // Part 1.4
    {2159, "PT (fixed)"},                                                      // Part 7.1
    {2307, "Set &Values"},                                                     // Part 6.1
    {2421, "This temperature is below the sensor Lower Range Limit"},          // Part 7.1
    {2438, "Please enter an offset between 0 and 65534"},                      // Part 6.4
    {3000, "Status Bit Not Labelled"},                                         // Part 7.3
    {3042, "DP signal above Upper Range Limit + 10%"},                         // Part 7.3
    {3071, "Write Protect is enabled"},                                        // Part 7.3
    {3105, "Security will be enabled.\n\nThe administrative password is required.\n"},
    {3202, "(Unknown)"},                                                       // Part 7.3
    {3253, "The transmitter self-test has failed to complete within a reasonable time.\nPlease "
           "try again."},                                                      // Part 7.3
    {3310, "The transmitter is taking too long to respond to a test calculation. Please contact "
           "your Hollin-Brackwell Service Center. In North America, call 1-800-555-0100."},
    {3351, "Disabled"},                                                        // Part 7.3
    {3353, "1200"},                                                            // Part 1.1
    {3356, "9600"},                                                            // Part 1.1
    {3358, "Format 0 - default"},                                              // Part 6.4
    {3361, "Format 3"},                                                        // Part 6.4
    {32775, "Disabled"},                                                       // Part 6.4
    {32777, "Entered Scale Factor & Offset"},                                  // Part 6.4
    {59145, "Security: High"},                                                 // Part 6.6
    {59150, "Security: Non-EMS"},                                              // Part 6.6
};

class QuotedTextTest : public ::testing::TestWithParam<QuotedText> {};

TEST_P(QuotedTextTest, MatchesTheSpecificationExactly) {
    EXPECT_EQ(LoadString(GetParam().id), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(StringTable, QuotedTextTest, ::testing::ValuesIn(kQuotedTexts),
                         [](const ::testing::TestParamInfo<QuotedText>& info) {
                             return "Id" + std::to_string(info.param.id);
                         });

TEST(StringTable, DegreeSignIsUtf8) {
    // No numbered text of the specification carries a degree sign, so the check
    // is on the encoding of the table itself: every byte above 127 belongs to a
    // well-formed UTF-8 sequence.
    for (size_t i = 0; i < kStringTableSize; ++i) {
        const std::string text = kStringTable[i].text;
        for (size_t k = 0; k < text.size();) {
            const unsigned char lead = static_cast<unsigned char>(text[k]);
            size_t length = 1;
            if (lead >= 0xF0) {
                length = 4;
            } else if (lead >= 0xE0) {
                length = 3;
            } else if (lead >= 0xC0) {
                length = 2;
            } else {
                ASSERT_LT(lead, 0x80u) << "stray continuation byte in id " << kStringTable[i].id;
            }
            ASSERT_LE(k + length, text.size()) << "truncated sequence in id " << kStringTable[i].id;
            for (size_t c = 1; c < length; ++c) {
                EXPECT_EQ(static_cast<unsigned char>(text[k + c]) & 0xC0u, 0x80u)
                    << "id " << kStringTable[i].id;
            }
            k += length;
        }
    }
}

TEST(StringTable, TextWithTypeNameEndsWithMeasurementTypeIs) {
    const std::string text = LoadString(2049);
    const std::string ending = "measurement type is:";
    ASSERT_GE(text.size(), ending.size());
    EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
}

TEST(StringTable, UnknownIdGivesEmptyText) {
    for (unsigned id : {0u, 1u, 2u, 4u, 298u, 331u, 379u, 3001u, 3357u, 32774u, 59151u, 65535u}) {
        EXPECT_EQ(LoadString(id), "") << "id " << id;
        EXPECT_FALSE(HasString(id)) << "id " << id;
    }
}
