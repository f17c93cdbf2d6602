#pragma once

#include "platform/CException.h"
#include "platform/DebugTrace.h"

namespace units {

// A conversion met a unit outside its class: the trace line (written only while
// the trace is on), then the not-supported failure.
[[noreturn]] inline void IllegalUnits(const char* traceText) {
    trace::Write("%s", traceText);
    throw CNotSupportedException();
}

}  // namespace units
