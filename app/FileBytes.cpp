#include "app/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "platform/CArchiveException.h"
#include "platform/CFileException.h"
#include "platform/FileSystem.h"

namespace app {
namespace {

// Closes a descriptor when it goes out of scope.
class CFd {
  public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }
    // Closes now and reports the result (a delayed write error shows here).
    int Close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

  private:
    int m_fd;
};

// Removes the temporary file unless the save went through.
class CTempFile {
  public:
    explicit CTempFile(std::string path) : m_path(std::move(path)) {}
    ~CTempFile() {
        if (!m_kept) ::unlink(m_path.c_str());
    }
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;
    void Keep() { m_kept = true; }

  private:
    std::string m_path;
    bool m_kept = false;
};

[[noreturn]] void ThrowErrno(const std::string& path) {
    throw CFileException::FromErrno(errno, path);
}

// The file that a save replaces: the target of a symbolic link, else the path.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                             &std::free);
        if (resolved) return resolved.get();
    }
    return path;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
    // Makes the rename itself durable; a folder that cannot be opened for this
    // (some file systems) does not fail a save that has already happened.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path, size_t maxSize) {
    CFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) ThrowErrno(path);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) ThrowErrno(path);
    if (S_ISDIR(info.st_mode)) throw CFileException::FromErrno(EISDIR, path);
    // A FIFO opened without blocking must block for its reads.
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK);

    std::vector<uint8_t> bytes;
    if (S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) <= maxSize) {
        bytes.reserve(static_cast<size_t>(info.st_size));
    }
    uint8_t chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(path);
        }
        if (got == 0) break;
        if (bytes.size() + static_cast<size_t>(got) > maxSize) {
            throw CArchiveException(CArchiveException::Cause::BadIndex);
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);
    const size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) throw CFileException::FromErrno(EISDIR, path);

    std::string tempPath = (folder == "/" ? "" : folder) + "/." + name + ".XXXXXX";
    IFileSystem& files = FileSystem();
    CFd fd(files.MakeTemporary(tempPath.data()));
    if (fd.Get() < 0) ThrowErrno(path);
    CTempFile temp(tempPath);

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) throw CFileException::FromErrno(EISDIR, path);
        ::fchmod(fd.Get(), old.st_mode & 07777);
    } else {
        // mkstemp creates the file for the owner alone; a new configuration
        // gets the permissions any new file of this user would get.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd.Get(), 0666 & ~mask);
    }

    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = files.Write(fd.Get(), bytes.data() + written, bytes.size() - written);
        if (put < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(path);
        }
        written += static_cast<size_t>(put);
    }
    if (files.Sync(fd.Get()) != 0) ThrowErrno(path);
    if (fd.Close() != 0) ThrowErrno(path);
    if (files.Rename(tempPath.c_str(), target.c_str()) != 0) ThrowErrno(path);
    temp.Keep();
    SyncFolder(folder);
}

}  // namespace app
