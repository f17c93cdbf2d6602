#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/ISettingsStore.h"

namespace cli {

// The whole terminal program: common options, then one command and its words.
// Link commands (probe, read) talk to the protocol directly; file commands need
// no port; workflow commands connect through the document and its engines.
// Failures print their numbered texts on `err`; returns the exit status.
int RunProgram(const std::vector<std::string>& args, ISettingsStore& store, std::ostream& out,
               std::ostream& err);

// The usage text listing every command, the options and the exit statuses.
std::string ProgramUsage();
// The usage of one command (its lines, the options and the exit statuses);
// empty when there is no such command.
std::string CommandUsage(const std::string& command);
// "corvel-cli 5.0.0.7" and a line end.
std::string VersionText();

}  // namespace cli
