#include "app/CSecurity.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CComm.h"

namespace {

using Slot = CSecurity::Slot;

uint8_t XorOfFirstSeven(const Slot& slot) {
    uint8_t x = 0;
    for (size_t i = 0; i < 7; ++i) x ^= slot[i];
    return x;
}

// A transmitter's 64-byte security image behind the password-entry requests.
struct SecurityImageDevice {
    CSecurity::Image image{};
    std::vector<int> writtenSlots;

    void Install(CComm& comm) {
        comm.SetLegacyTransport([this](int command, const std::vector<uint8_t>& request,
                                       std::vector<uint8_t>& reply) -> int32_t {
            const uint8_t index = request.at(0);
            if (command == 163) {
                reply.at(2) = index;
                std::copy(image.at(index).begin(), image.at(index).end(), reply.begin() + 3);
            } else if (command == 164) {
                std::copy(request.begin() + 1, request.begin() + 9, image.at(index).begin());
                writtenSlots.push_back(index);
            }
            return 0;
        });
    }

    // Fills the image as a transmitter with security on and these passwords.
    void Configure(CSecurity& builder, bool enabled, const std::string& admin,
                   const std::vector<std::string>& medium) {
        image[0] = builder.BuildStateSlot(enabled);
        image[1] = CSecurity::MaskPassword(admin);
        for (size_t i = 0; i < 6; ++i) {
            image[2 + i] = CSecurity::MaskPassword(i < medium.size() ? medium[i] : "");
        }
    }
};

const AccessContext kConnectedWithFlow{true, true, true};

}  // namespace

TEST(CSecurityImage, StateSlotOfEnabledTransmitterHasByte7OneAboveXor) {
    // Several seeds, so that the wrap of 0xFF + 1 to 0 is reached too.
    bool sawWrap = false;
    for (uint32_t seed = 0; seed < 2000; ++seed) {
        CSecurity security(seed);
        const Slot on = security.BuildStateSlot(true);
        ASSERT_EQ(on[7], static_cast<uint8_t>(XorOfFirstSeven(on) + 1)) << "seed " << seed;
        EXPECT_TRUE(CSecurity::StateSlotEnabled(on));
        if (XorOfFirstSeven(on) == 0xFF) sawWrap = true;
        const Slot off = security.BuildStateSlot(false);
        ASSERT_EQ(off[7], XorOfFirstSeven(off));
        EXPECT_FALSE(CSecurity::StateSlotEnabled(off));
    }
    EXPECT_TRUE(sawWrap);
}

TEST(CSecurityImage, StateSlotsDifferFromOneWriteToTheNext) {
    CSecurity security(42);
    EXPECT_NE(security.BuildStateSlot(true), security.BuildStateSlot(true));
}

TEST(CSecurityImage, PasswordSlotsAreMaskedAndReadBack) {
    const Slot masked = CSecurity::MaskPassword("ADMIN");
    EXPECT_NE(masked[0], 'A');
    for (size_t i = 5; i < 8; ++i) EXPECT_NE(masked[i], 0) << "padding must be masked too";
    EXPECT_EQ(CSecurity::UnmaskPassword(masked), "ADMIN");
    EXPECT_EQ(CSecurity::UnmaskPassword(CSecurity::MaskPassword("")), "");
    EXPECT_EQ(CSecurity::UnmaskPassword(CSecurity::MaskPassword("12345678")), "12345678");
}

TEST(CSecurityImage, LongPasswordsAreCutAtEightCharacters) {
    EXPECT_EQ(CSecurity::MaskPassword("ABCDEFGHIJ"), CSecurity::MaskPassword("ABCDEFGH"));
    EXPECT_EQ(CSecurity::UnmaskPassword(CSecurity::MaskPassword("ABCDEFGHIJ")), "ABCDEFGH");
}

TEST(CSecurityImage, SlotWithZeroFirstByteIsNotUnmasked) {
    EXPECT_EQ(CSecurity::UnmaskPassword(Slot{}), "");
    const Slot plain{0, 'X', 'Y', 0, 0, 0, 0, 0};
    EXPECT_EQ(CSecurity::UnmaskPassword(plain), "");
}

TEST(CSecurityImage, NoPrintablePasswordMasksToALeadingZero) {
    // A masked slot that started with zero would read back as unmasked.
    for (int c = 0x20; c < 0x7F; ++c) {
        EXPECT_NE(CSecurity::MaskPassword(std::string(1, static_cast<char>(c)))[0], 0) << c;
    }
}

