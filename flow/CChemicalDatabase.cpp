#include "flow/CChemicalDatabase.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

namespace {

constexpr unsigned kMsgDamaged = 350;
constexpr unsigned kMsgCannotOpen = 351;
constexpr unsigned kMsgNotFound = 352;
constexpr unsigned kMsgReinstall = 2023;

// Field where each record kind starts, and how many numbers it holds.
struct RecordLayout {
    int field;
    int count;
};
constexpr RecordLayout kLayouts[] = {{8, 5}, {13, 5}, {18, 5}, {23, 10}};
constexpr int kLookUpField = 4;

void Show(const std::string& text) { Ui().MessageBox(text, MsgButtons::Ok, MsgIcon::None); }

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Reads the next line as a fixed 767-character buffer would hold it. A longer
// line is cut there: the rest of it is skipped, so that a continuation never
// passes for a line of its own.
bool ReadLine(FILE* file, std::string& line) {
    char buffer[CChemicalDatabase::kMaxLine + 1];
    if (!std::fgets(buffer, sizeof buffer, file)) return false;
    line = buffer;
    if (line.empty() || line.back() == '\n') return true;
    int c = 0;
    while ((c = std::fgetc(file)) != EOF && c != '\n') {
    }
    return true;
}

std::string ToUpper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The result of searching the file for one fluid.
enum class Search { Found, CannotOpen, NoHeader, NotFound };

Search FindLine(const std::string& path, const std::string& name, std::string& normalised) {
    FilePtr file(std::fopen(path.c_str(), "r"));
    if (!file) return Search::CannotOpen;
    std::string line;
    if (!ReadLine(file.get(), line)) return Search::NoHeader;
    const std::string key = CChemicalDatabase::MatchKey(name);
    while (ReadLine(file.get(), line)) {
        std::string candidate = CChemicalDatabase::Normalise(line);
        if (CChemicalDatabase::FirstField(candidate) == key) {
            normalised = std::move(candidate);
            return Search::Found;
        }
    }
    return Search::NotFound;
}

std::string DisplayName(const std::string& name) {
    return ToUpper(name.substr(0, CChemicalDatabase::kMaxName));
}

void ShowSearchFailure(Search result, const std::string& path, const std::string& name) {
    switch (result) {
        case Search::CannotOpen:
            Show(LoadString(kMsgCannotOpen) + path + LoadString(kMsgReinstall));
            break;
        case Search::NoHeader:
            Show(LoadString(kMsgDamaged));
            break;
        case Search::NotFound:
            Show(LoadString(kMsgNotFound) + DisplayName(name));
            break;
        case Search::Found:
            break;
    }
}

}  // namespace

CChemicalDatabase::CChemicalDatabase() : m_path(DefaultPath()) {}

CChemicalDatabase::CChemicalDatabase(std::string path) : m_path(std::move(path)) {}

std::string CChemicalDatabase::DefaultPath() {
    char exe[4096];
    const ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (length > 0) {
        const std::string path(exe, static_cast<size_t>(length));
        const size_t slash = path.rfind('/');
        if (slash != std::string::npos) return PathBeside(path.substr(0, slash + 1));
    }
    return texts::kDatabaseFileName;
}

std::string CChemicalDatabase::PathBeside(const std::string& programFolder) {
    // Beside the program (a build tree), then where an installed package keeps
    // its data (bin/../share/corvel-configurator), then the working folder.
    const std::string beside = programFolder + texts::kDatabaseFileName;
    const std::string shared =
        programFolder + "../share/corvel-configurator/" + texts::kDatabaseFileName;
    if (::access(beside.c_str(), R_OK) == 0) return beside;
    if (::access(shared.c_str(), R_OK) == 0) return shared;
    if (::access(texts::kDatabaseFileName, R_OK) == 0) return texts::kDatabaseFileName;
    return beside;
}

std::string CChemicalDatabase::Normalise(const std::string& line) {
    std::string result = line;
    bool quoted = false;
    for (char& c : result) {
        if (c == ' ') {
            c = '$';
        } else if (c == '"') {
            c = ' ';
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            c = ' ';
        }
    }
    return result;
}

