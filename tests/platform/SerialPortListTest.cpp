#include "platform/SerialPortList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/CScratchFolder.h"

namespace fs = std::filesystem;

namespace {

// A folder laid out like /dev with two USB adapters, one of them named in
// by-id, a modem-class device and the things that are not serial ports.
class FakeDevices {
  public:
    FakeDevices() {
        fs::create_directories(Dev() / "serial" / "by-id");
        for (const char* name : {"ttyUSB0", "ttyUSB1", "ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0",
                                 "null", "ttyUSBfoo"}) {
            std::ofstream(Dev() / name).put('\0');
        }
        fs::create_symlink("../../ttyUSB0",
                           Dev() / "serial" / "by-id" / "usb-FTDI_FT232R_A1B2C3-if00-port0");
        fs::create_symlink("../../ttyACM0", Dev() / "serial" / "by-id" / "usb-Acme_Cdc_77-if00");
    }
    fs::path Dev() const { return folder.Path() / "dev"; }
    std::string Root() const { return folder.Path().string(); }

    CScratchFolder folder;
};

std::vector<std::string> Labels(const std::vector<SerialPortChoice>& list) {
    std::vector<std::string> labels;
    for (const SerialPortChoice& choice : list) labels.push_back(choice.label);
    return labels;
}

}  // namespace

TEST(SerialPortList, ComPortsFirstThenByIdNamesThenDevicesNotYetListed) {
    FakeDevices devices;
    const std::vector<SerialPortChoice> list = platform::ListSerialPorts(devices.Root());
    const std::vector<std::string> expected = {
        "COM1", "COM2", "COM3", "COM4", "usb-Acme_Cdc_77-if00", "usb-FTDI_FT232R_A1B2C3-if00-port0",
        // ttyUSB0 and ttyACM0 are already listed under their by-id names.
        "ttyUSB1", "ttyUSB2", "ttyUSB10", "ttyUSBfoo"};
    EXPECT_EQ(Labels(list), expected);
}

TEST(SerialPortList, EachEntryNamesWhatItStoresAndTheDeviceItOpens) {
    FakeDevices devices;
    const std::vector<SerialPortChoice> list = platform::ListSerialPorts(devices.Root());
    ASSERT_GE(list.size(), 7u);
    EXPECT_EQ(list[1].comPort, 2u);
    EXPECT_EQ(list[1].devicePath, "");
    EXPECT_EQ(list[1].resolvesTo, "/dev/ttyS1");

    const SerialPortChoice& ftdi = list[5];
    EXPECT_EQ(ftdi.comPort, 0u);
    EXPECT_EQ(ftdi.devicePath,
              (devices.Dev() / "serial" / "by-id" / "usb-FTDI_FT232R_A1B2C3-if00-port0").string());
    EXPECT_EQ(ftdi.resolvesTo, fs::canonical(devices.Dev() / "ttyUSB0").string());

    EXPECT_EQ(list[6].devicePath, (devices.Dev() / "ttyUSB1").string());
    EXPECT_EQ(list[6].resolvesTo, fs::canonical(devices.Dev() / "ttyUSB1").string());
}

TEST(SerialPortList, WithoutDeviceFoldersOnlyTheComPorts) {
    CScratchFolder empty;
    const std::vector<std::string> expected = {"COM1", "COM2", "COM3", "COM4"};
    EXPECT_EQ(Labels(platform::ListSerialPorts(empty.Path().string())), expected);
}

TEST(SerialPortList, ADanglingByIdNameIsListedAsItIs) {
    FakeDevices devices;
    fs::create_symlink("../../ttyUSB9", devices.Dev() / "serial" / "by-id" / "usb-gone");
    const std::vector<SerialPortChoice> list = platform::ListSerialPorts(devices.Root());
    const auto gone = std::find_if(list.begin(), list.end(),
                                   [](const SerialPortChoice& c) { return c.label == "usb-gone"; });
    ASSERT_NE(gone, list.end());
    EXPECT_EQ(gone->resolvesTo, gone->devicePath);
}
