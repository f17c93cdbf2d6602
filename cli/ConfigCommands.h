#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct WorkflowContext;

// The terminal's twins of the configuration windows, over the same forms:
//   get AREA [--json] [--file CONFIG.cmm]
//   set AREA KEY=VALUE... [--yes] [--file CONFIG.cmm]
// With --file the form runs in Setup mode on the file, which `set` saves
// safely when something changed; without it, in Transmitter mode on the
// connected transmitter. The window's own texts go to `err`. Exit status: 0
// done, 1 refused or failed (nothing written where the window would have
// written nothing), 2 usage error.
namespace cli {

// True when the words of get/set name a file (Setup mode, no link needed).
bool ConfigCommandOnFile(const std::vector<std::string>& words);

// get/set on a file.
int ConfigFileCommand(const std::string& command, const std::vector<std::string>& words,
                      std::ostream& out, std::ostream& err);
// get/set on the transmitter at the document's polling address.
int ConfigTransmitterCommand(const std::string& command, WorkflowContext& context,
                             const std::vector<std::string>& words, std::ostream& out,
                             std::ostream& err);

// The usage lines of get and set, with their areas.
std::string ConfigCommandUsage();

}  // namespace cli
