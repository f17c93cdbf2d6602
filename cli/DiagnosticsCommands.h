#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

struct WorkflowContext;

// The terminal's twins of the Diagnostics windows, over the same forms, on the
// transmitter at the document's polling address:
//   diagnostics                 the Error Information list, one line each
//   module-info [--json]        Module Information, "key: value" lines or JSON
//   identification [--json]     Identification Information, the same way
//   master-reset [--yes]        the reset and the wait for the transmitter
//   self-test [--yes]           the self test and the status it leaves
// Without --yes master-reset and self-test print the safety text and send
// nothing. The window's texts go to `err`, results to `out`. Exit status: 0
// done, 1 refused or failed, 2 usage error.
namespace cli {

// How master-reset and self-test wait between their steps.
struct StepTiming {
    // The clock of the master-reset wait.
    std::function<std::chrono::steady_clock::time_point()> clock;
    std::function<void(int ms)> sleep;

    // The steady clock and a real sleep.
    static StepTiming Real();
};

int DiagnosticsCommand(WorkflowContext& context, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err);
int ModuleInfoCommand(WorkflowContext& context, const std::vector<std::string>& args,
                      std::ostream& out, std::ostream& err);
int IdentificationCommand(WorkflowContext& context, const std::vector<std::string>& args,
                          std::ostream& out, std::ostream& err);
int MasterResetCommand(WorkflowContext& context, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err);
int SelfTestCommand(WorkflowContext& context, const std::vector<std::string>& args,
                    std::ostream& out, std::ostream& err);
// The same two on a timing of the caller's choosing.
int RunMasterReset(WorkflowContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err, const StepTiming& timing);
int RunSelfTest(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err, const StepTiming& timing);

// One line of help per command, for the program's usage text.
const std::vector<std::string>& DiagnosticsCommandUsage();

}  // namespace cli
