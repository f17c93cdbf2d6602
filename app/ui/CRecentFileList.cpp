#include "app/ui/CRecentFileList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {
constexpr const char* kSection = "Recent File List";

// The list names files by their absolute path: a relative one would mean
// another file once the program starts in another folder.
std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::string KeyOf(int index) { return "File" + std::to_string(index + 1); }
}  // namespace

CRecentFileList::CRecentFileList(ISettingsStore& settings, int size)
    : m_settings(settings), m_size(size) {
    for (int i = 0; i < m_size; ++i) {
        std::string path = m_settings.GetString(kSection, KeyOf(i), "");
        if (!path.empty() && std::find(m_files.begin(), m_files.end(), path) == m_files.end()) {
            m_files.push_back(path);
        }
    }
}

void CRecentFileList::Add(const std::string& name) {
    if (name.empty()) return;
    const std::string path = Absolute(name);
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    m_files.insert(m_files.begin(), path);
    if (static_cast<int>(m_files.size()) > m_size) m_files.resize(static_cast<size_t>(m_size));
    Write();
}

void CRecentFileList::Remove(const std::string& name) {
    // An entry stored by an older run may still be relative.
    const std::string path = Absolute(name);
    auto end = std::remove_if(m_files.begin(), m_files.end(), [&](const std::string& file) {
        return file == name || file == path;
    });
    if (end == m_files.end()) return;
    m_files.erase(end, m_files.end());
    Write();
}

void CRecentFileList::Write() {
    for (int i = 0; i < m_size; ++i) {
        const size_t index = static_cast<size_t>(i);
        m_settings.WriteString(kSection, KeyOf(i), index < m_files.size() ? m_files[index] : "");
    }
}
