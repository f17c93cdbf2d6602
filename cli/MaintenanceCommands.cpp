#include "cli/MaintenanceCommands.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <sstream>
#include <thread>

#include "app/WorkflowContext.h"
#include "cli/CConsoleUi.h"
#include "cli/WorkflowCommands.h"
#include "maintenance/CReadOutputsForm.h"
#include "maintenance/CSensorTrimForm.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"

namespace cli {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr unsigned kIdSafetyPrompt = 390;
constexpr int kMinimumTickMs = CReadOutputsForm::kRefreshMs;
constexpr const char* kNeedsYes =
    "Nothing was sent. Place the control loop in MANUAL and repeat the command with --yes.";
constexpr const char* kTrimUsage =
    "trim needs the sensor and the offset: trim DP|SP|PT "
    "offset=VALUE [slope=VALUE] [--yes]\n";
constexpr const char* kStepKeys = "  [Enter: OK, c: cancel]";

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnMaintenanceInterrupt(int) { g_interrupted = 1; }

// Ctrl+C asks the running command to stop at its next step instead of killing
// the program in the middle of an exchange, with the trim mode still on. The
// handler does not restart a waiting read, so the wait ends at once.
class CInterruptGuard {
  public:
    CInterruptGuard() {
        g_interrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnMaintenanceInterrupt;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(SIGINT, &action, &m_previous);
    }
    ~CInterruptGuard() { sigaction(SIGINT, &m_previous, nullptr); }
    CInterruptGuard(const CInterruptGuard&) = delete;
    CInterruptGuard& operator=(const CInterruptGuard&) = delete;

  private:
    struct sigaction m_previous {};
};

bool Interrupted() { return g_interrupted != 0; }

std::optional<std::string> ReadStandardInput(int timeoutMs) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const int ready = poll(&input, 1, timeoutMs);
    if (ready == 0 || (ready < 0 && !Interrupted())) return std::nullopt;
    if (ready < 0) return std::string("c");
    std::string line;
    if (!std::getline(std::cin, line)) return std::string("c");
    return line;
}

bool IsCancel(const std::string& line) { return line == "c" || line == "C"; }

// The terminal's questions for the trim: OK/Cancel questions wait for the
// user; every other box is printed as the console prints it.
class CAskingConsoleUi : public CConsoleUi {
  public:
    CAskingConsoleUi(std::ostream& err, const TrimInput& input)
        : CConsoleUi(err, Questions::Decline), m_err(err), m_input(input) {}

    MsgAnswer MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) override {
        if (buttons != MsgButtons::OkCancel) return CConsoleUi::MessageBox(text, buttons, icon);
        m_err << text << kStepKeys << ' ' << std::flush;
        const std::optional<std::string> line = m_input.readLine(-1);
        m_err << '\n';
        if (line && !IsCancel(*line) && !m_input.interrupted()) return MsgAnswer::Ok;
        m_declined = text;
        return MsgAnswer::Cancel;
    }
    const std::string& Declined() const { return m_declined; }

  private:
    std::ostream& m_err;
    const TrimInput& m_input;
    std::string m_declined;
};

bool ConnectQuietly(WorkflowContext& context, std::ostream& err, int address = 0) {
    std::ostringstream connected;
    std::vector<std::string> args;
    if (address > 0) args.push_back(std::to_string(address));
    return ConnectCommand(context, args, connected, err) == 0;
}

// One step on the terminal: the measured value on one updating line until
// Enter, "c" or Ctrl+C.
CSensorTrimForm::StepResult RunStepOnTerminal(CTrimStepForm& step, bool confirm,
                                              const TrimInput& input, std::ostream& err) {
    using Result = CSensorTrimForm::StepResult;
    err << step.Caption() << ": " << step.Field(CTrimStepForm::kSensorKey)->text << ", "
        << step.Field(CTrimStepForm::kTypeKey)->text << ", entered "
        << step.Field(CTrimStepForm::kEnteredKey)->text << '\n';
    const auto show = [&] {
        err << "\rMeasured Value: " << step.Field(CTrimStepForm::kMeasuredKey)->text
            << (confirm ? "" : kStepKeys) << "   " << std::flush;
    };
    show();
    if (confirm) {
        err << '\n';
        return input.interrupted() ? Result::Interrupted : Result::Ok;
    }
    for (;;) {
        const std::optional<std::string> line = input.readLine(CTrimStepForm::kRefreshMs);
        if (input.interrupted()) {
            err << '\n';
            return Result::Interrupted;
        }
        if (line) {
            err << '\n';
            return IsCancel(*line) ? Result::Cancel : Result::Ok;
        }
        if (!step.Refresh()) {
            err << '\n';
            return Result::Failed;
        }
        show();
    }
}

bool ParseSensor(const std::string& word, int& sensor) {
    static const char* kNames[] = {"DP", "SP", "PT"};
    for (int i = 0; i < 3; ++i) {
        if (word == kNames[i]) {
            sensor = i;
            return true;
        }
    }
    return false;
}

bool ParseCount(const std::string& text, int minimum, int& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 9)
        return false;
    value = std::stoi(text);
    return value >= minimum;
}

void PrintRows(const CReadOutputsForm& form, std::ostream& out) {
    for (int row = 0; row < CReadOutputsForm::kRows; ++row) {
        const std::string& value = form.Field(CReadOutputsForm::ValueKey(row))->text;
        if (value.empty()) continue;
        out << form.Field(CReadOutputsForm::LabelKey(row))->text << ": " << value << ' '
            << form.Field(CReadOutputsForm::UnitsKey(row))->text << '\n';
    }
    out << std::flush;
}

}  // namespace

