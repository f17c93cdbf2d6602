#pragma once

// The unnumbered texts that the program shows or writes, character for
// character as the program shows them (UTF-8). Numbered texts live in the string table
// (resources/Strings.h, LoadString); debug-trace lines are not listed here.
namespace texts {

// Common buttons and standard validation messages
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kEnterNumber = "Please enter a number.";
inline constexpr const char* kEnterInteger = "Please enter an integer.";
inline constexpr const char* kChooseUnit = "Please choose a unit from the list.";
inline constexpr const char* kEnterIntegerBetween = "Please enter an integer between %1 and %2.";
inline constexpr const char* kEnterNumberBetween = "Please enter a number between %1 and %2.";
inline constexpr const char* kEnterPositiveInteger = "Please enter a positive integer.";
inline constexpr const char* kEnterNoMoreThanCharacters =
    "Please enter no more than %1 characters.";
inline constexpr const char* kSetupCaptionPrefix = "Setup ";
inline constexpr const char* kMilliseconds = "mS";

// Application
inline constexpr const char* kAppTitle = "Corvel Configurator User Interface";
inline constexpr const char* kSettingsRoot = "Kelmarsh";
inline constexpr const char* kDocumentDescriptor =
    "Corvel Configurator User Interface\nUntitled\nUntitled\nCorvel CUI Config (*.cmm)\n.cmm\n"
    "Untitled.Document\nUntitled Document";
inline constexpr const char* kFileTypeId = "Untitled.Document";
inline constexpr const char* kFileTypeName = "Untitled Document";
inline constexpr const char* kStartupStatus = "Initializing... Connecting on COM%d at %s bps";
inline constexpr const char* kFileDescription = "Model CorvelFX Configurator User Interface";
inline constexpr const char* kFileVersion = "5, 0, 0, 7";
inline constexpr const char* kVersionPrefix = "Version ";
inline constexpr const char* kSaveChanges = "Save changes to %1?";

// Operating-system text
inline constexpr const char* kOsWin32s = "Windows %d.%d";
inline constexpr const char* kOsWindows95 = "Windows 95";
inline constexpr const char* kOsWindows98 = "Windows 98";
inline constexpr const char* kOsWindowsMe = "Windows Me";
inline constexpr const char* kOsWindows2000 = "Windows 2000 With %s";
inline constexpr const char* kOsWindowsXp = "Windows XP %s";
inline constexpr const char* kOsWindowsNt = "Windows NT %d.%d with %s";
inline constexpr const char* kOsOther = "Windows %d.%d ";

// Status bar (the security texts are strings 59145 to 59150)
inline constexpr const char* kStatusReady = "Ready";
inline constexpr const char* kTagPanePrefix = "Tag: ";
inline constexpr const char* kTagPaneSizing = "Tag: FT-123456";
inline constexpr const char* kSecurityPaneSizing = "Security: Disabled";
inline constexpr const char* kCommNoXmtr = "COMM: No Xmtr";
inline constexpr const char* kCommIdle = "COMM: Idle";
inline constexpr const char* kCommBusy = "COMM: Busy";

// Menus; command prompts, tool tips and items are in kCommandTexts
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuSetup = "&Setup";
inline constexpr const char* kMenuTransmitter = "&Transmitter";
inline constexpr const char* kMenuMaintenance = "&Maintenance";
inline constexpr const char* kMenuDiagnostics = "&Diagnostics";
inline constexpr const char* kMenuView = "&View";
inline constexpr const char* kMenuHelp = "&Help";
inline constexpr const char* kMenuDiagnosticsDeviceInfo = "De&vice Info";

// One command of the main view: its menu and item (nullptr where it has none),
// its status-bar prompt and its tool tip (nullptr where it has none).
struct CommandText {
    unsigned id;
    const char* menu;
    const char* item;
    const char* prompt;
    const char* toolTip;
};

inline constexpr CommandText kCommandTexts[] = {
    {57600, "&File", "&New Config\tCtrl+N", "Create a new configuration file",
     "New Configuration "},
    {57601, "&File", "&Open Config...\tCtrl+O", "Open an existing configuration file",
     "Open Configuration "},
    {57603, "&File", "&Save Config\tCtrl+S", "Save the active configuration file",
     "Save Configuration"},
    {57604, "&File", "Save Config &As...", "Save configuration with new name", nullptr},
    {57616, "&File", nullptr, "Open this document", nullptr},
    {57665, "&File", "E&xit", "Quit the application", nullptr},
    {32840, "&Setup", "Host &Communication...", "Change application communication parameters",
     nullptr},
    {32852, "&Setup", "&Transmitter Comm...", "Change transmitter communication parameters",
     nullptr},
    {32808, "&Setup", "&Units...", "Change variable's units", nullptr},
    {32809, "&Setup", "&Damping...", "Change damping", nullptr},
    {32810, "&Setup", "De&vice Info...", "Change transmitter specific info", nullptr},
    {32847, "&Setup", "Sensor &Limits...", "Change sensor operating limits", nullptr},
    {32850, "&Setup", "Data &Formats...", "Configure float format & integer scaling", nullptr},
    {32846, "&Setup", "LCD Dis&play...", "Change LCD Display", nullptr},
    {32820, "&Setup", "&Send Config...", "Send configuration to transmittter",
     "Send Configuration"},
    {32821, "&Setup", "&Recv Config", "Receive configuration from transmitter",
     "Receive Configuration"},
    {32814, "&Transmitter", "&Connect...", "Connect to transmitter or change Multidrop address",
     "Connect "},
    {32813, "&Transmitter", "D&isconnect", "Disconnect from transmitter", nullptr},
    {32853, "&Transmitter", "&Transmitter Comm...", "Change transmitter communication parameters",
     nullptr},
    {32817, "&Transmitter", "&Units...", "Change variable's units", nullptr},
    {32818, "&Transmitter", "&Damping...", "Change damping", nullptr},
    {32819, "&Transmitter", "De&vice Info...", "Change transmitter specific info", nullptr},
    {32842, "&Transmitter", "Sensor &Limits...", "View or Change sensor limits", "Sensor Limits"},
    {32849, "&Transmitter", "Data &Formats...", "Configure float format & integer scaling",
     nullptr},
    {32845, "&Transmitter", "LCD Dis&play...", "Change LCD display", nullptr},
    {32823, "&Maintenance", "Sensor &Trim...", "Trim DP, AP and PT", "Sensor Trim "},
    {32837, "&Maintenance", "&Fixed Process Temp...", "Enable or disable Fixed Process Temp.",
     nullptr},
    {32843, "&Diagnostics", "&Read Outputs...", "View transmitter variable values", nullptr},
    {32829, "&Diagnostics", "&Module Info...", "View module assembly info", nullptr},
    {32830, "&Diagnostics", "&Identification Info...", "View identification info", nullptr},
    {32834, "&Diagnostics", "Transmitter &Master Reset...", "Issue master reset to transmitter",
     nullptr},
    {32844, "&Diagnostics", "Transmitter &Self Test...", "Issue self test to transmitter", nullptr},
    {32835, "&Diagnostics", "&Error Info...", "View info about a transmitter fault", nullptr},
    {59392, "&View", "&Toolbar", "Show or hide the toolbar", nullptr},
    {59393, "&View", "&Status Bar", "Show or hide the status bar", nullptr},
    {57664, "&Help", "&About Corvel Configurator...", "Displays program information", "About "},
    {32811, nullptr, nullptr, "Enter Compensated Flow parameters", "Compensated Flow "},
    {32831, nullptr, nullptr, "Do test calculation with transmitter", nullptr},
    {32822, nullptr, nullptr, "Access with different privileges", "Privileges "},
    {32826, nullptr, nullptr, "Change the privileges", "Privileges"},
    {32827, nullptr, nullptr, "Enable or disable security", nullptr},
};

// Host communication dialog
inline constexpr const char* kCommParamsCaption = "Modbus® Communication Parameters";
inline constexpr const char* kPortParametersGroup = "Port Parameters";
inline constexpr const char* kPortLabel = "&Port:";
inline constexpr const char* kPortNameTemplate = "COM0";
inline constexpr const char* kBitRateLabel = "&Bit Rate:";
inline constexpr const char* kBitRateUnit = "bps";
inline constexpr const char* kCtsDelayLabel = "&CTS Delay:";
inline constexpr const char* kHardwareCtsLabel = "&Hardware CTS Enabled";
inline constexpr const char* kPollParametersGroup = "Poll Parameters";
inline constexpr const char* kRetriesLabel = "&Retries:";
inline constexpr const char* kReplyTimeoutLabel = "Reply &Timeout:";
inline constexpr const char* kInterpollDelayLabel = "Interpoll &Delay:";
inline constexpr const char* kPollIntervalLabel = "Poll &Interval:";
inline constexpr const char* kExtraCmdTimeLabel = "&Extra Cmd Time:";
inline constexpr const char* kTransmitterTypeValue = "CorvelFX";
inline constexpr const char* kProtocolRevValue = "5";
inline constexpr const char* kSettingTrue = "TRUE";
inline constexpr const char* kSettingFalse = "FALSE";
inline constexpr const char* kSettingNumber = "%ld";

// Serial port
inline constexpr const char* kPortDeviceName = "\\\\.\\COM%d";
inline constexpr const char* kOpenPortFailed = "Failed to open port COM%d:\n\n";
inline constexpr const char* kSystemErrorCode = "(RC = %lu)";

// Transmitter status dialog (title kAppTitle, list texts strings 370 to 378)
inline constexpr const char* kStatusDialogText =
    "The transmitter is reporting the following &status:";
inline constexpr const char* kIgnoreStatusCheck = "&Ignore status on next 50 commands";
inline constexpr const char* kErrorInfoButton = "&Error Info";
inline constexpr const char* kStatusOkButton = "&OK";

// Transmitter commands and model
inline constexpr const char* kNoTag = "@@@@@@@@";
inline constexpr const char* kIllegalVariableCode = "Error: illegal variable code = %d";
inline constexpr const char* kIllegalCodeName = "illegal code = %d";
inline constexpr const char* kQuestionEnd = "?";

// Units
inline constexpr const char* kUnknownUnitInName = "ERROR: Unknown Unit in CUnit::Name";
inline constexpr const char* kUnknownMeasTypeInConvertArray =
    "ERROR: Unknown MeasTypeCode in ConvertArray";
inline constexpr const char* kAbsoluteSuffix = "a";
inline constexpr const char* kGaugeSuffix = "g";

// Connect and multidrop
inline constexpr const char* kConnectCaption = "Connect to Transmitter / Multidrop Address";
inline constexpr const char* kModeAddress = "&Address";
inline constexpr const char* kModeOnline = "Transmitters &Online";
inline constexpr const char* kModeChangeAddress = "&Change Address";
inline constexpr const char* kOldAddressLabel = "Old:";
inline constexpr const char* kNewAddressLabel = "New:";
inline constexpr const char* kSearchButton = "&Search";
inline constexpr const char* kColumnAddr = "Addr";
inline constexpr const char* kColumnTag = "Tag";
inline constexpr const char* kColumnDescription = "Description";
inline constexpr const char* kNoTransmittersFound = "No transmitters found.";
inline constexpr const char* kSearchCaption = "Multidrop - Search";
inline constexpr const char* kSearching = "Searching for CorvelFX transmitters ...";
inline constexpr const char* kPollingAddressInitial = "Polling address...";
inline constexpr const char* kPollingAddressNumber = ":  %d";
inline constexpr const char* kFoundLine = "\t%i\t%s\t%s";
inline constexpr const char* kRetryMessageInitial = "Error Message Here";
inline constexpr const char* kConnectDialogButton = "Connect &Dialog";
inline constexpr const char* kRetryAddress1Button = "&Retry Address 1";
inline constexpr const char* kRetryCancelButton = "&Cancel";

// Configuration document
inline constexpr const char* kFileFilter = "Corvel CUI Config (*.cmm)";
inline constexpr const char* kFileExtension = ".cmm";
inline constexpr const char* kDefaultDocumentName = "Untitled";
inline constexpr const char* kFileSaveError = "File save error: please delete any file created";
inline constexpr const char* kFileOpenError = "File open error: this file cannot be used";

// Send and receive configuration
inline constexpr const char* kSendCaption = "Send Configuration";
inline constexpr const char* kSendingData = "Sending data...";
inline constexpr const char* kReceiveCaption = "Receive Configuration";
inline constexpr const char* kReceivingData = "Receiving data...";
inline constexpr const char* kTransferCancelButton = "&Cancel";
inline constexpr const char* kSendDoneButton = "Close";
inline constexpr const char* kReceiveDoneButton = "&Close";
inline constexpr const char* kStepTransmitterParameters = "Transmitter parameters...";
inline constexpr const char* kStepDpParameters = "Common sensor && DP parameters...";
inline constexpr const char* kStepSpParameters = "SP parameters...";
inline constexpr const char* kStepPtParameters = "PT parameters...";
inline constexpr const char* kStepDeviceInformation = "Device information...";
inline constexpr const char* kStepLcdConfiguration = "LCD configuration...";
inline constexpr const char* kReceivedFileExtension = ".CMM";

// Chemical database and fluids
inline constexpr const char* kDatabaseFileName = "CHEMICAL.DB1";
inline constexpr const char* kNitricOxide = "NITRIC OXIDE";
inline constexpr const char* kTestGas = "NITROGEN";
inline constexpr const char* kTestLiquid = "WATER";

// Primary elements: producer names by code 0 to 11, range-note numbers
inline constexpr const char* kProducerNames[] = {
    "ASME Orifice: Corner Taps",
    "ASME Orifice: Flange Taps",
    "ASME Orifice: D and D/2 Taps",
    "ASME Orifice: 2½D and 8D Taps",
    "Nozzle: ASME Long Radius",
    "Venturi: Machined Inlet",
    "Venturi: Rough Cast Inlet",
    "Venturi:  Welded Sheet-iron Inlet",
    "Nozzle: ISA",
    "Nozzle: Venturi Nozzle (ISA Inlet)",
    "AGA Orifice: Flange Taps",
    "Tessel Integral Orifice Assembly",
};
inline constexpr const char* kNoteDiameterMin = " %.3lf ";
inline constexpr const char* kNoteDiameterMax = " %.2lf ";
inline constexpr const char* kNoteBeta = " %.3f ";

// Flow configuration: material names by code 0 to 4
inline constexpr const char* kMaterialNames[] = {
    "Carbon Steel", "304 Stainless Steel", "316 Stainless Steel", "Hastelloy C", "Monel",
};
inline constexpr const char* kLiquidFlowCaption =
    "Fully Compensated Liquid Flow - Q=NCdEd²((rho)h)^½";
inline constexpr const char* kInvalidFluidPhase =
    "Cannot complete operation: invalid fluid phase code";

// Flow setup completion and flow test files
inline constexpr const char* kFlowCompleteCaption = "Flow Setup is Complete";
inline constexpr const char* kFlowCompleteText =
    "You've just engineered a standardized flow measurement solution for your application.\n"
    "Would you care to:";
inline constexpr const char* kFlowFileButton = "&File";
inline constexpr const char* kFlowConnectButton = "&Connect";
inline constexpr const char* kFlowReturnButton = "&Return";
inline constexpr const char* kFlowReturnNote = "Return to the Flowsmith";
inline constexpr const char* kFlowFileNote = "Save your configuration info to a file";
inline constexpr const char* kFlowConnectNote = "Connect to a transmitter and send the configuration";
inline constexpr const char* kWritingFlowTestFiles = "Writing flow test files";
inline constexpr const char* kNoFlowApplication = "No Flow Application";
inline constexpr const char* kOpenFailedSuffix = " <== Open failed";
inline constexpr const char* kLiquidTestFile = "1-liquid.txt";
inline constexpr const char* kGasTestFile = "1-gas.txt";
inline constexpr const char* kSendTestFile = "162-send.txt";
inline constexpr const char* kDensityFitHeading = "\nDensity Fit\n";
inline constexpr const char* kCompressibilityFitHeading = "\nCompressibility Fit\n";
inline constexpr const char* kCdFitHeading = "Cd Fit\n";
inline constexpr const char* kEdSquaredFitHeading = "Ed^2 Fit\n";
inline constexpr const char* kGasExpansionFitHeading = "Gas expansion Fit\n";
inline constexpr const char* kViscosityFitHeading = "Viscosity Fit\n";
inline constexpr const char* kDensityTableLine = "%d\t%d\t%+14.6e\n";
inline constexpr const char* kCoefficientLine = "%d\t%+14.6e\n";

// Test calculation dialog
inline constexpr const char* kTestCalcCaption = "Test Calculation";
inline constexpr const char* kTestCalcDpLabel = "&Differential Pressure:";
inline constexpr const char* kTestCalcSpLabel = "&Static Pressure:";
inline constexpr const char* kTestCalcPtLabel = "&Process Temperature:";
inline constexpr const char* kTestCalcMassFlowLabel = "Mass Flow Rate (Lbs/s):";
inline constexpr const char* kTestCalcDensityLabel = "Density (Lbs/Cuft):";
inline constexpr const char* kTestCalcGasExpansionLabel = "Gas Expansion Factor:";
inline constexpr const char* kTestCalcDischargeLabel = "Discharge Coefficient:";
inline constexpr const char* kTestCalcReynoldsLabel = "Reynolds Number (Pipe):";
inline constexpr const char* kTestCalcViscosityLabel = "Viscosity (centipoise):";
inline constexpr const char* kTestCalcCalculateButton = "&Calculate";
inline constexpr const char* kTestCalcExitButton = "&Exit";
inline constexpr const char* kTestCalcNan = "1.#QNAN";
inline constexpr const char* kTestCalcResult = "%lg";

// Units and damping dialogs
inline constexpr const char* kDpLabel = "&DP:";
inline constexpr const char* kSpLabel = "&SP:";
inline constexpr const char* kPtLabel = "&PT:";
inline constexpr const char* kRecalculateScaling =
    "Remember to recalculate the Scale Factor and Offset values for Scaled Process Variables";
inline constexpr const char* kSeconds = "seconds";
inline constexpr const char* kDampingNoteGroup = " NOTE :  ";
inline constexpr const char* kDampingNote =
    "The transmitter will assign the damping values to their nearest acceptable values.";
inline constexpr const char* kSendValuesButton = "Send &Values";
inline constexpr const char* kCloseButton = "&Close";
inline constexpr const char* kCancelButton = "C&ancel";

// Device information dialog
inline constexpr const char* kTagLabel = "&Tag:";
inline constexpr const char* kDateLabel = "&Date:";
inline constexpr const char* kDescriptorLabel = "D&escriptor:";
inline constexpr const char* kMessageLabel = "&Message:";
inline constexpr const char* kFlangeTypeLabel = "&Flange Type:";
inline constexpr const char* kFlangeMaterialLabel = "F&lange Material:";
inline constexpr const char* kORingMaterialLabel = "&O-Ring Material:";
inline constexpr const char* kDrainVentMaterialLabel = "Drain/&Vent Material:";
inline constexpr const char* kRemoteSealTypeLabel = "Remote &Seal Type:";
inline constexpr const char* kRemoteSealFillLabel = "Remote Seal F&ill:";
inline constexpr const char* kRemoteSealMaterialLabel = "Remote Seal M&aterial:";
inline constexpr const char* kNumberOfSealsLabel = "&Number of Seals:";
inline constexpr const char* kDateFormat = "%d/%b/%y";
inline constexpr const char* kInitialDate = "20/FEB/95";
inline constexpr const char* kMonthAbbreviations[] = {
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC",
};
inline constexpr const char* kUnknownFlangeMaterial = "ERROR: Unknown Flange Material code";
inline constexpr const char* kUnknownFlangeType = "ERROR: Unknown Flange Type code";
inline constexpr const char* kUnknownDrainVentMaterial = "ERROR: Unknown Drain Vent Material code";
inline constexpr const char* kUnknownORingMaterial = "ERROR: Unknown O-ring Material code";
inline constexpr const char* kUnknownRemoteSealType = "ERROR: Unknown Remote Seal Type code";
inline constexpr const char* kUnknownRemoteSealFill = "ERROR: Unknown Remote Seal Fill Fluid code";
inline constexpr const char* kUnknownRemoteSealMaterial =
    "ERROR: Unknown Remote Seal Material code";
inline constexpr const char* kUnknownNumberOfSeals = "ERROR: Unknown Number of Remote Seals code";

// Sensor limits and operating limits
inline constexpr const char* kSensorLimitsCaption = "Sensor Limits";
inline constexpr const char* kSensorValuesGroup = "Sensor Values";
inline constexpr const char* kWriteProtectStatusLabel = "Write Protect Status:";
inline constexpr const char* kPresentValueColumn = "Present Value";
inline constexpr const char* kUnitsColumn = "Units";
inline constexpr const char* kLimitPresentValuesGroup = "Sensor Limit Present Values";
inline constexpr const char* kRangeLimitColumn = "Range Limit";
inline constexpr const char* kOperatingLimitColumn = "Operating Limit";
inline constexpr const char* kLimitSetpointValuesGroup = "Sensor Limit Setpoint Values";
inline constexpr const char* kCautionRangeValues =
    "Setting Range Values changes the operation of the transmitter.";
inline constexpr const char* kCautionManualMode =
    "Place the control loop into MANUAL mode before making changes.";
inline constexpr const char* kSetLimitsButton = "&Set Limits";
inline constexpr const char* kCautionGroup = "CAUTION";
inline constexpr const char* kWriteProtectOn = "ON";
inline constexpr const char* kWriteProtectOff = "OFF";
inline constexpr const char* kSetupLimitsCaption = "Setup Sensor Operating Limits";
inline constexpr const char* kLowerColumn = "Lower";
inline constexpr const char* kUpperColumn = "Upper";
inline constexpr const char* kDpRow = "DP:";
inline constexpr const char* kSpRow = "SP:";
inline constexpr const char* kPtRow = "PT:";
inline constexpr const char* kLimitFormat = "%g";
inline constexpr const char* kProcessValueFormat = "%#lg";

// Data formats and PV integer scaling (list texts strings 3358-3361, 32775-32778)
inline constexpr const char* kDataFormatsCaption = "Data Formats";
inline constexpr const char* kFloatFormatGroup = "Floating Point Format";
inline constexpr const char* kByteOrderLabel = "&Byte Transmission Order:";
inline constexpr const char* kIntegerScalingGroup = "Integer Scaling";
inline constexpr const char* kScalingMethodLabel = "&Scaling Method:";
inline constexpr const char* kParametersButton = "&Parameters ...";
inline constexpr const char* kChangedMark = "*";
inline constexpr const char* kEndpointsCaption =
    "Process Variable Integer Scaling - Entered Endpoints";
inline constexpr const char* kEnteredFactorsCaption =
    "Process Variable Integer Scaling - Entered Scale Factors and Offsets";
inline constexpr const char* kCalculatedFactorsCaption =
    "Process Variable Integer Scaling - Calculated Scale Factors and Offsets";
inline constexpr const char* kMinimumColumn = "Minimum";
inline constexpr const char* kMaximumColumn = "Maximum";
inline constexpr const char* kIntegerValueColumn = "Integer Value";
inline constexpr const char* kProcessVariableColumn = "Process Variable";
inline constexpr const char* kScaleFactorColumn = "Scale Factor";
inline constexpr const char* kOffsetColumn = "Offset";
inline constexpr const char* kCountsLineStart = "All Process Variables will be scaled from 0 to ";
inline constexpr const char* kCountsLineEnd = " counts.";
inline constexpr const char* kSetScalingButton = "&Set Scaling";
inline constexpr const char* kScaleFactorBetween = "Please enter a scale factor between 1 and %u";
inline constexpr const char* kRoundingGroup =
    "Calculated Scale Factors and Offsets will be rounded:";
inline constexpr const char* kRoundNearest = "to the nearest integer";
inline constexpr const char* kRoundDown = "down";
inline constexpr const char* kRoundUp = "up";
inline constexpr const char* kViewFactorsButton = "&View Factors...";
inline constexpr const char* kOffsetOutOfRangeRoundingUp =
    "Calculated Offset Out of Range. Must be between 0 and 65534.\n\n1. Decrease integer range "
    "or...\n2. Change Rounding method or...\n3. Increase PV range";
inline constexpr const char* kOffsetOutOfRange =
    "Calculated Offset Out of Range. Must be between 0 and 65534.\n\n1. Decrease integer range "
    "or...\n2. Increase PV range";
inline constexpr const char* kOutOfRangeField = "*Out of Range*";
// A calculated scale factor of 0 would divide by zero, one above 65535 does not fit its word.
inline constexpr const char* kFactorOutOfRange =
    "Calculated Scale Factor Out of Range. Must be between 1 and 65535.\n\n1. Change integer "
    "range or...\n2. Change PV range";
// The terminal's values that join several fields of a window
inline constexpr const char* kTerminalParts = "%s takes %s; a part left empty keeps its value";
inline constexpr const char* kTerminalNotAParameter =
    "%s is not a parameter of the scaling method \"%s\"";

// LCD display configuration (item names strings 480 to 486)
inline constexpr const char* kLcdCaption = "LCD Display Configuration";
inline constexpr const char* kDisplayedList = "&Displayed";
inline constexpr const char* kNotDisplayedList = "&Not Displayed";
inline constexpr const char* kMoveToNotDisplayed = ">>";
inline constexpr const char* kMoveToDisplayed = "<<";
inline constexpr const char* kUpdateIntervalLabel = "Update Interval:";
inline constexpr const char* kUpdateIntervalUnit = "Seconds";
// The terminal names the displayed items in a list such as "DP,SP,PT,COMM"
inline constexpr const char* kLcdUnknownItem =
    "There is no display item \"%1\". The items are DP, SP, PT and COMM.";
inline constexpr const char* kLcdItemTwice = "The display item %1 is named twice.";

// Transmitter communication parameters and security
inline constexpr const char* kTransmitterCommCaption = "Transmitter Communication Parameters";
inline constexpr const char* kTurnaroundDelayLabel = "&Turnaround Delay Time:";
inline constexpr const char* kTurnaroundDelayWarning =
    "Warning: Requested turnaround delay is less than 50 mS.\n\nThe Configurator User Interface "
    "may not be able to communicate with the transmitter if the communication hardware uses "
    "'Request to Send'.";
inline constexpr const char* kPasswordLabel = "&Password:";
inline constexpr const char* kPasswordsCaption = "Passwords";
inline constexpr const char* kMediumPasswordsLabel =
    "&Medium Level (Compensated Flow Access) Passwords:";
inline constexpr const char* kHighPasswordLabel = "&High Level (System Administration) Password:";
inline constexpr const char* kPasswordCharacters =
    "Please enter a password of letters, digits, spaces and the signs of the keyboard only.";

// Sensor trim and fixed process temperature
inline constexpr const char* kSensorTrimCaption = "Sensor Trim";
inline constexpr const char* kSensorSelectionGroup = "Sensor Selection";
inline constexpr const char* kTrimDpButton = "&DP";
inline constexpr const char* kTrimSpButton = "&SP";
inline constexpr const char* kTrimPtButton = "&PT";
inline constexpr const char* kLowerLimitLabel = "Lower Limit:";
inline constexpr const char* kUpperLimitLabel = "Upper Limit:";
inline constexpr const char* kMinSpanLabel = "Min Span:";
inline constexpr const char* kOffsetTrimPointLine = "Offset Trim Point:";
inline constexpr const char* kSlopeTrimPointLine = "Slope Trim Point:";
inline constexpr const char* kTrimGroup = "Trim";
inline constexpr const char* kRecallFactoryTrim = "Recall &Factory Trim Settings";
inline constexpr const char* kOffsetTrimButton = "&Offset Trim";
inline constexpr const char* kOffsetTrimField = "Offs&et Trim Point:";
inline constexpr const char* kOffsetSlopeTrimButton = "Offset and S&lope Trim";
inline constexpr const char* kOffsetSlopeOffsetField = "Offset Trim Poi&nt:";
inline constexpr const char* kSlopeTrimField = "Slope T&rim Point:";
inline constexpr const char* kTrimButton = "&Trim";
inline constexpr const char* kTrimSpanTooSmall = "Trim span from offset to slope values too small";
inline constexpr const char* kValueWithUnit = "%g %s";
inline constexpr const char* kTrimStepSensorLabel = "Sensor:";
inline constexpr const char* kTrimStepTypeLabel = "Trim Type:";
inline constexpr const char* kTrimStepLrlLabel = "Sensor LRL:";
inline constexpr const char* kTrimStepUrlLabel = "Sensor URL:";
inline constexpr const char* kTrimStepEnteredLabel = "Entered Value:";
inline constexpr const char* kTrimStepMeasuredLabel = "Measured Value:";
inline constexpr const char* kTrimStepInstruction =
    "Apply the trim pressure or temperature to the sensor and select OK when the measured value "
    "has stabilized.";
inline constexpr const char* kFixedTempCaption = "Fixed Process Temp.";
inline constexpr const char* kFixedTempCheck = "&Fixed Process Temperature -- Absent RTD";
inline constexpr const char* kFixedTempCheckLine = "   (Resistive Temperature Device)";
inline constexpr const char* kFixedTempLabel = "Fixed &Temperature:";

// Read outputs
inline constexpr const char* kReadOutputsCaption = "Read Outputs";
inline constexpr const char* kTransmitterVariablesGroup = "Transmitter Variables";
inline constexpr const char* kDateLineFormat = "%A, %B %d, %Y";
inline constexpr const char* kTimeLineFormat = "%I:%M:%S %p";

// Diagnostics
inline constexpr const char* kErrorInfoCaption = "Error Information";
inline constexpr const char* kErrorInfoText = "The transmitter is reporting the following status:";
inline constexpr const char* kUnlabelledBitSuffix = " (byte %i, bit %i)";
inline constexpr const char* kModuleInfoCaption = "Module Information";
inline constexpr const char* kSensorInformationGroup = "Sensor Information";
inline constexpr const char* kRangeColumn = "Range";
inline constexpr const char* kLrlColumn = "LRL";
inline constexpr const char* kUrlColumn = "URL";
inline constexpr const char* kMinSpanColumn = "Min Span";
inline constexpr const char* kMaterialsGroup = "Materials of Construction";
inline constexpr const char* kIsolatorMaterialLabel = "Isolator Mat'l:";
inline constexpr const char* kFillFluidLabel = "Fill Fluid:";
inline constexpr const char* kModuleFlangeTypeLabel = "Flange Type:";
inline constexpr const char* kModuleFlangeMaterialLabel = "Flange Mat'l:";
inline constexpr const char* kModuleDrainVentLabel = "Drain/Vent Mat'l:";
inline constexpr const char* kModuleORingLabel = "O-Ring Gasket Mat'l:";
inline constexpr const char* kModuleSealTypeLabel = "Remote Seal Type:";
inline constexpr const char* kModuleSealFillLabel = "Remote Seal Fill Fluid:";
inline constexpr const char* kModuleSealIsolatorLabel = "Remote Seal Isolator Mat'l:";
inline constexpr const char* kModuleNumberOfSealsLabel = "Number of Seals:";
inline constexpr const char* kModuleFixedTempLabel = "Fixed Process Temp. (RTD):";
inline constexpr const char* kIdentificationCaption = "Identification Information";
inline constexpr const char* kIdentificationGroup = " Transmitter Identification Numbers ";
inline constexpr const char* kManufacturerLabel = "Manufacturer:";
inline constexpr const char* kModelLabel = "Model:";
inline constexpr const char* kTransmitterSerialLabel = "Transmitter Serial Number:";
inline constexpr const char* kSensorSerialLabel = "Sensor Serial Number:";
inline constexpr const char* kRevisionsGroup = " Revisions ";
inline constexpr const char* kUniversalRevisionLabel = "Universal MODBUS Revision:";
inline constexpr const char* kSpecificRevisionLabel = "Xmtr Specific MODBUS Revision:";
inline constexpr const char* kHardwareRevisionLabel = "Hardware Revision:";
inline constexpr const char* kOutputBoardRevisionLabel = "Output Board Software Revision:";
inline constexpr const char* kSensorModuleRevisionLabel = "Sensor Module Software Revision:";
inline constexpr const char* kUnknownCodeFormat = "%i ";
inline constexpr const char* kOutputBoardRevisionFormat = "%u.%u";
inline constexpr const char* kMasterResetCaption = "Transmitter Master Reset";
inline constexpr const char* kSelfTestCaption = "Transmitter Self Test";

}  // namespace texts
