#pragma once

#include <cstddef>

struct StringEntry {
    unsigned id;
    const char* text;
};

// Sorted by id (checked by a test); defined in StringTable.cpp.
extern const StringEntry kStringTable[];
extern const size_t kStringTableSize;
