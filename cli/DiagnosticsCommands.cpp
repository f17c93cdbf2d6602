#include "cli/DiagnosticsCommands.h"

#include <ostream>
#include <sstream>
#include <thread>

#include "app/WorkflowContext.h"
#include "cli/CConsoleUi.h"
#include "cli/JsonText.h"
#include "cli/WorkflowCommands.h"
#include "diagnostics/CErrorInfoForm.h"
#include "diagnostics/CIdentificationForm.h"
#include "diagnostics/CMasterResetForm.h"
#include "diagnostics/CModuleInfoForm.h"
#include "diagnostics/CSelfTestForm.h"
#include "platform/UiServices.h"

namespace cli {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr const char* kNeedsYes =
    "Nothing was sent. Place the control loop in MANUAL and repeat the command with --yes.";
constexpr const char* kQuestionDeclined =
    "Nothing was written: the question above was answered with Cancel.";

// The options a command takes; false (with the reason on `err`) for any other word.
bool TakeOptions(const char* command, const std::vector<std::string>& args, const char* allowed,
                 bool& given, std::ostream& err) {
    given = false;
    for (const std::string& arg : args) {
        if (allowed != nullptr && arg == allowed) {
            given = true;
        } else {
            err << command << ": unknown argument \"" << arg << "\"\n";
            return false;
        }
    }
    return true;
}

bool ConnectQuietly(WorkflowContext& context, std::ostream& err) {
    std::ostringstream connected;
    return ConnectCommand(context, {}, connected, err) == 0;
}

void PrintFields(const CConfigForm& form, bool json, std::ostream& out) {
    if (!json) {
        for (const FormField& field : form.Fields()) out << field.key << ": " << field.text << '\n';
        return;
    }
    out << '{';
    const char* separator = "";
    for (const FormField& field : form.Fields()) {
        out << separator << JsonString(field.key) << ": " << JsonString(field.text);
        separator = ", ";
    }
    out << "}\n";
}

// Opens a form that only shows, and prints it.
template <typename Form>
int ShowForm(const char* command, WorkflowContext& context, const std::vector<std::string>& args,
             std::ostream& out, std::ostream& err) {
    bool json = false;
    if (!TakeOptions(command, args, "--json", json, err)) return kExitUsage;
    // A view writes nothing: a repair question on the way is answered with Cancel.
    CConsoleUi ui(err, CConsoleUi::Questions::Decline);
    CScopedUi scope(ui);
    if (!ConnectQuietly(context, err)) return kExitFailure;
    Form form(context.doc);
    if (!form.Open()) {
        if (!ui.Declined().empty()) err << kQuestionDeclined << '\n';
        return kExitFailure;
    }
    PrintFields(form, json, out);
    return 0;
}

// Runs the steps of master-reset or self-test as their window's timer would.
// False when the user's answer (no --yes) or a failure ended it early.
bool RunSteps(CTimedForm& form, const CConsoleUi& ui, const StepTiming& timing, std::ostream& err) {
    if (form.Start().result != FormResult::StayOpen) {
        if (!ui.Declined().empty()) err << kNeedsYes << '\n';
        return false;
    }
    err << form.Field(CTimedForm::kStatusKey)->text << '\n' << std::flush;
    FormOutcome outcome;
    do {
        timing.sleep(form.DelayMs());
        outcome = form.Step();
    } while (outcome.result == FormResult::StayOpen);
    return outcome.result == FormResult::Ok;
}

CConsoleUi::Questions QuestionsFor(bool yes) {
    return yes ? CConsoleUi::Questions::AnswerYes : CConsoleUi::Questions::Decline;
}

}  // namespace

StepTiming StepTiming::Real() {
    return {[] { return std::chrono::steady_clock::now(); },
            [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }};
}

int DiagnosticsCommand(WorkflowContext& context, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err) {
    bool unused = false;
    if (!TakeOptions("diagnostics", args, nullptr, unused, err)) return kExitUsage;
    CConsoleUi ui(err, CConsoleUi::Questions::Decline);
    CScopedUi scope(ui);
    if (!ConnectQuietly(context, err)) return kExitFailure;
    CErrorInfoForm form(context.doc);
    if (!form.Open()) return kExitFailure;
    for (const std::string& line : form.Lines()) out << line << '\n';
    return 0;
}

int ModuleInfoCommand(WorkflowContext& context, const std::vector<std::string>& args,
                      std::ostream& out, std::ostream& err) {
    return ShowForm<CModuleInfoForm>("module-info", context, args, out, err);
}

int IdentificationCommand(WorkflowContext& context, const std::vector<std::string>& args,
                          std::ostream& out, std::ostream& err) {
    return ShowForm<CIdentificationForm>("identification", context, args, out, err);
}

int RunMasterReset(WorkflowContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err, const StepTiming& timing) {
    bool yes = false;
    if (!TakeOptions("master-reset", args, "--yes", yes, err)) return kExitUsage;
    CConsoleUi ui(err, QuestionsFor(yes));
    CScopedUi scope(ui);
    if (!ConnectQuietly(context, err)) return kExitFailure;
    CMasterResetForm form(context, timing.clock);
    if (!form.Open()) return kExitFailure;
    if (!RunSteps(form, ui, timing, err) || !form.Answered()) return kExitFailure;
    out << "The transmitter answered after the reset.\n";
    return 0;
}

int RunSelfTest(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err, const StepTiming& timing) {
    bool yes = false;
    if (!TakeOptions("self-test", args, "--yes", yes, err)) return kExitUsage;
    CConsoleUi ui(err, QuestionsFor(yes));
    CScopedUi scope(ui);
    if (!ConnectQuietly(context, err)) return kExitFailure;
    CSelfTestForm form(context.doc);
    form.SetErrorInformationViewer([&out](CErrorInfoForm& errorInformation) {
        for (const std::string& line : errorInformation.Lines()) out << line << '\n';
    });
    if (!form.Open()) return kExitFailure;
    if (!RunSteps(form, ui, timing, err) || !form.Completed()) return kExitFailure;
    return 0;
}

int MasterResetCommand(WorkflowContext& context, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err) {
    return RunMasterReset(context, args, out, err, StepTiming::Real());
}

int SelfTestCommand(WorkflowContext& context, const std::vector<std::string>& args,
                    std::ostream& out, std::ostream& err) {
    return RunSelfTest(context, args, out, err, StepTiming::Real());
}

const std::vector<std::string>& DiagnosticsCommandUsage() {
    static const std::vector<std::string> kUsage = {
        "diagnostics                 the status the transmitter reports, one line each",
        "module-info [--json]        sensor ranges and materials of construction",
        "identification [--json]     identification numbers and revisions",
        "master-reset [--yes]        reset the transmitter and wait for it (--yes confirms)",
        "self-test [--yes]           run the self test and show its status (--yes confirms)",
    };
    return kUsage;
}

}  // namespace cli
