#pragma once

#include "resources/Texts.h"

// The texts of the windows: the shared named texts under the names the windows
// use, and the few that only the windows need.
namespace uitexts {

inline constexpr const char* kAppTitle = texts::kAppTitle;
inline constexpr const char* kSettingsRoot = texts::kSettingsRoot;
inline constexpr const char* kUntitled = texts::kDefaultDocumentName;
inline constexpr const char* kFileFilter = "Corvel CUI Config (*.cmm)";
inline constexpr const char* kDefaultExtension = "cmm";
inline constexpr const char* kReady = texts::kStatusReady;
inline constexpr const char* kSaveChanges = texts::kSaveChanges;

inline constexpr const char* kStartupText = texts::kStartupStatus;
// The device path stands where the port name stands.
inline constexpr const char* kStartupTextPath = "Initializing... Connecting on %s at %s bps";

inline constexpr const char* kTagPrefix = texts::kTagPanePrefix;
inline constexpr const char* kTagSizing = texts::kTagPaneSizing;
inline constexpr const char* kSecuritySizing = texts::kSecurityPaneSizing;
inline constexpr const char* kCommSizing = texts::kCommNoXmtr;
inline constexpr const char* kCommIdle = texts::kCommIdle;
inline constexpr const char* kCommBusy = texts::kCommBusy;
inline constexpr const char* kCommNoXmtr = texts::kCommNoXmtr;

inline constexpr const char* kVersionPrefix = texts::kVersionPrefix;

inline constexpr const char* kIntegerRange = texts::kEnterIntegerBetween;

}  // namespace uitexts
