#pragma once

#include <cstdio>
#include <string>
#include <utility>

// What a shell command prints on its standard output.
inline std::string CommandOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}

// The text of a PDF as pdftotext (poppler-utils) gives it, with the
// typographic ligatures (fi, fl, ff, ffi, ffl) spelt out and every run of
// blanks made one, so that words and table cells can be found. Empty when
// pdftotext cannot be run.
inline std::string PdfText(const std::string& pdf, bool layout = true) {
    std::string text =
        CommandOutput(std::string("pdftotext ") + (layout ? "-layout " : "") + "'" + pdf + "' -");
    const std::pair<const char*, const char*> ligatures[] = {{"\xEF\xAC\x81", "fi"},
                                                             {"\xEF\xAC\x82", "fl"},
                                                             {"\xEF\xAC\x80", "ff"},
                                                             {"\xEF\xAC\x83", "ffi"},
                                                             {"\xEF\xAC\x84", "ffl"}};
    for (const auto& [from, to] : ligatures) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
            text.replace(at, std::string(from).size(), to);
    }
    std::string plain;
    for (char c : text) {
        if (c == ' ' && !plain.empty() && (plain.back() == ' ' || plain.back() == '\n')) continue;
        plain += c;
    }
    return plain;
}
