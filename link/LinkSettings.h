#pragma once

#include <cstdint>
#include <string>

#include "link/CProtocol.h"
#include "platform/ISettingsStore.h"

// Sections and keys of the link settings in the per-user settings store.
namespace settingskeys {
inline constexpr const char* kCommPort = "Comm Port";
inline constexpr const char* kPortNumber = "PortNumber";
inline constexpr const char* kBitRate = "BitRate";
inline constexpr const char* kCtsDelay = "CtsDelay";
inline constexpr const char* kCtsEnabled = "CtsEnabled";
inline constexpr const char* kDevicePath = "DevicePath";
inline constexpr const char* kGeneral = "General";
inline constexpr const char* kManufacturerId = "ManufacturerId";
inline constexpr const char* kTransmitterId = "TransmitterId";
inline constexpr const char* kTransmitterType = "TransmitterType";
inline constexpr const char* kProtocolRev = "ProtocolRev";
inline constexpr const char* kLinkScheduling = "Link Scheduling";
inline constexpr const char* kRetries = "Retries";
inline constexpr const char* kBusyDelay = "BusyDelay";
inline constexpr const char* kInterpollDelay = "InterpollDelay";
inline constexpr const char* kPollInterval = "PollInterval";
inline constexpr const char* kReplyTimeout = "ReplyTimeout";
}  // namespace settingskeys

// The plain decimal parse of a stored text: leading digits (after blanks), none
// gives 0; a value too large for 32 bits gives the largest one.
uint32_t ParseSettingNumber(const std::string& text);

// "PortNumber" outside 1..4 is not used: the link then takes COM4, the port the
// settings dialog shows selected for such a value. A non-empty "DevicePath"
// names the device instead of COMn.
PortSettings ReadPortSettings(const ISettingsStore& store);
LinkScheduling ReadLinkScheduling(const ISettingsStore& store);

// Applies the port settings to the protocol; returns what SetPortSettings returned.
int32_t LoadPortSettings(const ISettingsStore& store, CProtocol& protocol);
void LoadLinkScheduling(const ISettingsStore& store, CProtocol& protocol);
// Hands the stored settings to a protocol whose link is open, or closed by an
// open that failed: port settings first, then the request timing, and opens the
// port when it is not open. True when the port is open afterwards; a port that
// cannot be opened has been reported by the link. Any other link is left alone.
bool ReloadLinkSettings(const ISettingsStore& store, CProtocol& protocol);
