#pragma once

#include <string>

struct WorkflowContext;

// Says which transmitter the program is talking to, for the status bar and the
// Tag pane's tool tip: its tag, polling address, port and bit rate.
namespace app {

// "Connected to FT-101 at address 3 on /dev/ttyUSB0, 9600 bit/s"; a COMn port
// is named with its device ("COM2 (/dev/ttyS1)"). Empty while no transmitter
// is connected.
std::string ConnectedText(WorkflowContext& context);

// After a change of polling address: "Moved FT-101 from address 3 to address 4
// on /dev/ttyUSB0, 9600 bit/s". Empty while no transmitter is connected.
std::string AddressMovedText(WorkflowContext& context, int oldAddress);

}  // namespace app
