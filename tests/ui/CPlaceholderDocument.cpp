#include "tests/ui/CPlaceholderDocument.h"

#include <cerrno>
#include <fstream>

#include "app/CommandTable.h"
#include "platform/CException.h"
#include "platform/CFileException.h"

void CPlaceholderDocument::NewDocument() {
    m_modified = false;
    m_loadedPath.clear();
    ++m_newCount;
}

void CPlaceholderDocument::Load(const std::string& path) {
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) throw CFileException::FromErrno(errno == 0 ? ENOENT : errno, path);
    m_loadedPath = path;
    m_modified = false;
}

void CPlaceholderDocument::Save(const std::string&) { throw CNotSupportedException(); }

bool CPlaceholderDocument::ReplacesAnotherFile(const std::string& path) const {
    return path != m_loadedPath && std::ifstream(path).good();
}

int CPlaceholderDocument::AccessState() {
    if (!m_linkAvailable) return app::kAccessNoTransmitter;
    return m_accessState;
}

void CPlaceholderDocument::SetConnection(int accessState, std::string tag) {
    m_accessState = accessState;
    m_tag = std::move(tag);
}
