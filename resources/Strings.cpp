#include "resources/Strings.h"

#include <algorithm>
#include <cstdarg>

#include "platform/Numbers.h"
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
    std::string result = platform::FormatV(format, args);
    va_end(args);
    return result;
}
