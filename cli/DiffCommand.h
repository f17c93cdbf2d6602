#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct WorkflowContext;

// diff: the values that differ between two configurations, one line per value
// ("DP.damping: 0.4 seconds -> 2.5 seconds"), or a JSON object with --json.
//   diff A.cmm B.cmm [--json]   two configuration files
//   diff A.cmm [--json]         the file against the connected transmitter
// Exit status as diff's: 0 equal, 1 different, 2 trouble (usage, a file that
// cannot be loaded, a transmitter that cannot be read).
namespace cli {

// True when the words name two files (no link needed).
bool DiffOnFiles(const std::vector<std::string>& words);
int DiffFilesCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
int DiffTransmitterCommand(WorkflowContext& context, const std::vector<std::string>& words,
                           std::ostream& out, std::ostream& err);

std::string DiffCommandUsage();

}  // namespace cli
