#include "app/CommandTable.h"

namespace {

constexpr const char* kFile = "&File";
constexpr const char* kSetup = "&Setup";
constexpr const char* kTransmitter = "&Transmitter";
constexpr const char* kMaintenance = "&Maintenance";
constexpr const char* kDiagnostics = "&Diagnostics";
constexpr const char* kView = "&View";
constexpr const char* kHelp = "&Help";
constexpr const char* kDeviceInfoPopup = "De&vice Info";

constexpr unsigned kTextDisableSecurity =
    3103;  // security is on until a transmitter says otherwise

CommandInfo Item(int id, const char* menu, const char* text, const char* prompt, EnableSet enable,
                 const char* toolTip = nullptr, const char* accelerator = nullptr) {
    return {CommandKind::Item, id,     menu,    nullptr, text, 0,
            accelerator,       prompt, toolTip, enable,  false};
}

CommandInfo Separator(const char* menu, const char* submenu = nullptr) {
    return {CommandKind::Separator, 0,    menu, submenu, nullptr, 0, nullptr, nullptr, nullptr,
            EnableSet::Always,      false};
}

std::vector<CommandInfo> BuildTable() {
    using E = EnableSet;
    std::vector<CommandInfo> t;

    t.push_back(Item(cmd::kFileNew, kFile, "&New Config\tCtrl+N", "Create a new configuration file",
                     E::Always, "New Configuration ", "Ctrl+N"));
    t.push_back(Item(cmd::kFileOpen, kFile, "&Open Config...\tCtrl+O",
                     "Open an existing configuration file", E::Always, "Open Configuration ",
                     "Ctrl+O"));
    t.push_back(Item(cmd::kFileSave, kFile, "&Save Config\tCtrl+S",
                     "Save the active configuration file", E::Always, "Save Configuration",
                     "Ctrl+S"));
    t.push_back(Item(cmd::kFileSaveAs, kFile, "Save Config &As...",
                     "Save configuration with new name", E::Always));
    t.push_back(Item(cmd::kExportReport, kFile, "Export &Report...",
                     "Write the commissioning report of the configuration as PDF", E::Always));
    t.push_back(Separator(kFile));
    t.push_back({CommandKind::RecentFiles, cmd::kFileMru1, kFile, nullptr, nullptr, 0, nullptr,
                 "Open this document", nullptr, E::Always, false});
    t.push_back(Separator(kFile));
    t.push_back(Item(cmd::kAppExit, kFile, "E&xit", "Quit the application", E::Always));

    t.push_back(Item(cmd::kHostComm, kSetup, "Host &Communication...",
                     "Change application communication parameters", E::Always));
    t.push_back(Item(cmd::kSetupXmtrComm, kSetup, "&Transmitter Comm...",
                     "Change transmitter communication parameters", E::Offline));
    t.push_back(Separator(kSetup));
    t.push_back(Item(cmd::kSetupUnits, kSetup, "&Units...", "Change variable's units", E::Offline));
    t.push_back(Item(cmd::kSetupDamping, kSetup, "&Damping...", "Change damping", E::Offline));
    t.push_back(Item(cmd::kSetupDeviceInfo, kSetup, "De&vice Info...",
                     "Change transmitter specific info", E::Offline));
    t.push_back(Item(cmd::kSetupSensorLimits, kSetup, "Sensor &Limits...",
                     "Change sensor operating limits", E::Offline));
    t.push_back(Item(cmd::kSetupDataFormats, kSetup, "Data &Formats...",
                     "Configure float format & integer scaling", E::Offline));
    t.push_back(Separator(kSetup));
    t.push_back(
        Item(cmd::kSetupLcdDisplay, kSetup, "LCD Dis&play...", "Change LCD Display", E::Offline));
    t.push_back(Separator(kSetup));
    t.push_back(Item(cmd::kSendConfig, kSetup, "&Send Config...",
                     "Send configuration to transmittter", E::OnlineNotLow, "Send Configuration"));
    t.push_back(Item(cmd::kRecvConfig, kSetup, "&Recv Config",
                     "Receive configuration from transmitter", E::OnlineNotLow,
                     "Receive Configuration"));

    CommandInfo connect =
        Item(cmd::kConnect, kTransmitter, "&Connect...",
             "Connect to transmitter or change Multidrop address", E::Always, "Connect ");
    connect.needsLink = true;
    t.push_back(connect);
    t.push_back(Item(cmd::kDisconnect, kTransmitter, "D&isconnect", "Disconnect from transmitter",
                     E::Online));
    t.push_back(Separator(kTransmitter));
    t.push_back(Item(cmd::kXmtrComm, kTransmitter, "&Transmitter Comm...",
                     "Change transmitter communication parameters", E::Online));
    t.push_back(Separator(kTransmitter));
    t.push_back(
        Item(cmd::kXmtrUnits, kTransmitter, "&Units...", "Change variable's units", E::Online));
    t.push_back(Item(cmd::kXmtrDamping, kTransmitter, "&Damping...", "Change damping", E::Online));
    t.push_back(Item(cmd::kXmtrDeviceInfo, kTransmitter, "De&vice Info...",
                     "Change transmitter specific info", E::Online));
    t.push_back(Item(cmd::kXmtrSensorLimits, kTransmitter, "Sensor &Limits...",
                     "View or Change sensor limits", E::Online, "Sensor Limits"));
    t.push_back(Item(cmd::kXmtrDataFormats, kTransmitter, "Data &Formats...",
                     "Configure float format & integer scaling", E::Online));
    t.push_back(Separator(kTransmitter));
    t.push_back(Item(cmd::kXmtrLcdDisplay, kTransmitter, "LCD Dis&play...", "Change LCD display",
                     E::Online));
    t.push_back(Separator(kTransmitter));
    t.push_back(Item(cmd::kCompare, kTransmitter, "Co&mpare with Transmitter\tF5",
                     "Compare the configuration with the connected transmitter", E::Online,
                     "Compare with Transmitter", "F5"));

    t.push_back(Item(cmd::kSensorTrim, kMaintenance, "Sensor &Trim...", "Trim DP, AP and PT",
                     E::Online, "Sensor Trim "));
    t.push_back(Item(cmd::kFixedProcessTemp, kMaintenance, "&Fixed Process Temp...",
                     "Enable or disable Fixed Process Temp.", E::Online));
    t.push_back(Separator(kMaintenance));
    t.push_back(Item(cmd::kLogIn, kMaintenance, "&Log In...", "Access with different privileges",
                     E::LogIn, "Privileges "));
    t.push_back(Item(cmd::kPrivileges, kMaintenance, "&Privileges...", "Change the privileges",
                     E::HighOnly, "Privileges"));
    CommandInfo security = Item(cmd::kSecurityOnOff, kMaintenance, nullptr,
                                "Enable or disable security", E::HighOrDisabled);
    security.textId = kTextDisableSecurity;
    t.push_back(security);

    t.push_back(Item(cmd::kReadOutputs, kDiagnostics, "&Read Outputs...",
                     "View transmitter variable values", E::Online));
    CommandInfo module = Item(cmd::kModuleInfo, kDiagnostics, "&Module Info...",
                              "View module assembly info", E::Online);
    module.submenu = kDeviceInfoPopup;
    t.push_back(module);
    CommandInfo ident = Item(cmd::kIdentificationInfo, kDiagnostics, "&Identification Info...",
                             "View identification info", E::Online);
    ident.submenu = kDeviceInfoPopup;
    t.push_back(ident);
    t.push_back(Item(cmd::kMasterReset, kDiagnostics, "Transmitter &Master Reset...",
                     "Issue master reset to transmitter", E::Online));
    t.push_back(Item(cmd::kSelfTest, kDiagnostics, "Transmitter &Self Test...",
                     "Issue self test to transmitter", E::Online));
    t.push_back(Item(cmd::kErrorInfo, kDiagnostics, "&Error Info...",
                     "View info about a transmitter fault", E::Online));

    t.push_back(Item(cmd::kViewToolbar, kView, "&Toolbar", "Show or hide the toolbar", E::Always));
    t.push_back(
        Item(cmd::kViewStatusBar, kView, "&Status Bar", "Show or hide the status bar", E::Always));
    t.push_back(Separator(kView));
    t.push_back(Item(cmd::kViewChangeLog, kView, "Change &Log...",
                     "List the changes written to transmitters", E::Always));

    t.push_back(Item(cmd::kAppAbout, kHelp, "&About Corvel Configurator...",
                     "Displays program information", E::Always, "About "));

    // Further commands of the view that no menu item, toolbar button or
    // accelerator issues.
    CommandInfo flow = Item(cmd::kSetupFlow, kSetup, nullptr,
                            "Enter Compensated Flow parameters\nCompensated Flow ", E::Offline);
    flow.kind = CommandKind::Unplaced;
    t.push_back(flow);
    CommandInfo testCalculation = Item(cmd::kTestCalculation, kDiagnostics, nullptr,
                                       "Do test calculation with transmitter", E::OnlineNotLow);
    testCalculation.kind = CommandKind::Unplaced;
    t.push_back(testCalculation);
    return t;
}

}  // namespace

