#include "tests/support/CFailingFileSystem.h"

#include <cerrno>
#include <cstddef>

CFailingFileSystem::CFailingFileSystem() : m_scope(*this) {}

void CFailingFileSystem::Fail(Call call, int error) { m_errors[static_cast<size_t>(call)] = error; }

int CFailingFileSystem::Count(Call call) const { return m_counts[static_cast<size_t>(call)]; }

bool CFailingFileSystem::Fails(Call call) {
    const size_t index = static_cast<size_t>(call);
    ++m_counts[index];
    if (m_errors[index] == 0) return false;
    errno = m_errors[index];
    return true;
}

int CFailingFileSystem::MakeTemporary(char* pathTemplate) {
    return Fails(Call::MakeTemporary) ? -1 : m_system.MakeTemporary(pathTemplate);
}

ssize_t CFailingFileSystem::Write(int fd, const void* data, size_t size) {
    return Fails(Call::Write) ? -1 : m_system.Write(fd, data, size);
}

int CFailingFileSystem::Sync(int fd) { return Fails(Call::Sync) ? -1 : m_system.Sync(fd); }

int CFailingFileSystem::Rename(const char* from, const char* to) {
    return Fails(Call::Rename) ? -1 : m_system.Rename(from, to);
}

const char* CallName(CFailingFileSystem::Call call) {
    switch (call) {
        case CFailingFileSystem::Call::MakeTemporary:
            return "temporary file";
        case CFailingFileSystem::Call::Write:
            return "write";
        case CFailingFileSystem::Call::Sync:
            return "flush";
        case CFailingFileSystem::Call::Rename:
            return "rename";
    }
    return "?";
}
