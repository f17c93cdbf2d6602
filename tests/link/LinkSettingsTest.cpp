#include "link/LinkSettings.h"

#include <gtest/gtest.h>

#include "link/CCommLink.h"
#include "platform/CMemorySettingsStore.h"
#include "tests/support/CFakeSerialPort.h"

using namespace settingskeys;

TEST(LinkSettings, EmptyStoreGivesTheDefaults) {
    CMemorySettingsStore store;
    const PortSettings port = ReadPortSettings(store);
    EXPECT_EQ(port.port, 1);
    EXPECT_EQ(port.bitRate, 9600);
    EXPECT_EQ(port.ctsDelay, 25);
    EXPECT_TRUE(port.ctsEnabled);
    EXPECT_TRUE(port.devicePath.empty());
    const LinkScheduling s = ReadLinkScheduling(store);
    EXPECT_EQ(s.manufacturerId, 38);
    EXPECT_EQ(s.transmitterId, 31);
    EXPECT_EQ(s.retries, 3u);
    EXPECT_EQ(s.extraCommandTime, 0u);
    EXPECT_EQ(s.interpollDelay, 0u);
    EXPECT_EQ(s.pollInterval, 2000u);
    EXPECT_EQ(s.replyTimeout, 0u);
}

TEST(LinkSettings, OnlyUpperCaseTrueSwitchesCtsOn) {
    CMemorySettingsStore store;
    for (const char* text : {"true", "True", "1", "TRUE ", "", "FALSE"}) {
        store.WriteString(kCommPort, kCtsEnabled, text);
        EXPECT_FALSE(ReadPortSettings(store).ctsEnabled) << '"' << text << '"';
    }
    store.WriteString(kCommPort, kCtsEnabled, "TRUE");
    EXPECT_TRUE(ReadPortSettings(store).ctsEnabled);
}

TEST(LinkSettings, DecimalTextsTakeTheirLeadingDigits) {
    EXPECT_EQ(ParseSettingNumber("25"), 25u);
    EXPECT_EQ(ParseSettingNumber("250ms"), 250u);
    EXPECT_EQ(ParseSettingNumber("  40"), 40u);
    EXPECT_EQ(ParseSettingNumber("abc"), 0u);
    EXPECT_EQ(ParseSettingNumber(""), 0u);
    EXPECT_EQ(ParseSettingNumber("-5"), 0u);
    EXPECT_EQ(ParseSettingNumber("99999999999"), 0xFFFFFFFFu);
    CMemorySettingsStore store;
    store.WriteString(kCommPort, kBitRate, "19200 bps");
    store.WriteString(kCommPort, kCtsDelay, "x");
    store.WriteString(kLinkScheduling, kReplyTimeout, "750");
    store.WriteString(kLinkScheduling, kBusyDelay, "1200");
    store.WriteString(kLinkScheduling, kInterpollDelay, "5");
    store.WriteString(kLinkScheduling, kPollInterval, "500");
    store.WriteInt(kLinkScheduling, kRetries, 0);
    store.WriteInt(kGeneral, kManufacturerId, 40);
    store.WriteInt(kGeneral, kTransmitterId, 7);
    EXPECT_EQ(ReadPortSettings(store).bitRate, 19200);
    EXPECT_EQ(ReadPortSettings(store).ctsDelay, 0);
    const LinkScheduling s = ReadLinkScheduling(store);
    EXPECT_EQ(s.replyTimeout, 750u);
    EXPECT_EQ(s.extraCommandTime, 1200u);
    EXPECT_EQ(s.interpollDelay, 5u);
    EXPECT_EQ(s.pollInterval, 500u);
    EXPECT_EQ(s.retries, 0u);
    EXPECT_EQ(s.manufacturerId, 40);
    EXPECT_EQ(s.transmitterId, 7);
}

TEST(LinkSettings, PortOutsideTheOfferedOnesTakesComFour) {
    CMemorySettingsStore store;
    for (int port : {0, 5, -1, 99}) {
        store.WriteInt(kCommPort, kPortNumber, port);
        EXPECT_EQ(ReadPortSettings(store).port, 4) << port;
    }
    store.WriteInt(kCommPort, kPortNumber, 2);
    EXPECT_EQ(ReadPortSettings(store).port, 2);
}

TEST(LinkSettings, DevicePathNamesTheDevice) {
    CMemorySettingsStore store;
    store.WriteString(kCommPort, kDevicePath, "/dev/serial/by-id/usb-rs485");
    EXPECT_EQ(ReadPortSettings(store).devicePath, "/dev/serial/by-id/usb-rs485");
}

TEST(LinkSettings, LoadingAppliesThemAndReopensOnlyOnChange) {
    auto record = std::make_shared<CFakeSerialPort::Record>();
    CProtocol protocol(CFakeSerialPort::Factory(record, {}));
    CMemorySettingsStore store;
    store.WriteString(kCommPort, kDevicePath, "/dev/fake");
    store.WriteString(kCommPort, kBitRate, "19200");
    store.WriteString(kLinkScheduling, kRetries, "1");
    LoadLinkScheduling(store, protocol);
    EXPECT_EQ(protocol.Scheduling().retries, 1u);
    EXPECT_EQ(LoadPortSettings(store, protocol), 0);
    EXPECT_EQ(record->opens, 1);
    EXPECT_EQ(protocol.Link()->BitRate(), 19200);
    EXPECT_EQ(protocol.Link()->CtsDelay(), 25);
    EXPECT_TRUE(protocol.Link()->CtsEnabled());
    // Loading the same values again (confirming the dialog unchanged) keeps the port.
    EXPECT_EQ(LoadPortSettings(store, protocol), 0);
    EXPECT_EQ(record->opens, 1);
    store.WriteString(kCommPort, kCtsDelay, "30");
    EXPECT_EQ(LoadPortSettings(store, protocol), 0);
    EXPECT_EQ(record->opens, 2);
}

TEST(LinkSettings, LoadingReportsAPortThatCannotBeOpened) {
    auto record = std::make_shared<CFakeSerialPort::Record>();
    CProtocol protocol(
        CFakeSerialPort::Factory(record, {}, [](CFakeSerialPort& p) { p.SetOpenError(ENOENT); }));
    CMemorySettingsStore store;
    store.WriteString(kCommPort, kDevicePath, "/dev/absent");
    EXPECT_EQ(LoadPortSettings(store, protocol), ENOENT);
    EXPECT_FALSE(protocol.Link()->IsOpen());
}