const std::vector<CommandInfo>& CommandTable() {
    static const std::vector<CommandInfo> table = BuildTable();
    return table;
}

const CommandInfo* FindCommand(int id) {
    if (id == 0) return nullptr;
    for (const CommandInfo& info : CommandTable()) {
        if (info.id == id) return &info;
    }
    return nullptr;
}

const std::vector<int>& ToolbarLayout() {
    static const std::vector<int> layout = {
        cmd::kFileNew,
        cmd::kFileOpen,
        cmd::kFileSave,
        0,
        cmd::kConnect,
        0,
        cmd::kSensorTrim,
        cmd::kXmtrSensorLimits,
        0,
        cmd::kSendConfig,
        cmd::kRecvConfig,
        cmd::kCompare,
        0,
        cmd::kAppAbout,
    };
    return layout;
}

const std::vector<ExtraAccelerator>& ExtraAccelerators() {
    static const std::vector<ExtraAccelerator> extra = {{"Ctrl+R", cmd::kRecvConfig}};
    return extra;
}

bool IsStateInSet(int accessState, EnableSet set) {
    if (accessState < 0 || accessState >= app::kAccessStateCount) return false;
    return (static_cast<unsigned>(set) & (1u << accessState)) != 0;
}

bool IsCommandEnabled(int id, int accessState, bool linkAvailable) {
    if (id > cmd::kFileMru1 && id < cmd::kFileMru1 + cmd::kMruCount) id = cmd::kFileMru1;
    const CommandInfo* info = FindCommand(id);
    if (info == nullptr) return false;
    if (info->needsLink && !linkAvailable) return false;
    if (info->enable == EnableSet::Always) return true;
    return IsStateInSet(accessState, info->enable);
}
