#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/CChangeLog.h"
#include "tests/support/CScratchFolder.h"

// A change log in a scratch folder, installed for the lifetime of the object.
class CScratchChangeLog {
  public:
    CScratchChangeLog() : m_log(m_folder.File("changes.jsonl")), m_scope(m_log) {}

    const std::string& Path() const { return m_log.Path(); }
    std::vector<ChangeRecord> Records() const { return CChangeLog::Read(Path()); }
    // The file as it is on the disk.
    std::string Text() const {
        std::ifstream in(Path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    CScratchFolder m_folder;
    CChangeLog m_log;
    CScopedChangeLog m_scope;
};
