#include "resources/Strings.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "resources/StringTable.h"

namespace {

const StringEntry* Find(unsigned id) {
    const StringEntry* begin = kStringTable;
    const StringEntry* end = kStringTable + kStringTableSize;
    const StringEntry* it =
        std::lower_bound(begin, end, id, [](const StringEntry& e, unsigned v) { return e.id < v; });
    return (it != end && it->id == id) ? it : nullptr;
}

}  // namespace

std::string LoadString(unsigned id) {
    const StringEntry* entry = Find(id);
    return entry ? entry->text : std::string();
}

bool HasString(unsigned id) { return Find(id) != nullptr; }

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
    return result;
}
