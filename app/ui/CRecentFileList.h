#pragma once

#include <string>
#include <vector>

#include "platform/ISettingsStore.h"

// The most-recently-used configuration files, newest first, kept in the
// settings store (section "Recent File List", keys "File1" .. "FileN").
class CRecentFileList {
  public:
    CRecentFileList(ISettingsStore& settings, int size);

    const std::vector<std::string>& Files() const { return m_files; }
    // Puts a file first (moving it when already listed) and stores the list.
    // Files are listed by their absolute path.
    void Add(const std::string& path);
    void Remove(const std::string& path);

  private:
    void Write();

    ISettingsStore& m_settings;
    int m_size;
    std::vector<std::string> m_files;
};
