#include "cli/WorkflowCommands.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ostream>
#include <thread>

#include "app/CAddressChangeEngine.h"
#include "app/CConnectEngine.h"
#include "app/CMVDoc.h"
#include "app/CReceiveEngine.h"
#include "app/CSearchEngine.h"
#include "app/CSendEngine.h"
#include "cli/CProgressPrinter.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"
#include "transmitter/VariableNames.h"
#include "units/CUnit.h"

namespace {

constexpr unsigned kIdSafetyPrompt = 390;
constexpr unsigned kIdNoResponse = 725;
constexpr unsigned kIdNotCorvel = 2100;
constexpr const char* kNoTransmittersFound = "No transmitters found.";
constexpr const char* kLowAccessRefused =
    "Sending or receiving a configuration needs an access level above Low.";
constexpr const char* kSendNeedsConfirmation =
    "Nothing was sent. Place the control loop in MANUAL and repeat the command with --yes.";

// Status-bar texts of the access states 0..5.
constexpr unsigned kAccessTextIds[] = {59145, 59146, 59147, 59148, 59150, 59149};

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) { g_interrupted = 1; }

// Ctrl+C requests a cancel between steps instead of killing the program in the
// middle of an exchange.
class CInterruptGuard {
  public:
    CInterruptGuard() {
        g_interrupted = 0;
        m_previous = std::signal(SIGINT, OnInterrupt);
    }
    ~CInterruptGuard() { std::signal(SIGINT, m_previous); }
    CInterruptGuard(const CInterruptGuard&) = delete;
    CInterruptGuard& operator=(const CInterruptGuard&) = delete;

  private:
    void (*m_previous)(int) = SIG_DFL;
};

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || parsed < -2147483647L || parsed > 2147483647L) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseAddress(const std::string& text, int& address, std::ostream& err) {
    if (ParseInt(text, address) && address >= CConnectEngine::kFirstAddress &&
        address <= CConnectEngine::kLastAddress) {
        return true;
    }
    err << "Not a polling address: \"" << text << "\". Please enter an integer between "
        << CConnectEngine::kFirstAddress << " and " << CConnectEngine::kLastAddress << ".\n";
    return false;
}

// The value after an option such as --count; false with a message when missing.
bool OptionValue(const std::vector<std::string>& args, size_t& i, std::string& value,
                 std::ostream& err) {
    if (i + 1 >= args.size()) {
        err << "Option " << args[i] << " needs a value.\n";
        return false;
    }
    value = args[++i];
    return true;
}

// Runs an engine to its end; Ctrl+C cancels between steps.
WorkflowResult Drive(CWorkflowEngine& engine, std::ostream& err) {
    CInterruptGuard guard;
    cli::CProgressPrinter progress(err, cli::IsTerminal(err));
    while (engine.Step()) {
        progress.Show(engine);
        if (g_interrupted) engine.RequestCancel();
    }
    progress.Show(engine);
    progress.End();
    return engine.Result();
}

// The document's polling address when it holds one (the terminal program puts
// its --address there), else address 1.
int DefaultAddress(WorkflowContext& context) {
    const int address = context.doc.PollingAddress();
    return address >= CConnectEngine::kFirstAddress && address <= CConnectEngine::kLastAddress
               ? address
               : CConnectEngine::kFirstAddress;
}

std::string TrimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
    return text;
}

std::string AccessStateText(int state) {
    if (state < 0 || state > 5) return std::string();
    return LoadString(kAccessTextIds[state]);
}

// Probes and connects; false after the failure has been shown.
bool ConnectAt(WorkflowContext& context, int address) {
    CConnectEngine connect(context);
    try {
        switch (connect.Probe(address)) {
            case CConnectEngine::kCorvel:
                break;
            case CConnectEngine::kOtherDevice:
                Ui().MessageBox(LoadString(kIdNotCorvel), MsgButtons::Ok, MsgIcon::Stop);
                return false;
            default:
                Ui().MessageBox(LoadString(kIdNoResponse), MsgButtons::Ok, MsgIcon::Stop);
                return false;
        }
        connect.DropDevice();
        connect.ConnectTo(address);
    } catch (const std::exception& e) {
        ReportException(e);
        return false;
    }
    connect.LogInAfterConnect();
    return true;
}

// Connects for a send or receive, which need a level above Low.
bool ConnectForTransfer(WorkflowContext& context, int address, std::ostream& err) {
    if (!ConnectAt(context, address)) return false;
    if (context.AccessState() == app::kAccessLow) {
        err << kLowAccessRefused << '\n';
        return false;
    }
    return true;
}

}  // namespace

