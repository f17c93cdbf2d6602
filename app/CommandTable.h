#pragma once

#include <cstdint>
#include <vector>

#include "app/CSecurity.h"

// The program's commands as data: where each one sits in the menus, its
// accelerator, status-bar prompt and tool tip, and the access states in which it
// is enabled. The window code builds its menus and toolbar from this table and
// asks IsCommandEnabled at every idle update.

namespace cmd {
constexpr int kFileNew = 57600;
constexpr int kFileOpen = 57601;
constexpr int kFileSave = 57603;
constexpr int kFileSaveAs = 57604;
constexpr int kExportReport = 32881;  // the commissioning report as PDF
constexpr int kFileMru1 = 57616;  // recent files: kFileMru1 .. kFileMru1 + kMruCount - 1
constexpr int kMruCount = 4;
constexpr int kAppExit = 57665;
constexpr int kAppAbout = 57664;
constexpr int kViewToolbar = 59392;
constexpr int kViewStatusBar = 59393;
constexpr int kViewChangeLog = 32901;

constexpr int kHostComm = 32840;
constexpr int kSetupXmtrComm = 32852;
constexpr int kSetupUnits = 32808;
constexpr int kSetupDamping = 32809;
constexpr int kSetupDeviceInfo = 32810;
constexpr int kSetupSensorLimits = 32847;
constexpr int kSetupDataFormats = 32850;
constexpr int kSetupLcdDisplay = 32846;
constexpr int kSetupFlow = 32811;
constexpr int kSendConfig = 32820;
constexpr int kRecvConfig = 32821;

constexpr int kConnect = 32814;
constexpr int kDisconnect = 32813;
constexpr int kXmtrComm = 32853;
constexpr int kXmtrUnits = 32817;
constexpr int kXmtrDamping = 32818;
constexpr int kXmtrDeviceInfo = 32819;
constexpr int kXmtrSensorLimits = 32842;
constexpr int kXmtrDataFormats = 32849;
constexpr int kXmtrLcdDisplay = 32845;
constexpr int kCompare = 32880;  // compare the document with the connected transmitter

constexpr int kSensorTrim = 32823;
constexpr int kFixedProcessTemp = 32837;
constexpr int kLogIn = 32822;
constexpr int kPrivileges = 32826;
constexpr int kSecurityOnOff = 32827;

constexpr int kReadOutputs = 32843;
constexpr int kModuleInfo = 32829;
constexpr int kIdentificationInfo = 32830;
constexpr int kMasterReset = 32834;
constexpr int kSelfTest = 32844;
constexpr int kErrorInfo = 32835;
constexpr int kTestCalculation = 32831;
}  // namespace cmd

// Access states 0..5 (app::kAccessHigh .. app::kAccessNoTransmitter) belong to
// the security logic.
namespace app {
inline constexpr int kAccessStateCount = kAccessNoTransmitter + 1;
}  // namespace app

// The access states in which a command is enabled, one bit per state.
enum class EnableSet : uint8_t {
    Always = 0x3F,          // 0..5
    Offline = 0x20,         // 5
    Online = 0x1F,          // 0..4
    OnlineNotLow = 0x1B,    // 0, 1, 3, 4
    LogIn = 0x17,           // 0, 1, 2, 4
    HighOnly = 0x01,        // 0
    HighOrDisabled = 0x09,  // 0, 3
};

enum class CommandKind : uint8_t {
    Item,         // an ordinary menu item
    RecentFiles,  // the place of the recent-file list (kFileMru1 and following)
    Separator,
    Unplaced,  // routed and enabled like an item, but in no menu, toolbar or accelerator
};

struct CommandInfo {
    CommandKind kind;
    int id;                   // 0 for a separator
    const char* menu;         // top-level menu ("&File")
    const char* submenu;      // pop-up inside the menu ("De&vice Info"), or nullptr
    const char* text;         // item text, accelerator after a tab; nullptr: see textId
    unsigned textId;          // numbered item text when `text` is nullptr
    const char* accelerator;  // key sequence ("Ctrl+N"), or nullptr
    const char* prompt;       // status-bar prompt
    const char* toolTip;      // nullptr when the command has none
    EnableSet enable;
    bool needsLink;  // also requires the serial link to be available (Connect)
};

// Every menu entry in menu order, top-level menus in their order of first
// appearance, then the commands that have no place in the menus.
const std::vector<CommandInfo>& CommandTable();

// The entry of a command, or nullptr for an unknown id (recent files: kFileMru1 only).
const CommandInfo* FindCommand(int id);

// Toolbar slots left to right; 0 stands for a gap.
const std::vector<int>& ToolbarLayout();

// Accelerators that reach a command without being shown in its menu text.
struct ExtraAccelerator {
    const char* keys;
    int id;
};
const std::vector<ExtraAccelerator>& ExtraAccelerators();

bool IsStateInSet(int accessState, EnableSet set);

// Whether a command is enabled in an access state; unknown ids are disabled.
bool IsCommandEnabled(int id, int accessState, bool linkAvailable);
