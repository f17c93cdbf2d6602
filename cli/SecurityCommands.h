#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct WorkflowContext;

// The terminal's log-in and security switch, with the window's rules and texts.
// A password given on the command line answers the password prompt, the one
// after connecting as well; without one the prompt reads the terminal. No
// password is ever printed or kept.
namespace cli {

// login PASSWORD: connects and prints the access state the password gives.
// Status 0 for High or Medium, or when security is not in force; 1 when the
// password was refused (level Low) or the connection failed.
int LogInCommand(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err);

// security enable|disable [--password P] [--yes]: switches security as the
// Enable/Disable Security command does, which is offered at level High or with
// security off. Without --yes its question is answered Cancel and nothing is
// written. Prints the access state reached.
int SecurityCommand(WorkflowContext& context, const std::vector<std::string>& args,
                    std::ostream& out, std::ostream& err);

// One line of help per command, for the program's usage text.
const std::vector<std::string>& SecurityCommandUsage();

}  // namespace cli
