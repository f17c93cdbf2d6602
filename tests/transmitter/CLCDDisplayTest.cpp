#include "transmitter/CLCDDisplay.h"

#include <gtest/gtest.h>

#include "platform/CException.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CComm.h"
#include "transmitter/ModelTypes.h"

using namespace transmitter;

namespace {

TEST(CLCDDisplay, DefaultShowsAllItemsEveryThreeSeconds) {
    CComm comm;
    CLCDDisplay lcd(comm);
    EXPECT_EQ(lcd.Interval(), 3);
    EXPECT_EQ(lcd.Mask(), 15);
    EXPECT_EQ(lcd.Items(), (std::vector<uint16_t>{1, 2, 4, 8}));
}

TEST(CLCDDisplay, DocumentKeepsTheListOrderAndTheMaskFollows) {
    CComm comm;
    CLCDDisplay lcd(comm);
    lcd.Write({8, 1, 4}, 7, kAccessDocument);
    const auto settings = lcd.Read(kAccessDocument);
    EXPECT_EQ(settings.items, (std::vector<uint16_t>{8, 1, 4}));
    EXPECT_EQ(settings.interval, 7);
    EXPECT_EQ(lcd.Mask(), 13);
}

TEST(CLCDDisplay, EmptyListWritesMaskZero) {
    CComm comm;
    CLCDDisplay lcd(comm);
    lcd.Write({}, 3, kAccessDocument);
    EXPECT_EQ(lcd.Mask(), 0);
    EXPECT_TRUE(lcd.Items().empty());
}

TEST(CLCDDisplay, RepeatedItemIsListedOnce) {
    CComm comm;
    CLCDDisplay lcd(comm);
    lcd.Write({2, 2, 1}, 3, kAccessDocument);
    EXPECT_EQ(lcd.Items(), (std::vector<uint16_t>{2, 1}));
}

TEST(CLCDDisplay, MaskRebuildsTheListInCanonicalOrder) {
    CComm comm;
    CLCDDisplay lcd(comm);
    lcd.Write({8, 1}, 3, kAccessDocument);
    lcd.SetMask(lcd.Mask());
    EXPECT_EQ(lcd.Items(), (std::vector<uint16_t>{1, 8}));
    // Bits that name no item are dropped, so the mask stays the OR of the list.
    lcd.SetMask(0x36);
    EXPECT_EQ(lcd.Items(), (std::vector<uint16_t>{2, 4}));
    EXPECT_EQ(lcd.Mask(), 6);
}

TEST(CLCDDisplay, ItemNames) {
    CScriptedUi ui;
    EXPECT_EQ(CLCDDisplay::ItemName(1), "Differential Pressure");
    EXPECT_EQ(CLCDDisplay::ItemName(2), "Static Pressure");
    EXPECT_EQ(CLCDDisplay::ItemName(4), "Process Temperature");
    EXPECT_EQ(CLCDDisplay::ItemName(8), "Communication Setup");
}

TEST(CLCDDisplay, UnknownItemShowsFailureAndAbandons) {
    CScriptedUi ui;
    ui.Expect("Operation could not be completed!");
    EXPECT_THROW(CLCDDisplay::ItemName(3), CUserException);

    CComm comm;
    CLCDDisplay lcd(comm);
    ui.Expect("Operation could not be completed!");
    EXPECT_THROW(lcd.Write({1, 16}, 3, kAccessDocument), CUserException);
    EXPECT_EQ(lcd.Mask(), 15);
}

}  // namespace
