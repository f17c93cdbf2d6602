#include "cli/CliProgram.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/CChangeLog.h"
#include "app/CMVDoc.h"
#include "app/CSecurity.h"
#include "app/ChangeLogQuery.h"
#include "app/WorkflowContext.h"
#include "cli/ConfigCommands.h"
#include "cli/ConfigFileCommands.h"
#include "cli/DiagnosticsCommands.h"
#include "cli/DiffCommand.h"
#include "cli/LinkCommands.h"
#include "cli/MaintenanceCommands.h"
#include "cli/ReportCommand.h"
#include "cli/SecurityCommands.h"
#include "cli/ShowDeviceCommand.h"
#include "cli/WorkflowCommands.h"
#include "flow/CLiquidFlow.h"
#include "flow/FlowTestFiles.h"
#include "link/ErrorReport.h"
#include "link/LinkSettings.h"
#include "platform/COverlaySettingsStore.h"
#include "platform/SerialPortList.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

#ifdef CORVEL_CLI_SIMULATOR
#include "sim/CSimLine.h"
#endif

namespace cli {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr const char* kExitStatusUsage =
    "exit status:\n"
    "  0  done\n"
    "  1  failed or refused\n"
    "  2  usage error\n";

using WorkflowCommand = int (*)(WorkflowContext&, const std::vector<std::string>&, std::ostream&,
                                std::ostream&);

bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
    auto it = std::find(args.begin(), args.end(), flag);
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

// Takes "--name VALUE" out of args; empty when absent.
std::string TakeOption(std::vector<std::string>& args, const std::string& name) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end() || it + 1 == args.end()) return std::string();
    std::string value = *(it + 1);
    args.erase(it, it + 2);
    return value;
}

int FileCommand(const std::string& command, std::vector<std::string> args, std::ostream& out,
                std::ostream& err) {
    if (command == "new" && args.size() == 1) return NewConfig(args[0]);
    if (command == "copy" && args.size() == 2) return CopyConfig(args[0], args[1]);
    if (command == "show") {
        const bool json = TakeFlag(args, "--json");
        if (args.size() == 1) return ShowConfig(args[0], out, json);
    }
    err << "corvel-cli: wrong arguments for " << command << '\n' << ProgramUsage();
    return kExitUsage;
}

// flow-test-files [IN.cmm] [--dir D] [--liquid]: the fits and the coefficient
// array of a configuration (a new document's gas or liquid defaults when no
// file is given), written as the flow test files.
int FlowTestFilesCommand(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
    const bool liquid = TakeFlag(args, "--liquid");
    std::string directory = TakeOption(args, "--dir");
    if (directory.empty()) directory = ".";
    if (args.size() > 1) {
        err << "corvel-cli: flow-test-files takes at most one file\n";
        return kExitUsage;
    }
    try {
        CMVDoc doc;
        if (args.size() == 1) {
            doc.Open(args[0]);
        } else if (liquid) {
            doc.Transmitter().SetFlow(std::make_unique<CLiquidFlow>());
        }
        out << texts::kWritingFlowTestFiles << '\n';
        if (!flow::WriteFlowTestFiles(doc.Transmitter().Flow(), directory)) return kExitFailure;
        for (const char* name : {"1-gas.txt", "1-liquid.txt", "162-send.txt"}) {
            const auto path = std::filesystem::path(directory) / name;
            if (std::filesystem::exists(path)) out << path.string() << '\n';
        }
        return 0;
    } catch (const std::exception& e) {
        ReportException(e);
        return kExitFailure;
    }
}

// ports: the host communication list, one per line, with the device each opens.
// CORVEL_DEVICE_ROOT puts a folder before the device folders searched.
int PortsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "corvel-cli: ports takes no arguments\n";
        return kExitUsage;
    }
    const char* root = std::getenv("CORVEL_DEVICE_ROOT");
    for (const SerialPortChoice& port : platform::ListSerialPorts(root ? root : "")) {
        out << (port.devicePath.empty() ? port.label : port.devicePath) << " -> " << port.resolvesTo
            << '\n';
    }
    return 0;
}

