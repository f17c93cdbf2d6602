#include "platform/Numbers.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace platform {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text without surrounding spaces and one leading '+'; false when no
// number can be left (nothing, or a second sign after the '+').
bool Trimmed(const std::string& text, const char*& first, const char*& last) {
    first = text.data();
    last = text.data() + text.size();
    while (first < last && IsSpace(*first)) ++first;
    while (last > first && IsSpace(*(last - 1))) --last;
    if (first < last && *first == '+') {
        ++first;
        if (first < last && (*first == '+' || *first == '-')) return false;
    }
    return first < last;
}

// The "C" locale, made once for the whole program.
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Switches this thread to the "C" locale for the lifetime of the object.
class CClassicLocaleScope {
  public:
    CClassicLocaleScope() : m_previous(CLocale() ? uselocale(CLocale()) : nullptr) {}
    ~CClassicLocaleScope() {
        if (m_previous) uselocale(m_previous);
    }
    CClassicLocaleScope(const CClassicLocaleScope&) = delete;
    CClassicLocaleScope& operator=(const CClassicLocaleScope&) = delete;

  private:
    locale_t m_previous;
};

}  // namespace

bool ParseDouble(const std::string& text, double& value) {
    const char* first = nullptr;
    const char* last = nullptr;
    if (!Trimmed(text, first, last)) return false;
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool ParseLong(const std::string& text, long& value) {
    const char* first = nullptr;
    const char* last = nullptr;
    if (!Trimmed(text, first, last)) return false;
    long parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed, 10);
    if (error != std::errc() || end != last) return false;
    value = parsed;
    return true;
}

std::string FormatV(const char* format, va_list args) {
    CClassicLocaleScope classic;
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<size_t>(needed));
}

}  // namespace platform
