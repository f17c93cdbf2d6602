#include "platform/DebugTrace.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

namespace trace {
namespace {
std::mutex g_mutex;
Sink g_sink;
}  // namespace

void SetSink(Sink sink) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_sink = std::move(sink);
}

bool Enabled() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return static_cast<bool>(g_sink);
}

void Write(const char* format, ...) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_sink) return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        g_sink(std::string(buffer.data(), static_cast<size_t>(needed)));
    }
    va_end(args);
}

}  // namespace trace