TEST(CSecurityImage, ImageHoldsStateAdministrativeThenMediumPasswords) {
    SecurityImageDevice device;
    CComm comm;
    device.Install(comm);
    CSecurity writer(7);
    device.Configure(writer, true, "BOSS", {"M1", "M2", "M3", "M4", "M5", "M6"});
    CSecurity security(1);
    security.ReadAll(comm);
    EXPECT_TRUE(security.Enabled());
    EXPECT_EQ(security.AdministrativePassword(), "BOSS");
    for (int i = 0; i < 6; ++i) EXPECT_EQ(security.Password(2 + i), "M" + std::to_string(i + 1));

    const CSecurity::Image image = security.BuildImage(false);
    EXPECT_FALSE(CSecurity::StateSlotEnabled(image[0]));
    EXPECT_EQ(image[1], CSecurity::MaskPassword("BOSS"));
    EXPECT_EQ(image[7], CSecurity::MaskPassword("M6"));
}

TEST(CSecurityTransport, InertTransportReadsSecurityOffAndEmptyPasswords) {
    CComm comm;
    CSecurity security(3);
    ASSERT_TRUE(security.Enabled());
    security.ReadAll(comm);
    EXPECT_FALSE(security.Enabled());
    EXPECT_EQ(security.AdministrativePassword(), "");
    EXPECT_EQ(security.CurrentAccessState(kConnectedWithFlow), app::kAccessDisabled);
    EXPECT_EQ(security.CurrentAccessState({true, true, false}), app::kAccessNonEms);
    EXPECT_EQ(security.CurrentAccessState({false, true, true}), app::kAccessNoTransmitter);
    EXPECT_EQ(security.CurrentAccessState({true, false, true}), app::kAccessNoTransmitter);
}

TEST(CSecurityTransport, WriteOneSendsOnlyThatSlotMasked) {
    SecurityImageDevice device;
    CComm comm;
    device.Install(comm);
    CSecurity security(5);
    security.WriteOne(comm, 4, "NEWPASS9");
    ASSERT_EQ(device.writtenSlots, std::vector<int>{4});
    EXPECT_EQ(device.image[4], CSecurity::MaskPassword("NEWPASS9"));
    EXPECT_EQ(security.Password(4), "NEWPASS9");
    security.WriteOne(comm, 1, "TOP");
    EXPECT_EQ(security.AdministrativePassword(), "TOP");
}

TEST(CSecurityTransport, PasswordNumbersOutsideOneToSevenAreRefusedBeforeAnyRequest) {
    SecurityImageDevice device;
    CComm comm;
    device.Install(comm);
    CSecurity security(5);
    for (int number : {0, 8, -1}) {
        try {
            security.WriteOne(comm, number, "X");
            ADD_FAILURE() << "number " << number << " accepted";
        } catch (const CCommException& e) {
            EXPECT_EQ(e.Error(), 61);
        }
    }
    EXPECT_TRUE(device.writtenSlots.empty());
}

