#include "app/ui/CRecentFileList.h"

#include <algorithm>

namespace {
constexpr const char* kSection = "Recent File List";

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

void CRecentFileList::Add(const std::string& path) {
    if (path.empty()) return;
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
    m_files.insert(m_files.begin(), path);
    if (static_cast<int>(m_files.size()) > m_size) m_files.resize(static_cast<size_t>(m_size));
    Write();
}

void CRecentFileList::Remove(const std::string& path) {
    auto end = std::remove(m_files.begin(), m_files.end(), path);
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
