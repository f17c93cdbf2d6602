#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

// The operating-system calls through which a file is replaced atomically
// (settings and configuration files): a temporary file beside it, its bytes,
// the flush to the disk and the rename over the old file. The program uses the
// system's own; a test installs a double for its duration to make one call
// fail as a full disk, a read-only folder or a failing device would, which
// permissions cannot do for the superuser.
class IFileSystem {
  public:
    virtual ~IFileSystem() = default;
    // As mkstemp: a descriptor of a new file named after the template (its
    // trailing "XXXXXX" replaced), or -1 with errno set.
    virtual int MakeTemporary(char* pathTemplate) = 0;
    // As write, fsync and rename: -1 with errno set on failure.
    virtual ssize_t Write(int fd, const void* data, size_t size) = 0;
    virtual int Sync(int fd) = 0;
    virtual int Rename(const char* from, const char* to) = 0;
};

// The operating system's calls.
class CPosixFileSystem : public IFileSystem {
  public:
    int MakeTemporary(char* pathTemplate) override;
    ssize_t Write(int fd, const void* data, size_t size) override;
    int Sync(int fd) override;
    int Rename(const char* from, const char* to) override;
};

// The installed file system: the operating system's unless a test replaced it.
IFileSystem& FileSystem();

// A user's base folder of the desktop's kind `variable` ("XDG_CONFIG_HOME",
// "XDG_STATE_HOME"): its value when that is an absolute path, else
// `homeFallback` (".config", ".local/state") under the home folder.
std::string XdgBaseFolder(const char* variable, const char* homeFallback);

// Installs `fileSystem` for the lifetime of the object.
class CScopedFileSystem {
  public:
    explicit CScopedFileSystem(IFileSystem& fileSystem);
    ~CScopedFileSystem();
    CScopedFileSystem(const CScopedFileSystem&) = delete;
    CScopedFileSystem& operator=(const CScopedFileSystem&) = delete;

  private:
    IFileSystem* m_previous;
};
