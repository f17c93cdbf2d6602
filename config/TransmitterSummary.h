#pragma once

#include "config/CConfigSummary.h"

class CComm;

namespace config {

// Reads the connected transmitter's configuration into a scratch model through
// the same model operations a Receive uses (transmitter parameters, DP, SP, PT,
// device information, LCD) and summarises it, with the range limits the
// transmitter reports. The document's model is not touched and only read
// requests go on the line. The cached register groups are read afresh, so the
// summary shows what the transmitter holds now. Failures are thrown.
CConfigSummary ReadTransmitterSummary(CComm& comm);

}  // namespace config
