#include "platform/CException.h"

#include <cerrno>

#include "platform/CFileException.h"

void AbandonSilently() { throw CUserException(); }

CFileException CFileException::FromErrno(int error, std::string fileName) {
    Cause cause = Cause::Generic;
    switch (error) {
        case ENOENT: cause = Cause::FileNotFound; break;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP: cause = Cause::BadPath; break;
        case EMFILE:
        case ENFILE: cause = Cause::TooManyOpenFiles; break;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: cause = Cause::AccessDenied; break;
        case EBADF: cause = Cause::InvalidFile; break;
        case EBUSY: cause = Cause::SharingViolation; break;
        case ESPIPE: cause = Cause::BadSeek; break;
        case EIO: cause = Cause::HardIO; break;
        case ENOSPC:
        case EDQUOT: cause = Cause::DiskFull; break;
        default: break;
    }
    return CFileException(cause, std::move(fileName), error);
}
