#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliProgram.h"
#include "platform/CMemorySettingsStore.h"

// What one run of the terminal program gave: its exit status and both outputs.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the terminal program in this process on settings of its own.
inline CliRun Cli(const std::vector<std::string>& args) {
    CMemorySettingsStore store;
    std::ostringstream out, err;
    CliRun run;
    run.status = cli::RunProgram(args, store, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}
