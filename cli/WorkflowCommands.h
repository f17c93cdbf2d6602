#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/WorkflowContext.h"

// The terminal commands that drive the connect, search, send and receive
// workflows. Each takes the words after the command name, writes its results to
// `out` and its progress to `err` (one updating line on a terminal, a line per
// step elsewhere), and returns the process
// exit status: 0 on success. Failures are shown through the user-interface
// services with their numbered texts. Commands that connect use the address
// given with --address, else the document's polling address, else 1.
namespace cli {

// search: lists every Corvel on the line as "address<TAB>tag<TAB>descriptor".
int SearchCommand(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err);
// connect [ADDRESS]: probes and connects (address 1 by default), prints the tag
// and the access state.
int ConnectCommand(WorkflowContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err);
// receive -o FILE [--address N]: receives the configuration and saves it.
int ReceiveCommand(WorkflowContext& context, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err);
// send FILE [--address N] [--yes]: shows the safety text; writes only with --yes.
int SendCommand(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err);
// change-address OLD NEW
int ChangeAddressCommand(WorkflowContext& context, const std::vector<std::string>& args,
                         std::ostream& out, std::ostream& err);

// One line of help per command, for the program's usage text.
const std::vector<std::string>& WorkflowCommandUsage();

}  // namespace cli
