#pragma once

#include <string>
#include <vector>

// One entry of the port list of the host communication settings: COM1..COM4,
// then every serial device present.
struct SerialPortChoice {
    std::string label;       // what the list shows: "COM2", a by-id name, "ttyUSB0"
    unsigned comPort = 0;    // 1..4 for COMn; 0 for a device
    std::string devicePath;  // the path stored as DevicePath; empty for COMn
    std::string resolvesTo;  // the device the link opens for this entry
};

namespace platform {
// COM1..COM4, then /dev/serial/by-id/* by their by-id names (sorted), then the
// /dev/ttyUSB* and /dev/ttyACM* devices that no by-id name already points at
// (in number order). `root` is put before every path searched, so a test can
// hand in a folder laid out like /dev; the real system uses "".
std::vector<SerialPortChoice> ListSerialPorts(const std::string& root = std::string());
}  // namespace platform
