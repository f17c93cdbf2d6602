#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "resources/Texts.h"

// The unnumbered texts are UTF-8, spelled out here byte by byte so that the
// check does not depend on the encoding of this file.
TEST(Texts, NonAsciiCharactersAreUtf8) {
    EXPECT_STREQ(texts::kCommParamsCaption, "Modbus\xC2\xAE Communication Parameters");
    EXPECT_STREQ(texts::kProducerNames[3],
                 "ASME Orifice: 2\xC2\xBD"
                 "D and 8D Taps");
    EXPECT_STREQ(texts::kLiquidFlowCaption,
                 "Fully Compensated Liquid Flow - Q=NCdEd\xC2\xB2((rho)h)^\xC2\xBD");
}

TEST(Texts, KeepBlanksAndLineBreaksAsQuoted) {
    EXPECT_STREQ(texts::kOpenPortFailed, "Failed to open port COM%d:\n\n");
    EXPECT_STREQ(texts::kFoundLine, "\t%i\t%s\t%s");
    EXPECT_STREQ(texts::kPollingAddressNumber, ":  %d");
    EXPECT_STREQ(texts::kOsOther, "Windows %d.%d ");
    EXPECT_STREQ(texts::kDampingNoteGroup, " NOTE :  ");
    EXPECT_STREQ(texts::kProducerNames[7], "Venturi:  Welded Sheet-iron Inlet");
    EXPECT_STREQ(texts::kOpenFailedSuffix, " <== Open failed");
    EXPECT_STREQ(texts::kPortDeviceName, "\\\\.\\COM%d");
}

TEST(Texts, EveryCommandHasAPromptAndAUniqueId) {
    std::set<unsigned> ids;
    for (const auto& command : texts::kCommandTexts) {
        EXPECT_TRUE(ids.insert(command.id).second) << command.id;
        ASSERT_NE(command.prompt, nullptr) << command.id;
        EXPECT_GT(std::strlen(command.prompt), 0u) << command.id;
    }
    EXPECT_EQ(ids.size(), 41u);
}

TEST(Texts, CommandOddSpellingsAreKept) {
    for (const auto& command : texts::kCommandTexts) {
        if (command.id == 32820) {
            EXPECT_STREQ(command.prompt, "Send configuration to transmittter");
            EXPECT_STREQ(command.toolTip, "Send Configuration");
        }
        if (command.id == 57600) {
            EXPECT_STREQ(command.item, "&New Config\tCtrl+N");
            EXPECT_STREQ(command.toolTip, "New Configuration ");
        }
    }
}
