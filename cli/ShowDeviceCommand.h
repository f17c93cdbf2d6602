#pragma once

#include <iosfwd>

class CTransmitter;

namespace cli {

// show-device: reads every area of the configuration from the connected
// transmitter (identity, device information, the three variables, data formats,
// communication parameters, LCD, status, fixed process temperature) and prints
// it as readable text or, with `json`, as one JSON object whose keys do not
// change between versions. Areas the device does not support are printed as
// "not supported" (null in JSON). Returns 0, or 1 after a failure has been
// reported through the user-interface services (nothing is printed then).
int ShowDevice(CTransmitter& model, std::ostream& out, bool json);

}  // namespace cli
