#include "platform/FileSystem.h"

#include <pwd.h>
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

std::string XdgBaseFolder(const char* variable, const char* homeFallback) {
    const char* xdg = std::getenv(variable);
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return std::string(home) + "/" + homeFallback;
}
