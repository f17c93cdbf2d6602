#pragma once

#include "platform/CMemorySettingsStore.h"
#include "platform/ISettingsStore.h"

// Settings seen through an in-memory overlay: a key set in the overlay hides the
// stored one, every other key and every write go to the stored settings. The
// simulated transmitter puts its device path here so that a simulated run never
// changes what is stored.
class COverlaySettingsStore : public ISettingsStore {
  public:
    explicit COverlaySettingsStore(ISettingsStore& base) : m_base(base) {}

    CMemorySettingsStore& Overlay() { return m_overlay; }

    int GetInt(const std::string& section, const std::string& key, int defaultValue) const override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override;
    bool Has(const std::string& section, const std::string& key) const override;
    void WriteInt(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

  private:
    ISettingsStore& m_base;
    CMemorySettingsStore m_overlay;
};
