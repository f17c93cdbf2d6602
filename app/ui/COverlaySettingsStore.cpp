#include "app/ui/COverlaySettingsStore.h"

int COverlaySettingsStore::GetInt(const std::string& section, const std::string& key,
                                  int defaultValue) const {
    if (m_overlay.Has(section, key)) return m_overlay.GetInt(section, key, defaultValue);
    return m_base.GetInt(section, key, defaultValue);
}

std::string COverlaySettingsStore::GetString(const std::string& section, const std::string& key,
                                             const std::string& defaultValue) const {
    if (m_overlay.Has(section, key)) return m_overlay.GetString(section, key, defaultValue);
    return m_base.GetString(section, key, defaultValue);
}

bool COverlaySettingsStore::Has(const std::string& section, const std::string& key) const {
    return m_overlay.Has(section, key) || m_base.Has(section, key);
}

void COverlaySettingsStore::WriteInt(const std::string& section, const std::string& key,
                                     int value) {
    m_base.WriteInt(section, key, value);
}

void COverlaySettingsStore::WriteString(const std::string& section, const std::string& key,
                                        const std::string& value) {
    m_base.WriteString(section, key, value);
}
