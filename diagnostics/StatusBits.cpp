#include "diagnostics/StatusBits.h"

#include "resources/Strings.h"
#include "resources/Texts.h"

namespace diagnostics {

const std::array<StatusBit, 8 * kStatusByteCount>& StatusBitTable() {
    static const std::array<StatusBit, 8 * kStatusByteCount> table = {{
        {0, 0, 3046}, {0, 1, 3045}, {0, 2, 3044}, {0, 3, 3043}, {0, 4, 3042}, {0, 5, 3066},
        {0, 6, 3065}, {0, 7, 3040}, {1, 0, 3010}, {1, 1, 3053}, {1, 2, 3052}, {1, 3, 3051},
        {1, 4, 3050}, {1, 5, 3049}, {1, 6, 3048}, {1, 7, 3047}, {2, 0, 3064}, {2, 1, 3059},
        {2, 2, 3058}, {2, 3, 3057}, {2, 4, 3056}, {2, 5, 3055}, {2, 6, 3054}, {2, 7, 3009},
        {3, 0, 3000}, {3, 1, 3000}, {3, 2, 3000}, {3, 3, 3000}, {3, 4, 3000}, {3, 5, 3000},
        {3, 6, 3007}, {3, 7, 3008}, {4, 0, 3000}, {4, 1, 3068}, {4, 2, 3067}, {4, 3, 3014},
        {4, 4, 3016}, {4, 5, 3013}, {4, 6, 3015}, {4, 7, 3012}, {5, 0, 3000}, {5, 1, 3071},
        {5, 2, 3070}, {5, 3, 3069}, {5, 4, 3063}, {5, 5, 3060}, {5, 6, 3061}, {5, 7, 3062},
    }};
    return table;
}

std::vector<std::string> StatusLines(const StatusBytes& status) {
    StatusBytes shown = status;
    shown[kWriteProtectByte] &= static_cast<uint8_t>(~kWriteProtectMask);
    std::vector<std::string> lines;
    for (const StatusBit& entry : StatusBitTable()) {
        if ((shown[entry.byte] & (1u << entry.bit)) == 0) continue;
        std::string line = LoadString(entry.textId);
        if (entry.textId == kUnlabelledBitText)
            line += FormatText(texts::kUnlabelledBitSuffix, int{entry.byte}, int{entry.bit});
        lines.push_back(std::move(line));
    }
    if (lines.empty()) lines.push_back(LoadString(kNoErrorStatusText));
    return lines;
}

}  // namespace diagnostics
