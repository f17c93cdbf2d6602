#pragma once

#include <functional>
#include <string>

// Diagnostic trace with fixed texts. Off by default: nothing is written unless a
// sink is installed (a developer switches it on to follow the link).
namespace trace {

using Sink = std::function<void(const std::string&)>;

void SetSink(Sink sink);  // an empty sink switches the trace off
bool Enabled();

// printf-style; formats only when a sink is installed.
void Write(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace trace
