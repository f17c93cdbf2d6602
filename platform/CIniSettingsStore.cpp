#include "platform/CIniSettingsStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/CFileException.h"
#include "platform/FileSystem.h"

namespace {

constexpr const char* kSettingsFolder = "Kelmarsh";
constexpr const char* kSettingsFile = "Corvel Configurator User Interface.ini";

std::string Trim(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

// Section and key names compare without regard to case, as in the classic stores.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// A value is one line; line breaks inside it would split the file.
std::string OneLine(std::string value) {
    for (char& c : value) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return value;
}

void WriteAll(int fd, const std::string& data, const std::string& path) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = FileSystem().Write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw CFileException::FromErrno(errno, path);
        }
        done += static_cast<size_t>(n);
    }
}

}  // namespace

CIniSettingsStore::CIniSettingsStore(std::string path) : m_path(std::move(path)) {}

std::string CIniSettingsStore::DefaultPath() {
    return XdgBaseFolder("XDG_CONFIG_HOME", ".config") + "/" + kSettingsFolder + "/" + kSettingsFile;
}

std::vector<CIniSettingsStore::Section> CIniSettingsStore::Load() const {
    std::vector<Section> sections(1);
    std::ifstream in(m_path);
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string text = Trim(raw);
        if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
            sections.push_back({Trim(text.substr(1, text.size() - 2)), {}});
            continue;
        }
        const size_t eq = text.find('=');
        const bool isComment = !text.empty() && (text[0] == ';' || text[0] == '#');
        if (eq != std::string::npos && eq > 0 && !isComment && sections.size() > 1) {
            sections.back().lines.push_back(
                {raw, Trim(text.substr(0, eq)), Trim(text.substr(eq + 1))});
        } else {
            sections.back().lines.push_back({raw, {}, {}});  // kept as it was
        }
    }
    return sections;
}

const CIniSettingsStore::Line* CIniSettingsStore::Find(const std::vector<Section>& sections,
                                                       const std::string& section,
                                                       const std::string& key) {
    const Line* found = nullptr;
    for (size_t s = 1; s < sections.size(); ++s) {
        if (!SameName(sections[s].name, section)) continue;
        for (const Line& line : sections[s].lines) {
            if (!line.key.empty() && SameName(line.key, key)) found = &line;  // the last one wins
        }
    }
    return found;
}

int CIniSettingsStore::GetInt(const std::string& section, const std::string& key,
                              int defaultValue) const {
    const auto sections = Load();
    const Line* line = Find(sections, section, key);
    if (!line) return defaultValue;
    const char* text = line->value.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        return defaultValue;
    return static_cast<int>(value);
}

std::string CIniSettingsStore::GetString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const {
    const auto sections = Load();
    const Line* line = Find(sections, section, key);
    return line ? line->value : defaultValue;
}

bool CIniSettingsStore::Has(const std::string& section, const std::string& key) const {
    return Find(Load(), section, key) != nullptr;
}

void CIniSettingsStore::WriteInt(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void CIniSettingsStore::WriteString(const std::string& section, const std::string& key,
                                    const std::string& value) {
    auto sections = Load();
    Section* target = nullptr;
    for (size_t s = 1; s < sections.size(); ++s) {
        if (SameName(sections[s].name, section)) target = &sections[s];
    }
    if (!target) {
        sections.push_back({section, {}});
        target = &sections.back();
    }
    Line* existing = nullptr;
    for (Line& line : target->lines) {
        if (!line.key.empty() && SameName(line.key, key)) existing = &line;
    }
    if (existing) {
        existing->value = OneLine(value);
    } else {
        // New keys go after the section's last key, before trailing blank lines.
        auto at = target->lines.end();
        while (at != target->lines.begin() && (at - 1)->key.empty() && Trim((at - 1)->text).empty())
            --at;
        target->lines.insert(at, Line{{}, key, OneLine(value)});
    }
    Save(sections);
}

void CIniSettingsStore::Save(const std::vector<Section>& sections) const {
    std::ostringstream out;
    for (size_t s = 0; s < sections.size(); ++s) {
        if (s > 0) out << '[' << sections[s].name << "]\n";
        for (const Line& line : sections[s].lines) {
            if (line.key.empty())
                out << line.text << '\n';
            else
                out << line.key << '=' << line.value << '\n';
        }
    }
    const std::filesystem::path path(m_path);
    const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw CFileException::FromErrno(ec.value(), m_path);

    std::string temp = m_path + ".XXXXXX";
    const int fd = FileSystem().MakeTemporary(temp.data());
    if (fd < 0) throw CFileException::FromErrno(errno, m_path);
    try {
        struct stat st {};
        ::fchmod(fd, ::stat(m_path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
        WriteAll(fd, out.str(), m_path);
        if (FileSystem().Sync(fd) != 0) throw CFileException::FromErrno(errno, m_path);
    } catch (...) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    ::close(fd);
    if (FileSystem().Rename(temp.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw CFileException::FromErrno(error, m_path);
    }
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}