int RunTrim(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err, const TrimInput& input) {
    int sensor = -1;
    std::optional<std::string> offset;
    std::optional<std::string> slope;
    bool yes = false;
    for (const std::string& arg : args) {
        if (arg == "--yes") {
            yes = true;
        } else if (arg.rfind("offset=", 0) == 0) {
            offset = arg.substr(7);
        } else if (arg.rfind("slope=", 0) == 0) {
            slope = arg.substr(6);
        } else if (sensor >= 0 || !ParseSensor(arg, sensor)) {
            err << "trim: unknown argument \"" << arg << "\"\n" << kTrimUsage;
            return kExitUsage;
        }
    }
    if (sensor < 0 || !offset) {
        err << kTrimUsage;
        return kExitUsage;
    }

    CAskingConsoleUi asking(err, input);
    CConsoleUi confirming(err, CConsoleUi::Questions::AnswerYes);
    CScopedUi scope(yes ? static_cast<IUserInterface&>(confirming)
                        : static_cast<IUserInterface&>(asking));
    if (!ConnectQuietly(context, err)) return kExitFailure;
    CSensorTrimForm form(context.doc);
    form.SetStepRunner(
        [&](CTrimStepForm& step) { return RunStepOnTerminal(step, yes, input, err); });
    if (!form.Open()) return kExitFailure;
    if (!form.SelectSensor(sensor)) {
        if (sensor == 2 && form.PtFixed())
            err << "trim: the transmitter uses a fixed process temperature; PT cannot be trimmed\n";
        return kExitFailure;
    }
    const bool pair = slope.has_value();
    form.SelectTrimType(pair ? CSensorTrimForm::TrimType::OffsetAndSlope
                             : CSensorTrimForm::TrimType::Offset);
    form.SetText(pair ? CSensorTrimForm::kPairOffsetKey : CSensorTrimForm::kOffsetKey, *offset);
    if (pair) form.SetText(CSensorTrimForm::kSlopeKey, *slope);

    const FormOutcome outcome = form.Trim();
    if (outcome.message) {
        err << outcome.message->text << '\n';
        return kExitFailure;
    }
    if (!outcome.settled) {
        if (outcome.result == FormResult::StayOpen &&
            asking.Declined() == LoadString(kIdSafetyPrompt))
            err << kNeedsYes << '\n';
        return kExitFailure;
    }
    for (const char* key : {CSensorTrimForm::kOffsetPointKey, CSensorTrimForm::kSlopePointKey})
        out << key << ": " << form.Field(key)->text << '\n';
    return input.interrupted() ? kExitFailure : 0;
}

int TrimCommand(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err) {
    CInterruptGuard guard;
    return RunTrim(context, args, out, err, {ReadStandardInput, Interrupted});
}

int ReadOutputsCommand(WorkflowContext& context, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err) {
    CInterruptGuard guard;
    const auto sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    return RunReadOutputs(context, args, out, err, {sleep, Interrupted});
}

int RunReadOutputs(WorkflowContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err, const OutputsTiming& timing) {
    int address = 0;
    int count = 1;
    int intervalMs = kMinimumTickMs;
    std::string csv;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue =
            arg == "--address" || arg == "--count" || arg == "--interval" || arg == "--csv";
        if (!takesValue) {
            err << "read-outputs: unknown argument \"" << arg << "\".\n";
            return kExitUsage;
        }
        if (i + 1 >= args.size()) {
            err << "Option " << arg << " needs a value.\n";
            return kExitUsage;
        }
        const std::string& value = args[++i];
        if (arg == "--address" && !ParseCount(value, 1, address)) {
            err << "Not a polling address: \"" << value << "\".\n";
            return kExitUsage;
        }
        if (arg == "--count" && !ParseCount(value, 1, count)) {
            err << "--count needs a whole number of at least 1.\n";
            return kExitUsage;
        }
        if (arg == "--interval" && !ParseCount(value, 0, intervalMs)) {
            err << "--interval needs a whole number of milliseconds.\n";
            return kExitUsage;
        }
        if (arg == "--csv") csv = value;
    }
    // One exchange per tick at most, as in the window.
    const int tickMs = std::max(intervalMs, kMinimumTickMs);

    CConsoleUi ui(err, CConsoleUi::Questions::Decline);
    CScopedUi scope(ui);
    if (!ConnectQuietly(context, err, address)) return kExitFailure;
    CReadOutputsForm form(context.doc);
    if (!form.Open()) return kExitFailure;
    PrintRows(form, out);
    int status = 0;
    for (int shown = 1; shown < count && !timing.interrupted();) {
        timing.sleep(tickMs);
        const int phase = form.Phase();
        if (form.Refresh().result != FormResult::StayOpen) {
            status = kExitFailure;
            break;
        }
        if (phase == 1) {
            PrintRows(form, out);
            ++shown;
        }
    }
    if (!csv.empty() && !maintenance::WriteSamplesCsvFile(csv, form.Samples())) {
        err << "read-outputs: the samples could not be written to " << csv << ".\n";
        status = kExitFailure;
    }
    return status;
}

const std::vector<std::string>& MaintenanceCommandUsage() {
    static const std::vector<std::string> kUsage = {
        "trim DP|SP|PT offset=VALUE [slope=VALUE] [--yes]\n"
        "                              trim a sensor at one point, or two with slope=;\n"
        "                              Enter confirms a step, c cancels it (--yes confirms all)",
    };
    return kUsage;
}

}  // namespace cli
