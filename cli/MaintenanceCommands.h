#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

struct WorkflowContext;

// The terminal's twins of the maintenance windows, over the same forms:
//   trim DP|SP|PT offset=VALUE [slope=VALUE] [--yes]
//       an offset trim, or with slope= an offset and slope trim. Without
//       --yes the safety prompt and each step wait for the user: a step shows
//       the measured value every 250 ms on one line, Enter confirms it and
//       "c" cancels it. --yes answers the prompt and confirms every step.
//       The trim mode is off at the end of every path, Ctrl+C included.
//   read-outputs [--address N] [--count N] [--interval MS] [--csv FILE]
//       the Read Outputs window's two-phase refresh, one exchange per tick at
//       most (a tick lasts at least 250 ms); --csv writes every sample as the
//       window's export does.
// `get|set fixed-pt` run through the configuration commands.
namespace cli {

// What the trim command reads from the user and how it waits.
struct TrimInput {
    // A line typed within `timeoutMs` (-1: no limit); nullopt when none came
    // in time. End of input reads as "c".
    std::function<std::optional<std::string>(int timeoutMs)> readLine;
    // True once Ctrl+C was pressed.
    std::function<bool()> interrupted;
};

// How read-outputs waits between its ticks.
struct OutputsTiming {
    std::function<void(int ms)> sleep;
    std::function<bool()> interrupted;
};

int TrimCommand(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err);
int RunTrim(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err, const TrimInput& input);

int ReadOutputsCommand(WorkflowContext& context, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err);
int RunReadOutputs(WorkflowContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err, const OutputsTiming& timing);

// One line of help per command, for the program's usage text.
const std::vector<std::string>& MaintenanceCommandUsage();

}  // namespace cli
