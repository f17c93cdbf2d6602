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

// The usage text listing every command.
std::string ProgramUsage();

}  // namespace cli
