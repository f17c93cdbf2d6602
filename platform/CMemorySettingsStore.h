#pragma once

#include <map>
#include <utility>

#include "platform/ISettingsStore.h"

// Settings held in memory only: the test double, and the overlay that the
// simulated transmitter uses so that a run never changes the stored settings.
class CMemorySettingsStore : public ISettingsStore {
public:
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override;
    bool Has(const std::string& section, const std::string& key) const override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};