// log [--tag T] [--since YYYY-MM-DD] [--json]: the change log, newest first.
int LogCommand(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
    const bool json = TakeFlag(args, "--json");
    changelog::Filter filter;
    for (const char* option : {"--tag", "--since"}) {
        const bool given = std::find(args.begin(), args.end(), option) != args.end();
        const std::string value = TakeOption(args, option);
        if (given && value.empty()) {
            err << "corvel-cli: " << option << " needs a value\n";
            return kExitUsage;
        }
        (std::string(option) == "--tag" ? filter.tag : filter.since) = value;
    }
    if (!filter.since.empty() && !changelog::IsDate(filter.since)) {
        err << "corvel-cli: --since needs a date written YYYY-MM-DD, not \"" << filter.since
            << "\"\n";
        return kExitUsage;
    }
    if (!args.empty()) {
        err << "corvel-cli: log does not take \"" << args.front() << "\"\n";
        return kExitUsage;
    }
    size_t skipped = 0;
    const std::vector<ChangeRecord> records =
        changelog::Select(CChangeLog::Read(ChangeLog().Path(), &skipped), filter);
    if (skipped > 0) err << "corvel-cli: " << skipped << " damaged line(s) of the log skipped\n";
    if (json) {
        out << "[";
        for (size_t i = 0; i < records.size(); ++i)
            out << (i == 0 ? "\n  " : ",\n  ") << CChangeLog::ToJson(records[i]);
        out << (records.empty() ? "]\n" : "\n]\n");
        return 0;
    }
    for (const ChangeRecord& record : records) out << changelog::TerminalLine(record) << '\n';
    return 0;
}

int GetOnTransmitter(WorkflowContext& context, const std::vector<std::string>& words,
                     std::ostream& out, std::ostream& err) {
    return ConfigTransmitterCommand("get", context, words, out, err);
}

int SetOnTransmitter(WorkflowContext& context, const std::vector<std::string>& words,
                     std::ostream& out, std::ostream& err) {
    return ConfigTransmitterCommand("set", context, words, out, err);
}

WorkflowCommand FindWorkflowCommand(const std::string& command) {
    if (command == "search") return SearchCommand;
    if (command == "connect") return ConnectCommand;
    if (command == "receive") return ReceiveCommand;
    if (command == "send") return SendCommand;
    if (command == "change-address") return ChangeAddressCommand;
    if (command == "read-outputs") return ReadOutputsCommand;
    if (command == "get") return GetOnTransmitter;
    if (command == "set") return SetOnTransmitter;
    if (command == "login") return LogInCommand;
    if (command == "security") return SecurityCommand;
    if (command == "diagnostics") return DiagnosticsCommand;
    if (command == "module-info") return ModuleInfoCommand;
    if (command == "identification") return IdentificationCommand;
    if (command == "master-reset") return MasterResetCommand;
    if (command == "self-test") return SelfTestCommand;
    if (command == "trim") return TrimCommand;
    if (command == "diff") return DiffTransmitterCommand;
    if (command == "report") return ReportDeviceCommand;
    return nullptr;
}

int ShowDeviceWorkflow(WorkflowContext& context, const std::vector<std::string>& words,
                       std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = words;
    const bool json = TakeFlag(args, "--json");
    // Connect the way the connect command does, with its output kept back.
    std::ostringstream connected;
    if (ConnectCommand(context, args, connected, err) != 0) return kExitFailure;
    return ShowDevice(context.Model(), out, json);
}

// The command word of the arguments: the first that is neither an option nor
// an option's value; empty when there is none.
std::string CommandWord(const std::vector<std::string>& args, size_t* at = nullptr) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--port" || arg == "--baud" || arg == "--address") {
            ++i;
        } else if (arg.empty() || arg[0] != '-') {
            if (at != nullptr) *at = i;
            return arg;
        }
    }
    return {};
}

