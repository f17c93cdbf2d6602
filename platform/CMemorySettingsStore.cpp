#include "platform/CMemorySettingsStore.h"

#include <cstdlib>

int CMemorySettingsStore::GetInt(const std::string& section, const std::string& key,
                                 int defaultValue) const {
    auto it = m_values.find({section, key});
    if (it == m_values.end()) return defaultValue;
    return static_cast<int>(std::strtol(it->second.c_str(), nullptr, 10));
}

std::string CMemorySettingsStore::GetString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const {
    auto it = m_values.find({section, key});
    return it == m_values.end() ? defaultValue : it->second;
}

bool CMemorySettingsStore::Has(const std::string& section, const std::string& key) const {
    return m_values.count({section, key}) != 0;
}

void CMemorySettingsStore::WriteInt(const std::string& section, const std::string& key, int value) {
    m_values[{section, key}] = std::to_string(value);
}

void CMemorySettingsStore::WriteString(const std::string& section, const std::string& key,
                                       const std::string& value) {
    m_values[{section, key}] = value;
}
