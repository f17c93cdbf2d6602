#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// One fuzz target: its name (the folder of its corpus in fuzz/corpus and of
// its kept findings in tests/data/fuzz) and the check of one input, which
// returns what broke or an empty text.
struct Target {
    const char* name;
    std::string (*check)(const uint8_t* data, size_t size);
};

// Every target, in the order scripts/fuzz.sh runs them.
const Target* Targets(size_t& count);

}  // namespace fuzz
