#include "app/DocumentName.h"

#include <cctype>
#include <cstring>

#include "resources/Strings.h"

namespace {

constexpr unsigned kIdUntitled = 3;
constexpr size_t kNameLength = 8;
constexpr const char* kExtension = ".CMM";
// Punctuation that a short file name may hold besides letters and digits.
constexpr const char* kNamePunctuation = "_^$~!#%&-{}()@'`";

bool IsNameCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u == 0 || u >= 0x80) return false;
    return std::isalnum(u) != 0 || std::strchr(kNamePunctuation, c) != nullptr;
}

}  // namespace

namespace app {

std::string DocumentNameFromTag(const std::string& tag) {
    const std::string text = tag.empty() ? std::string(" ") : tag;
    const auto first = static_cast<unsigned char>(text[0]);
    if (first == ' ' || std::iscntrl(first) != 0) return LoadString(kIdUntitled);
    std::string name;
    for (size_t i = 0; i < text.size() && i < kNameLength && IsNameCharacter(text[i]); ++i) {
        name.push_back(text[i]);
    }
    if (name.empty()) return LoadString(kIdUntitled);
    return name + kExtension;
}

}  // namespace app
