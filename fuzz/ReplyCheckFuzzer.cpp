// libFuzzer entry: random replies to the master's reply check.
#include <cstdio>
#include <cstdlib>

#include "fuzz/ReplyCheckTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string broken = fuzz::CheckReplyInput(data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