// --version, --help, -h and help [COMMAND] are answered before anything else:
// the usage (of one command when one is named) on stdout and status 0. An
// unknown command named there is a usage error. nullopt for every other
// command line.
std::optional<int> HelpOrVersion(const std::vector<std::string>& args, std::ostream& out,
                                 std::ostream& err) {
    const auto has = [&args](const char* flag) {
        return std::find(args.begin(), args.end(), flag) != args.end();
    };
    if (has("--version")) {
        out << VersionText();
        return 0;
    }
    size_t commandAt = 0;
    std::string command = CommandWord(args, &commandAt);
    const bool helpWord = command == "help";
    if (!helpWord && !has("--help") && !has("-h")) return std::nullopt;
    if (helpWord) {
        const std::vector<std::string> rest(args.begin() + static_cast<long>(commandAt) + 1,
                                            args.end());
        command = CommandWord(rest);
    }
    if (command.empty() || command == "help") {
        out << ProgramUsage();
        return 0;
    }
    const std::string usage = CommandUsage(command);
    if (usage.empty()) {
        err << "corvel-cli: unknown command \"" << command << "\"\n" << ProgramUsage();
        return kExitUsage;
    }
    out << usage;
    return 0;
}

}  // namespace

std::string ProgramUsage() {
    // The link commands' usage, with the other commands before its options.
    const std::string link = Usage();
    const size_t firstLineEnd = link.find('\n') + 1;
    size_t optionsAt = link.find("options:\n");
    if (optionsAt == std::string::npos) optionsAt = link.size();

    std::string usage = link.substr(0, firstLineEnd);
    usage +=
        "       corvel-cli --help | -h | help [COMMAND]\n"
        "       corvel-cli --version\n";
    usage += link.substr(firstLineEnd, optionsAt - firstLineEnd);
    usage +=
        "configuration files:\n"
        "  new OUT                     write a default configuration\n"
        "  copy IN OUT                 load IN and save it as OUT\n"
        "  show IN [--json]            print every field of a configuration\n"
        "  flow-test-files [IN] [--dir D] [--liquid]\n"
        "                              write the flow test files of a configuration\n"
        "  ports                       list the serial ports and the device each opens\n"
        "  log [--tag T] [--since YYYY-MM-DD] [--json]\n"
        "                              the change log of writes to transmitters, newest first\n";
    usage += DiffCommandUsage();
    usage += ReportCommandUsage();
    usage +=
        "transmitters:\n"
        "  show-device [--json]        read and print every area of the transmitter\n";
    for (const std::string& line : WorkflowCommandUsage()) usage += "  " + line + "\n";
    for (const std::string& line : SecurityCommandUsage()) usage += "  " + line + "\n";
    usage += "configuration windows:\n" + ConfigCommandUsage();
    usage += "maintenance:\n";
    for (const std::string& line : MaintenanceCommandUsage()) usage += "  " + line + "\n";
    usage += "diagnostics:\n";
    for (const std::string& line : DiagnosticsCommandUsage()) usage += "  " + line + "\n";
    usage += link.substr(optionsAt);
    usage += kExitStatusUsage;
    return usage;
}

std::string CommandUsage(const std::string& command) {
    std::istringstream lines(ProgramUsage());
    std::string line;
    std::string head;
    std::string found;
    std::string tail;
    bool inHead = true;
    bool inTail = false;
    bool inCommand = false;
    while (std::getline(lines, line)) {
        // The usage lines first, the options and exit statuses last.
        if (inHead && (line.rfind("usage:", 0) == 0 || line.rfind("       ", 0) == 0)) {
            head += line + '\n';
            continue;
        }
        inHead = false;
        if (line == "options:") inTail = true;
        if (inTail) {
            tail += line + '\n';
            continue;
        }
        // A command's line starts with two blanks and its name; the lines
        // indented deeper that follow it continue its description.
        if (line.size() > 2 && line.rfind("  ", 0) == 0 && line[2] != ' ') {
            const std::string rest = line.substr(2);
            inCommand = rest.compare(0, command.size(), command) == 0 &&
                        (rest.size() == command.size() || rest[command.size()] == ' ');
        } else if (line.rfind("    ", 0) != 0) {
            inCommand = false;
        }
        if (inCommand) found += line + '\n';
    }
    if (found.empty()) return {};
    return head + "command:\n" + found + tail;
}

