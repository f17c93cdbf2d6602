#include "config/FormNumbers.h"

#include <cmath>
#include <limits>

#include "platform/Numbers.h"
#include "resources/Strings.h"

namespace config {

bool ParseFloat(const std::string& text, float& value) {
    double parsed = 0.0;
    if (!platform::ParseDouble(text, parsed)) return false;
    if (std::fabs(parsed) > std::numeric_limits<float>::max()) return false;
    value = static_cast<float>(parsed);
    return true;
}

std::string LimitText(double value) { return FormatText("%g", value); }

std::vector<std::string> SplitParts(const std::string& value) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t colon = value.find(':', start);
        parts.push_back(value.substr(start, colon - start));
        if (colon == std::string::npos) return parts;
        start = colon + 1;
    }
}

}  // namespace config
