#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct WorkflowContext;

// report: the commissioning report of a configuration as PDF (or HTML).
//   report CONFIG.cmm -o REPORT.pdf [--html]
//   report --device -o REPORT.pdf [--html]   the connected transmitter's configuration
// Exit status: 0 written, 1 failed, 2 usage error.
namespace cli {

// True when the words ask for the transmitter's configuration (--device).
bool ReportOnDevice(const std::vector<std::string>& words);
int ReportFileCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);
int ReportDeviceCommand(WorkflowContext& context, const std::vector<std::string>& words,
                        std::ostream& out, std::ostream& err);

std::string ReportCommandUsage();

}  // namespace cli
