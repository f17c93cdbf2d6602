#pragma once

#include <string>
#include <vector>

#include "platform/ISettingsStore.h"

// Settings in one INI file per user, shared by every front end. The file is read
// afresh on each access so that another running program's changes are seen; each
// write rewrites it atomically (temporary file, fsync, rename), so a crash leaves
// either the old or the new file. Lines that are not sections or keys are kept.
class CIniSettingsStore : public ISettingsStore {
  public:
    explicit CIniSettingsStore(std::string path);

    // $XDG_CONFIG_HOME (else ~/.config) + "/Kelmarsh/Corvel Configurator User Interface.ini".
    static std::string DefaultPath();

    const std::string& Path() const { return m_path; }

    int GetInt(const std::string& section, const std::string& key, int defaultValue) const override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override;
    bool Has(const std::string& section, const std::string& key) const override;
    // Throw CFileException when the file cannot be written.
    void WriteInt(const std::string& section, const std::string& key, int value) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

  private:
    struct Line {
        std::string text;  // the line as read, for lines that are not keys
        std::string key;   // empty for other lines
        std::string value;
    };
    struct Section {
        std::string name;  // empty for the lines before the first section
        std::vector<Line> lines;
    };

    std::vector<Section> Load() const;
    void Save(const std::vector<Section>& sections) const;
    static const Line* Find(const std::vector<Section>& sections, const std::string& section,
                            const std::string& key);

    std::string m_path;
};
