#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// The enabling of every command as the command reference lists it, written out
// state by state (H M L D N X = High, Medium, Low, Disabled, Non-EMS, no transmitter).
struct Expected {
    int id;
    const char* states;  // one letter per state in which the command is enabled
};

constexpr const char* kAll = "HMLDNX";
constexpr const char* kOff = "X";
constexpr const char* kOn = "HMLDN";
constexpr const char* kOnNotLow = "HMDN";

const Expected kExpected[] = {
    {57600, kAll},      {57601, kAll}, {57603, kAll},      {57604, kAll},   {57616, kAll},
    {57665, kAll},      {32840, kAll}, {32852, kOff},      {32808, kOff},   {32809, kOff},
    {32810, kOff},      {32847, kOff}, {32850, kOff},      {32846, kOff},   {32820, kOnNotLow},
    {32821, kOnNotLow}, {32814, kAll}, {32813, kOn},       {32853, kOn},    {32817, kOn},
    {32818, kOn},       {32819, kOn},  {32842, kOn},       {32849, kOn},    {32845, kOn},
    {32823, kOn},       {32837, kOn},  {32843, kOn},       {32829, kOn},    {32830, kOn},
    {32834, kOn},       {32844, kOn},  {32835, kOn},       {59392, kAll},   {59393, kAll},
    {57664, kAll},      {32811, kOff}, {32831, kOnNotLow}, {32822, "HMLN"}, {32826, "H"},
    {32827, "HD"},      {32880, kOn},      {32881, kAll},     {32901, kAll},
};

bool EnabledIn(const Expected& e, int state) {
    return std::string(e.states).find("HMLDNX"[state]) != std::string::npos;
}

TEST(CommandTable, EveryCommandEnabledExactlyInItsStatesWithTheLinkAvailable) {
    for (const Expected& e : kExpected) {
        for (int state = 0; state < app::kAccessStateCount; ++state) {
            EXPECT_EQ(IsCommandEnabled(e.id, state, true), EnabledIn(e, state))
                << "command " << e.id << " in state " << state;
        }
    }
}

TEST(CommandTable, WithoutTheLinkOnlyConnectChanges) {
    // With the port not opened the access state is 5; Connect alone also needs the link.
    for (const Expected& e : kExpected) {
        const bool expected =
            e.id == cmd::kConnect ? false : EnabledIn(e, app::kAccessNoTransmitter);
        EXPECT_EQ(IsCommandEnabled(e.id, app::kAccessNoTransmitter, false), expected)
            << "command " << e.id;
    }
    for (int state = 0; state < app::kAccessStateCount; ++state) {
        EXPECT_FALSE(IsCommandEnabled(cmd::kConnect, state, false));
    }
}

TEST(CommandTable, LowLevelDisablesSendReceiveAndTestCalculationOnly) {
    EXPECT_FALSE(IsCommandEnabled(cmd::kSendConfig, app::kAccessLow, true));
    EXPECT_FALSE(IsCommandEnabled(cmd::kRecvConfig, app::kAccessLow, true));
    EXPECT_FALSE(IsCommandEnabled(cmd::kTestCalculation, app::kAccessLow, true));
    EXPECT_TRUE(IsCommandEnabled(cmd::kSensorTrim, app::kAccessLow, true));
    EXPECT_TRUE(IsCommandEnabled(cmd::kDisconnect, app::kAccessLow, true));
}

TEST(CommandTable, EveryRecentFileSlotAndUnknownIds) {
    for (int slot = 0; slot < cmd::kMruCount; ++slot) {
        EXPECT_TRUE(IsCommandEnabled(cmd::kFileMru1 + slot, app::kAccessNoTransmitter, false));
    }
    EXPECT_FALSE(
        IsCommandEnabled(cmd::kFileMru1 + cmd::kMruCount, app::kAccessNoTransmitter, true));
    EXPECT_FALSE(IsCommandEnabled(12345, app::kAccessHigh, true));
    EXPECT_FALSE(IsCommandEnabled(0, app::kAccessHigh, true));
    // A state outside 0..5 enables nothing that depends on the state.
    EXPECT_FALSE(IsCommandEnabled(cmd::kSetupUnits, 6, true));
    EXPECT_FALSE(IsCommandEnabled(cmd::kXmtrUnits, -1, true));
}

