#include "cli/JsonText.h"

#include <cstdio>

namespace cli {
namespace {

bool IsUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
        } else if (c >= 0x80) {
            return false;
        }
        if (text.size() - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += extra + 1;
    }
    return true;
}

std::string ToUtf8(const std::string& text) {
    if (IsUtf8(text)) return text;
    std::string converted;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            converted.push_back(ch);
        } else {
            converted.push_back(static_cast<char>(0xC0 | (c >> 6)));
            converted.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return converted;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char ch : ToUtf8(text)) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

bool IsJsonNumber(const std::string& text) {
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && text[i] == '-') ++i;
    if (i >= n || !IsDigit(text[i])) return false;
    if (text[i] == '0') {
        ++i;
    } else {
        while (i < n && IsDigit(text[i])) ++i;
    }
    if (i < n && text[i] == '.') {
        ++i;
        if (i >= n || !IsDigit(text[i])) return false;
        while (i < n && IsDigit(text[i])) ++i;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (i >= n || !IsDigit(text[i])) return false;
        while (i < n && IsDigit(text[i])) ++i;
    }
    return i == n;
}

}  // namespace cli
