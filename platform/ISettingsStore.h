#pragma once

#include <string>

// Per-user settings in sections and plain keys ("Comm Port"/"PortNumber").
// Integers and texts are stored as the store's own kinds; a missing key gives the
// caller's default.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;

    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue) const = 0;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const = 0;
    virtual bool Has(const std::string& section, const std::string& key) const = 0;

    // Each write is durable when it returns (the file store writes atomically).
    virtual void WriteInt(const std::string& section, const std::string& key, int value) = 0;
    virtual void WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};
