#include "platform/FileSystem.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

CPosixFileSystem g_posix;
IFileSystem* g_current = &g_posix;

}  // namespace

int CPosixFileSystem::MakeTemporary(char* pathTemplate) { return ::mkstemp(pathTemplate); }

ssize_t CPosixFileSystem::Write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}

int CPosixFileSystem::Sync(int fd) { return ::fsync(fd); }

int CPosixFileSystem::Rename(const char* from, const char* to) { return std::rename(from, to); }

IFileSystem& FileSystem() { return *g_current; }

CScopedFileSystem::CScopedFileSystem(IFileSystem& fileSystem) : m_previous(g_current) {
    g_current = &fileSystem;
}

CScopedFileSystem::~CScopedFileSystem() { g_current = m_previous; }