TEST(CSecurityTransport, WriteAllSendsEightSlotsWithTheHeldState) {
    SecurityImageDevice device;
    CComm comm;
    device.Install(comm);
    CSecurity writer(9);
    device.Configure(writer, true, "A", {"B"});
    CSecurity security(10);
    security.ReadAll(comm);
    device.writtenSlots.clear();
    security.WriteAll(comm);
    EXPECT_EQ(device.writtenSlots, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(CSecurity::StateSlotEnabled(device.image[0]));
    EXPECT_EQ(CSecurity::UnmaskPassword(device.image[2]), "B");
}

class CSecurityLogIn : public ::testing::Test {
  protected:
    void SetUp() override {
        device.Install(comm);
        CSecurity writer(11);
        device.Configure(writer, true, "ADMIN", {"FLOW1", "FLOW2", "FLOW3", "FLOW4", "FLOW5", ""});
        security.ReadAll(comm);
    }
    SecurityImageDevice device;
    CComm comm;
    CSecurity security{12};
};

TEST_F(CSecurityLogIn, AdministrativePasswordGivesHighAndMediumGivesMedium) {
    CScriptedUi ui;
    EXPECT_EQ(security.LogIn(kConnectedWithFlow, "ADMIN"), app::kAccessHigh);
    EXPECT_EQ(security.CurrentAccessState(kConnectedWithFlow), app::kAccessHigh);
    EXPECT_EQ(security.LogIn(kConnectedWithFlow, "FLOW3"), app::kAccessMedium);
    EXPECT_EQ(security.CurrentAccessState(kConnectedWithFlow), app::kAccessMedium);
}

TEST_F(CSecurityLogIn, WrongPasswordGivesLowAndSaysSo) {
    CScriptedUi ui;
    ui.ExpectWithIcon(LoadString(3101), MsgIcon::Stop);
    EXPECT_EQ(security.LogIn(kConnectedWithFlow, "GUESS"), app::kAccessLow);
    EXPECT_EQ(security.CurrentAccessState(kConnectedWithFlow), app::kAccessLow);
}

TEST_F(CSecurityLogIn, EmptyTextIsNoMediumPasswordEvenWhereASlotIsUnset) {
    // Medium password 6 is unset: clearing a password must not open the level.
    CScriptedUi ui;
    ui.ExpectWithIcon(LoadString(3101), MsgIcon::Stop);
    EXPECT_EQ(security.LogIn(kConnectedWithFlow, ""), app::kAccessLow);
}

TEST_F(CSecurityLogIn, AnEmptyAdministrativePasswordIsMatchedByTheEmptyText) {
    // Otherwise a transmitter without one could never be administered.
    CScriptedUi ui;
    CSecurity writer(13);
    device.Configure(writer, true, "", {"FLOW1"});
    security.ReadAll(comm);
    EXPECT_EQ(security.LogIn(kConnectedWithFlow, ""), app::kAccessHigh);
}

TEST_F(CSecurityLogIn, WithoutTransmitterOrFlowTheLogInGivesTheDerivedState) {
    CScriptedUi ui;
    EXPECT_EQ(security.LogIn({false, true, true}, "ADMIN"), app::kAccessNoTransmitter);
    EXPECT_EQ(security.LogIn({true, true, false}, "ADMIN"), app::kAccessNonEms);
}

TEST_F(CSecurityLogIn, SecurityOnWithoutLogInIsLowNotNoTransmitter) {
    // The level stored while disconnected must not survive into a connection.
    EXPECT_EQ(security.CurrentAccessState({false, true, true}), app::kAccessNoTransmitter);
    EXPECT_EQ(security.CurrentAccessState(kConnectedWithFlow), app::kAccessLow);
}

TEST_F(CSecurityLogIn, DisablingWritesAFreshStateSlotAndUpdatesTheMenu) {
    CScriptedUi ui;
    std::vector<std::string> menuTexts;
    security.SetMenuTextCallback([&](const std::string& text) { menuTexts.push_back(text); });
    security.LogIn(kConnectedWithFlow, "ADMIN");
    device.writtenSlots.clear();

    ui.ExpectWithIcon(LoadString(3104), MsgIcon::Exclamation, MsgAnswer::Cancel);
    security.ToggleSecurity(comm, kConnectedWithFlow);
    EXPECT_TRUE(device.writtenSlots.empty());
    EXPECT_TRUE(security.Enabled());

    ui.ExpectWithIcon(LoadString(3104), MsgIcon::Exclamation, MsgAnswer::Ok);
    security.ToggleSecurity(comm, kConnectedWithFlow);
    EXPECT_EQ(device.writtenSlots, std::vector<int>{0});
    EXPECT_FALSE(CSecurity::StateSlotEnabled(device.image[0]));
    EXPECT_FALSE(security.Enabled());
    ASSERT_FALSE(menuTexts.empty());
    EXPECT_EQ(menuTexts.back(), LoadString(3102));
    EXPECT_EQ(security.CurrentAccessState(kConnectedWithFlow), app::kAccessDisabled);
}

TEST_F(CSecurityLogIn, EnablingNeedsTheAdministrativePassword) {
    CScriptedUi ui;
    std::string menuText;
    security.SetMenuTextCallback([&](const std::string& text) { menuText = text; });
    ui.Expect(LoadString(3104), MsgAnswer::Ok);
    security.ToggleSecurity(comm, kConnectedWithFlow);
    device.writtenSlots.clear();

    ui.Expect(LoadString(3105), MsgAnswer::Ok).ExpectPassword("FLOW1");
    ui.ExpectWithIcon(LoadString(3100), MsgIcon::Stop);
    security.ToggleSecurity(comm, kConnectedWithFlow);
    EXPECT_TRUE(device.writtenSlots.empty());
    EXPECT_FALSE(security.Enabled());

    ui.Expect(LoadString(3105), MsgAnswer::Ok).ExpectPassword(std::nullopt);
    security.ToggleSecurity(comm, kConnectedWithFlow);
    EXPECT_TRUE(device.writtenSlots.empty());

    ui.Expect(LoadString(3105), MsgAnswer::Ok).ExpectPassword("ADMIN");
    security.ToggleSecurity(comm, kConnectedWithFlow);
    EXPECT_EQ(device.writtenSlots, std::vector<int>{0});
    EXPECT_TRUE(CSecurity::StateSlotEnabled(device.image[0]));
    EXPECT_EQ(menuText, LoadString(3103));
    EXPECT_EQ(security.CurrentAccessState(kConnectedWithFlow), app::kAccessHigh);
}

TEST_F(CSecurityLogIn, AFailedStateWriteIsShownAndChangesNothing) {
    CScriptedUi ui;
    comm.SetLegacyTransport([](int, const std::vector<uint8_t>&, std::vector<uint8_t>&) {
        return 23;  // transmitter offline
    });
    ui.Expect(LoadString(3104), MsgAnswer::Ok);
    ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kOffline)), MsgIcon::Stop);
    security.ToggleSecurity(comm, kConnectedWithFlow);
    EXPECT_TRUE(security.Enabled());
}