namespace cli {

int SearchCommand(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err) {
    if (!args.empty()) {
        err << "search takes no arguments.\n";
        return 2;
    }
    CSearchEngine search(context);
    const WorkflowResult result = Drive(search, err);
    for (const std::string& line : search.FoundLines()) out << line.substr(1) << '\n';
    if (result != WorkflowResult::Done) return 1;
    if (search.FoundAddresses().empty()) out << kNoTransmittersFound << '\n';
    return 0;
}

int ConnectCommand(WorkflowContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
    int address = DefaultAddress(context);
    if (args.size() > 1) {
        err << "connect takes at most one address.\n";
        return 2;
    }
    if (args.size() == 1 && !ParseAddress(args[0], address, err)) return 2;
    if (!ConnectAt(context, address)) return 1;
    out << "Address: " << context.Comm().CurrentPollingAddress() << '\n';
    out << "Tag: " << TrimRight(context.Comm().CurrentTag()) << '\n';
    out << AccessStateText(context.AccessState()) << '\n';
    return 0;
}

int ReceiveCommand(WorkflowContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
    std::string file;
    int address = DefaultAddress(context);
    for (size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if (args[i] == "-o" || args[i] == "--output") {
            if (!OptionValue(args, i, file, err)) return 2;
        } else if (args[i] == "--address") {
            if (!OptionValue(args, i, value, err) || !ParseAddress(value, address, err)) return 2;
        } else {
            err << "receive: unknown argument \"" << args[i] << "\".\n";
            return 2;
        }
    }
    if (file.empty()) {
        err << "receive needs the file to write: receive -o FILE\n";
        return 2;
    }
    if (!ConnectForTransfer(context, address, err)) return 1;
    CReceiveEngine receive(context);
    // The terminal's document holds nothing unsaved: there is nothing to ask.
    if (!receive.Start([] { return true; })) return 1;
    if (Drive(receive, err) != WorkflowResult::Done) return 1;
    try {
        context.doc.Save(file);
    } catch (const std::exception& e) {
        ReportException(e);
        return 1;
    }
    out << "Received " << TrimRight(context.Comm().CurrentTag()) << " into " << file << '\n';
    return 0;
}

int SendCommand(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err) {
    std::string file;
    int address = DefaultAddress(context);
    bool confirmed = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if (args[i] == "--yes") {
            confirmed = true;
        } else if (args[i] == "--address") {
            if (!OptionValue(args, i, value, err) || !ParseAddress(value, address, err)) return 2;
        } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
            file = args[i];
        } else {
            err << "send: unknown argument \"" << args[i] << "\".\n";
            return 2;
        }
    }
    if (file.empty()) {
        err << "send needs the configuration file: send FILE [--yes]\n";
        return 2;
    }
    try {
        context.doc.Open(file);
    } catch (const std::exception& e) {
        ReportException(e);
        return 1;
    }
    out << LoadString(kIdSafetyPrompt) << '\n';
    if (!confirmed) {
        err << kSendNeedsConfirmation << '\n';
        return 1;
    }
    if (!ConnectForTransfer(context, address, err)) return 1;
    CSendEngine send(context);
    send.StartConfirmed();
    const WorkflowResult result = Drive(send, err);
    out << LoadString(CSendEngine::OutcomeTextId(result)) << '\n';
    return result == WorkflowResult::Done ? 0 : 1;
}

int ChangeAddressCommand(WorkflowContext& context, const std::vector<std::string>& args,
                         std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        err << "change-address needs the old and the new address: change-address OLD NEW\n";
        return 2;
    }
    int oldAddress = 0;
    int newAddress = 0;
    if (!ParseAddress(args[0], oldAddress, err) || !ParseAddress(args[1], newAddress, err)) {
        return 2;
    }
    CAddressChangeEngine change(context, oldAddress, newAddress);
    if (Drive(change, err) != WorkflowResult::Done) return 1;
    out << "Transmitter " << TrimRight(context.Comm().CurrentTag()) << " now answers at address "
        << context.Comm().CurrentPollingAddress() << '\n';
    return 0;
}

const std::vector<std::string>& WorkflowCommandUsage() {
    static const std::vector<std::string> kUsage = {
        "search                      list the transmitters on the line",
        "connect [ADDRESS]           connect (address 1 by default), show tag and access",
        "receive -o FILE [--address N]\n"
        "                              receive the configuration into FILE",
        "send FILE [--address N] [--yes]\n"
        "                              send FILE's configuration (--yes confirms)",
        "change-address OLD NEW      move a transmitter to another polling address",
        "read-outputs [--address N] [--count N] [--interval MS] [--csv FILE]\n"
        "                              live values of the assigned variables",
    };
    return kUsage;
}

}  // namespace cli
