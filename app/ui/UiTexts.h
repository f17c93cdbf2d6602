#pragma once

// Unnumbered texts of the windows.
namespace uitexts {

inline constexpr const char* kAppTitle = "Corvel Configurator User Interface";
inline constexpr const char* kSettingsRoot = "Kelmarsh";
inline constexpr const char* kUntitled = "Untitled";
inline constexpr const char* kFileFilter = "Corvel CUI Config (*.cmm)";
inline constexpr const char* kDefaultExtension = "cmm";
inline constexpr const char* kReady = "Ready";
inline constexpr const char* kSaveChanges = "Save changes to %1?";

inline constexpr const char* kStartupText = "Initializing... Connecting on COM%d at %s bps";
inline constexpr const char* kStartupTextPath = "Initializing... Connecting on %s at %s bps";

inline constexpr const char* kTagPrefix = "Tag: ";
inline constexpr const char* kTagSizing = "Tag: FT-123456";
inline constexpr const char* kSecuritySizing = "Security: Disabled";
inline constexpr const char* kCommSizing = "COMM: No Xmtr";
inline constexpr const char* kCommIdle = "COMM: Idle";
inline constexpr const char* kCommBusy = "COMM: Busy";
inline constexpr const char* kCommNoXmtr = "COMM: No Xmtr";

inline constexpr const char* kVersionPrefix = "Version ";

inline constexpr const char* kIntegerRange = "Please enter an integer between %1 and %2.";

}  // namespace uitexts