std::string CChemicalDatabase::MatchKey(const std::string& name) {
    std::string key = ToUpper(name.substr(0, kMaxName));
    for (char& c : key) {
        if (c == ' ') c = '$';
    }
    return key;
}

std::string CChemicalDatabase::FirstField(const std::string& normalised) {
    size_t begin = 0;
    while (begin < normalised.size() && std::isspace(static_cast<unsigned char>(normalised[begin])))
        ++begin;
    size_t end = begin;
    while (end < normalised.size() && !std::isspace(static_cast<unsigned char>(normalised[end])))
        ++end;
    return ToUpper(normalised.substr(begin, std::min<size_t>(end - begin, kMaxName)));
}

int CChemicalDatabase::FieldOffset(const std::string& normalised, int n) {
    if (n < 2) return -1;
    int ended = 0;
    for (size_t i = 1; i < normalised.size(); ++i) {
        if (normalised[i] != ' ' || normalised[i - 1] == ' ') continue;
        if (++ended == n - 1) {
            const size_t next = i + 1;
            if (next < normalised.size() && static_cast<unsigned char>(normalised[next]) >= 33)
                return static_cast<int>(next);
            return -1;
        }
    }
    return -1;
}

int CChemicalDatabase::ReadNumbers(const char* text, int count, double* values) {
    const char* const last = text + std::strlen(text);
    int read = 0;
    while (read < count) {
        while (text < last && std::strchr(" \t\r\n\v\f", *text)) ++text;
        // One '+' may lead, as in "+1.5"; from_chars reads the rest with a
        // decimal point whatever the locale.
        const char* first = text < last && *text == '+' ? text + 1 : text;
        if (first < last && (*first == '+' || *first == '-') && first != text) break;
        double value = 0.0;
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
        if (error != std::errc() || !std::isfinite(value)) break;
        values[read++] = value;
        text = end;
    }
    return read;
}

bool CChemicalDatabase::ListNames(std::vector<std::string>& names) const {
    names.clear();
    FilePtr file(std::fopen(m_path.c_str(), "r"));
    if (!file) {
        ShowSearchFailure(Search::CannotOpen, m_path, {});
        return false;
    }
    std::string line;
    if (!ReadLine(file.get(), line)) {
        ShowSearchFailure(Search::NoHeader, m_path, {});
        return false;
    }
    while (ReadLine(file.get(), line)) {
        std::string name = FirstField(Normalise(line));
        if (name.empty()) continue;
        for (char& c : name) {
            if (c == '$') c = ' ';
        }
        names.push_back(std::move(name));
    }
    return true;
}

bool CChemicalDatabase::LookUp(const std::string& name, bool showMessages, double* number) const {
    std::string line;
    const Search result = FindLine(m_path, name, line);
    if (result != Search::Found) {
        if (showMessages) ShowSearchFailure(result, m_path, name);
        return false;
    }
    const int offset = FieldOffset(line, kLookUpField);
    if (offset < 0) {
        Show(LoadString(kMsgDamaged));
        return false;
    }
    double value = 0.0;
    if (ReadNumbers(line.c_str() + offset, 1, &value) != 1) {
        if (showMessages) Show(LoadString(kMsgDamaged));
        return false;
    }
    if (number) *number = value;
    return true;
}

bool CChemicalDatabase::ReadRecord(const std::string& name, RecordKind kind, Record& record) const {
    record.fill(0.0);
    std::string line;
    const Search result = FindLine(m_path, name, line);
    if (result != Search::Found) {
        ShowSearchFailure(result, m_path, name);
        return false;
    }
    const int index = static_cast<int>(kind);
    if (index < 0 || index >= static_cast<int>(std::size(kLayouts))) return false;
    const RecordLayout layout = kLayouts[index];
    const int offset = FieldOffset(line, layout.field);
    if (offset < 0 ||
        ReadNumbers(line.c_str() + offset, layout.count, record.data()) != layout.count) {
        Show(LoadString(kMsgDamaged));
        record.fill(0.0);
        return false;
    }
    return true;
}
