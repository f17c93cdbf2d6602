#pragma once

#include <string>

#include "platform/CException.h"

// A failure of the operating system's file handling, with its cause.
class CFileException : public CException {
public:
    enum class Cause {
        None,
        Generic,
        FileNotFound,
        BadPath,
        TooManyOpenFiles,
        AccessDenied,
        InvalidFile,
        RemoveCurrentDir,
        DirectoryFull,
        BadSeek,
        HardIO,
        SharingViolation,
        LockViolation,
        DiskFull,
        EndOfFile,
    };

    explicit CFileException(Cause cause, std::string fileName = {}, int osError = 0)
        : m_cause(cause), m_fileName(std::move(fileName)), m_osError(osError) {}

    // Maps an errno value to its cause.
    static CFileException FromErrno(int error, std::string fileName = {});

    Cause GetCause() const { return m_cause; }
    const std::string& FileName() const { return m_fileName; }
    int OsError() const { return m_osError; }
    const char* what() const noexcept override { return "file error"; }

private:
    Cause m_cause;
    std::string m_fileName;
    int m_osError;
};