TEST(CommandTable, TableHoldsEachCommandOnceAndNothingElse) {
    std::set<int> ids;
    for (const CommandInfo& info : CommandTable()) {
        if (info.kind == CommandKind::Separator) continue;
        EXPECT_TRUE(ids.insert(info.id).second) << "duplicate " << info.id;
        EXPECT_NE(info.prompt, nullptr) << info.id;
    }
    std::set<int> expected;
    for (const Expected& e : kExpected) expected.insert(e.id);
    EXPECT_EQ(ids, expected);
}

TEST(CommandTable, ToolbarSlotsLeftToRight) {
    const std::vector<int> expected = {57600, 57601, 57603, 0,     32814, 0,     32823,
                                       32842, 0,     32820, 32821, 32880, 0,     57664};
    EXPECT_EQ(ToolbarLayout(), expected);
    for (int id : ToolbarLayout()) {
        if (id == 0) continue;
        EXPECT_NE(FindCommand(id)->toolTip, nullptr) << id;
    }
}

TEST(CommandTable, AcceleratorsReachTheirCommands) {
    EXPECT_STREQ(FindCommand(cmd::kFileNew)->accelerator, "Ctrl+N");
    EXPECT_STREQ(FindCommand(cmd::kFileOpen)->accelerator, "Ctrl+O");
    EXPECT_STREQ(FindCommand(cmd::kFileSave)->accelerator, "Ctrl+S");
    EXPECT_STREQ(FindCommand(cmd::kCompare)->accelerator, "F5");
    EXPECT_STREQ(FindCommand(cmd::kCompare)->text, "Co&mpare with Transmitter\tF5");
    ASSERT_EQ(ExtraAccelerators().size(), 1u);
    EXPECT_STREQ(ExtraAccelerators()[0].keys, "Ctrl+R");
    EXPECT_EQ(ExtraAccelerators()[0].id, cmd::kRecvConfig);
    // Ctrl+R is not shown in the Receive item's text.
    EXPECT_STREQ(FindCommand(cmd::kRecvConfig)->text, "&Recv Config");
}

TEST(CommandTable, SeparatorsSplitTheSetupAndTransmitterMenus) {
    auto sequence = [](const char* menu) {
        std::string out;
        for (const CommandInfo& info : CommandTable()) {
            if (std::string(info.menu) != menu || info.kind == CommandKind::Unplaced) continue;
            out += info.kind == CommandKind::Separator ? "|" : std::to_string(info.id) + " ";
        }
        return out;
    };
    EXPECT_EQ(sequence("&Setup"),
              "32840 32852 |32808 32809 32810 32847 32850 |32846 |32820 32821 ");
    EXPECT_EQ(sequence("&Transmitter"),
              "32814 32813 |32853 |32817 32818 32819 32842 32849 |32845 |32880 ");
    EXPECT_EQ(sequence("&File"), "57600 57601 57603 57604 32881 |57616 |57665 ");
}

TEST(CommandTable, CommandsWithoutAMenuOfTheirOwnArePlaced) {
    EXPECT_STREQ(FindCommand(cmd::kLogIn)->menu, "&Maintenance");
    EXPECT_STREQ(FindCommand(cmd::kPrivileges)->menu, "&Maintenance");
    EXPECT_STREQ(FindCommand(cmd::kSecurityOnOff)->menu, "&Maintenance");
    EXPECT_EQ(FindCommand(cmd::kSecurityOnOff)->textId, 3103u);
    EXPECT_STREQ(FindCommand(cmd::kModuleInfo)->submenu, "De&vice Info");
}

TEST(CommandTable, FlowSetupAndTestCalculationHaveNoPlaceButKeepTheirEnabling) {
    for (int id : {cmd::kSetupFlow, cmd::kTestCalculation}) {
        ASSERT_NE(FindCommand(id), nullptr) << id;
        EXPECT_EQ(FindCommand(id)->kind, CommandKind::Unplaced) << id;
        EXPECT_EQ(FindCommand(id)->accelerator, nullptr) << id;
        for (int slot : ToolbarLayout()) EXPECT_NE(slot, id);
    }
    EXPECT_TRUE(IsCommandEnabled(cmd::kSetupFlow, app::kAccessNoTransmitter, true));
    EXPECT_FALSE(IsCommandEnabled(cmd::kSetupFlow, app::kAccessHigh, true));
    EXPECT_TRUE(IsCommandEnabled(cmd::kTestCalculation, app::kAccessMedium, true));
    EXPECT_FALSE(IsCommandEnabled(cmd::kTestCalculation, app::kAccessLow, true));
    EXPECT_STREQ(FindCommand(cmd::kSetupFlow)->prompt,
                 "Enter Compensated Flow parameters\nCompensated Flow ");
}

}  // namespace