std::string VersionText() { return std::string("corvel-cli ") + CORVEL_VERSION + "\n"; }

int RunProgram(const std::vector<std::string>& arguments, ISettingsStore& store, std::ostream& out,
               std::ostream& err) {
    if (const std::optional<int> status = HelpOrVersion(arguments, out, err)) return *status;
    std::vector<std::string> args = arguments;
    const bool addressGiven = std::find(args.begin(), args.end(), "--address") != args.end();
    LinkOptions options;
    std::string error;
    if (!ParseLinkOptions(args, options, error)) {
        err << "corvel-cli: " << error << '\n' << ProgramUsage();
        return kExitUsage;
    }
    if (args.empty()) {
        out << ProgramUsage();
        return 0;
    }
    const std::string command = args.front();
    std::vector<std::string> words(args.begin() + 1, args.end());

    if (command == "probe" || command == "read") return RunCli(arguments, store, out, err);
    if (command == "new" || command == "copy" || command == "show")
        return FileCommand(command, words, out, err);
    if (command == "flow-test-files") return FlowTestFilesCommand(words, out, err);
    if (command == "ports") return PortsCommand(words, out, err);
    if (command == "log") return LogCommand(words, out, err);
    if ((command == "get" || command == "set") && ConfigCommandOnFile(words))
        return ConfigFileCommand(command, words, out, err);
    if (command == "diff" && DiffOnFiles(words)) return DiffFilesCommand(words, out, err);
    if (command == "report" && !ReportOnDevice(words)) return ReportFileCommand(words, out, err);

    WorkflowCommand run = FindWorkflowCommand(command);
    if (!run && command != "show-device") {
        err << "corvel-cli: unknown command \"" << command << "\"\n" << ProgramUsage();
        return kExitUsage;
    }

    // The command line's port and bit rate, and a simulated line, are laid over
    // the stored settings for this run only.
    COverlaySettingsStore settings(store);
    const PortSettings port = PortSettingsFor(options, store);
    settings.Overlay().WriteInt(settingskeys::kCommPort, settingskeys::kPortNumber, port.port);
    settings.Overlay().WriteString(settingskeys::kCommPort, settingskeys::kDevicePath,
                                   port.devicePath);
    if (options.baud != 0) {
        settings.Overlay().WriteString(settingskeys::kCommPort, settingskeys::kBitRate,
                                       std::to_string(options.baud));
    }
#ifdef CORVEL_CLI_SIMULATOR
    std::unique_ptr<CSimLine> line;
    if (options.simulate) {
        line = std::make_unique<CSimLine>();
        std::string reason;
        if (!line->Start(&reason)) {
            err << "corvel-cli: the simulated transmitter did not start: " << reason << '\n';
            return kExitFailure;
        }
        line->AddTransmitter(options.address);
        settings.Overlay().WriteString(settingskeys::kCommPort, settingskeys::kDevicePath,
                                       line->SlavePath());
    }
#else
    if (options.simulate) {
        err << "corvel-cli: this build has no simulated transmitter\n";
        return kExitFailure;
    }
#endif

    CMVDoc doc;
    CSecurity security;
    WorkflowContext context{doc, settings, security, {}};
    if (addressGiven) doc.SetPollingAddress(options.address);
    const int status =
        run ? run(context, words, out, err) : ShowDeviceWorkflow(context, words, out, err);
    if (context.Comm().HasProtocol()) context.Comm().Protocol().Close();
    return status;
}

}  // namespace cli
