// libFuzzer entry of one target, chosen at build time by CORVEL_FUZZ_TARGET.
// A broken property is a finding: it is printed and the program aborts, so
// libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/FuzzTargets.h"

namespace {

const fuzz::Target& ThisTarget() {
    static const fuzz::Target* found = [] {
        size_t count = 0;
        const fuzz::Target* targets = fuzz::Targets(count);
        for (size_t i = 0; i < count; ++i) {
            if (std::strcmp(targets[i].name, CORVEL_FUZZ_TARGET) == 0) return &targets[i];
        }
        std::fprintf(stderr, "no fuzz target %s\n", CORVEL_FUZZ_TARGET);
        std::abort();
    }();
    return *found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::Target& target = ThisTarget();
    const std::string broken = target.check(data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "%s: %s\n", target.name, broken.c_str());
        std::abort();
    }
    return 0;
}
