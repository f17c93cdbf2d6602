#include <gtest/gtest.h>

#include <ostream>
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
    const char* text;  // the exact characters the program shows
};

// One or more texts from every range, with the characters that must survive
// exactly: line breaks, double and trailing blanks, odd spellings, UTF-8.
const QuotedText kQuotedTexts[] = {
    {3, "UNTITLED"},
    {299,
     "Low on free memory or system resources.\nPlease close other programs running in "
     "Windows."},
    {300, "Out of memory. Please close other programs running in Windows."},
    {303, "Unknown error."},
    {307,
     "Tried to read from a file open for writing. Please close close all programs on your "
     "PC and re-start the Flowsmith."},
    {315,
     "Too many files open. You may want to increase the number in the 'FILES=' command in "
     "your CONFIG.SYS file."},
    {326, "Unspecified error."},
    {330,
     "Error: viscosity is calculated as zero -- cannot complete operation.\n Please check if "
     "the fluid selection (gas or liquid) is correct."},
    {343,
     "Error: dvide by zero in EdSquared curve fit. Please contact your Hollin-Brackwell "
     "Service Center. In North America, call 1-800-555-0100."},
    {352, "Please re-install the Flowsmith software.\nFluid name not found in AICHE database--"},
    {363,
     "The transmitter has an invalid variable code and may be malfunctioning.\n Do you want "
     "to set this code to "},
    {364, "The transmitter has an invalid "},  // trailing blank
    {365, "\nunits code and may be malfunctioning.\nDo you want to set this code to "},
    {373, "More Info Available - See \"Error Info\""},
    {381,
     "The operation failed. \nThe transmitter may be in an undetermined state.\n  Please "
     "resolve the problem and repeat the attempted operation before returning control loop "
     "to AUTO mode."},
    {382, " (not yet implemented)"},
    {390,
     "Death or serious injury can result from configuring the transmitter when in AUTO "
     "control.  This operation can change the process variable.\n\nPlace control loop in "
     "MANUAL before selecting OK."},
    {394,
     "Configuration canceled. \nThe transmitter may be in an undetermined state.  \nPlease "
     "perform a successful send configuration before returning control loop to AUTO mode."},
    {400, "Exit the Corvel Configurator User Interface ?"},
    {405, "Operation Complete !"},
    {450, "Differential Pressure"},
    {453, "Flow"},
    {486, "Communication Setup"},
    {513, "Lvl; 3 in, class 150 (ANSI)"},
    {583, "Glycerin / H2O"},
    {596, "Not Used"},
    {599, "None"},
    {700, "Polling Address"},
    {713,
     "Illegal month - mmm in format dd/mmm/yy is not a legal month abbreviation.\nLegal "
     "abbreviations are: JAN, FEB, MAR, APR, MAY, JUN, JUL, AUG, SEP, OCT, NOV and DEC."},
    {716, "Please avoid using this illegal character: "},
    {724,
     "There is already at transmitter at the new address. Please change new address to one "
     "that is not already in use."},
    {776,
     "The damping values were changed to the above approximations!  You may select the "
     "'Cancel' button to restore the original values."},
    {778,
     "The transmitter has assigned damping values to the nearest acceptable values! There "
     "has been a software error!"},
    {851, "Gauge Pressure"},
    {864, "Gold/Monel"},
    {871, "Inert"},
    {900, "Communications Error: Unknown"},
    {914, "Cannot complete operation: Invalid units code"},
    {922, "Communications Warning: Damping was set to the nearest possible value"},
    {952,
     "Communications Error: Access is restricted due to a condition which prevents proper "
     "execution of the command"},
    {975, "The device has rejected the PT operating limits"},
    {2023, "\nPlease re-install the Flowsmith software."},
    {2035,
     "\nIf you want, you can send this flow configuration to a transmitter as is\n(please "
     "use Cancel on the next screen)."},
    {2038,
     "Please note: the primary element diameter is less than the recommended  minimum "
     "value of"},
    {2048, "Please retry the operation: invalid measurement type code"},
    {2049, "Please retry the operation: invalid units code...\nmeasurement type is:"},
    {2100,
     "Transmitter is not a Corvel with Modbus protocol. Please connect the Corvel "
     "Configurator User Interface only to Corvel transmitters which support Modbus."},
    {2102, "Operation could not be completed!"},
    {2159, "PT (fixed)"},
    {2307, "Set &Values"},
    {2421, "This temperature is below the sensor Lower Range Limit"},
    {2438, "Please enter an offset between 0 and 65534"},
    {3000, "Status Bit Not Labelled"},
    {3042, "DP signal above Upper Range Limit + 10%"},
    {3071, "Write Protect is enabled"},
    {3105, "Security will be enabled.\n\nThe administrative password is required.\n"},
    {3202, "(Unknown)"},
    {3253,
     "The transmitter self-test has failed to complete within a reasonable time.\nPlease "
     "try again."},
    {3310,
     "The transmitter is taking too long to respond to a test calculation. Please contact "
     "your Hollin-Brackwell Service Center. In North America, call 1-800-555-0100."},
    {3351, "Disabled"},
    {3353, "1200"},
    {3356, "9600"},
    {3358, "Format 0 - default"},
    {3361, "Format 3"},
    {32775, "Disabled"},
    {32777, "Entered Scale Factor & Offset"},
    {59145, "Security: High"},
    {59150, "Security: Non-EMS"},
};

void PrintTo(const QuotedText& quoted, std::ostream* os) { *os << "string " << quoted.id; }

class QuotedTextTest : public ::testing::TestWithParam<QuotedText> {};

TEST_P(QuotedTextTest, MatchesTheQuotedTextExactly) {
    EXPECT_EQ(LoadString(GetParam().id), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(StringTable, QuotedTextTest, ::testing::ValuesIn(kQuotedTexts),
                         [](const ::testing::TestParamInfo<QuotedText>& entry) {
                             return "Id" + std::to_string(entry.param.id);
                         });

TEST(StringTable, TextsAreWellFormedUtf8) {
    // Every byte above 127 belongs to a well-formed UTF-8 sequence.
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
