#pragma once

#include <cstdint>
#include <exception>
#include <map>
#include <string>

// Communication error numbers that the code raises by name.
namespace commerr {
constexpr int32_t kUnknown = 0;
constexpr int32_t kLinkFailure = 1;
constexpr int32_t kChecksum = 4;
constexpr int32_t kOffline = 6;
constexpr int32_t kDriverInit = 7;
constexpr int32_t kNotCorvel = 9;
constexpr int32_t kInvalidUnits = 16;
constexpr int32_t kInvalidVariable = 17;
constexpr int32_t kDampingNearest = 24;
constexpr int32_t kInvalidEmsSlot = 45;
constexpr int32_t kWrongDevice = 56;
constexpr int32_t kNoResponse = 57;
constexpr int32_t kShortResponse = 58;
constexpr int32_t kIllegalFunction = 59;
constexpr int32_t kIllegalAddress = 60;
constexpr int32_t kIllegalValue = 61;
constexpr int32_t kFloatFormatUnsupported = 67;
constexpr int32_t kIntegerScalingUnsupported = 68;
constexpr int32_t kDataFormatsUnsupported = 69;
constexpr int32_t kDpLimitsRejected = 70;
constexpr int32_t kSpLimitsRejected = 71;
constexpr int32_t kPtLimitsRejected = 72;
}  // namespace commerr

namespace deverr {
constexpr int32_t kUnknown = 0;
constexpr int32_t kInvalidDate = 1;
constexpr int32_t kUndefined = 2;
}  // namespace deverr

[[noreturn]] void RaiseCommError(int32_t error);
[[noreturn]] void RaiseDeviceError(int32_t error);

// Text number for a communication or device error number (326 when unknown).
unsigned CommErrorMessageId(int32_t error);
unsigned DeviceErrorMessageId(int32_t error);

// Text number for any failure; 0 for the silent user cancel.
unsigned MessageFor(const std::exception& e);

// The text shown for any failure: its numbered text, or the failure's own words
// where it carries them (a port that has gone); empty for the silent user cancel.
std::string MessageText(const std::exception& e);

// Shows the failure's text with the stop icon through the user-interface
// services; shows nothing for a user cancel. Never throws.
void ReportException(const std::exception& e);

// Maps the outcome of a legacy command request (transport result and response
// code) onto the error it raises; returns without raising when there is none.
// `subCodes` maps the command's own sub-codes (transport result 9) to errors.
void CheckLegacyReply(int32_t transportResult, uint8_t responseCode,
                      const std::map<int, int32_t>& subCodes);
