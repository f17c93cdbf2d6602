#include "platform/SystemError.h"

#include <cstdio>
#include <cstring>

std::string SystemErrorText(unsigned long code) {
    char buffer[256];
    const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    char rc[48];
    std::snprintf(rc, sizeof rc, "(RC = %lu)", code);
    // The line break stands where the platform text ends its own line.
    return std::string(text) + "\n" + rc;
}
