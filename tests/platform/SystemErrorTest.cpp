#include <gtest/gtest.h>

#include <cerrno>

#include "platform/CFileException.h"
#include "platform/SystemError.h"

TEST(SystemError, TextEndsWithReturnCode) {
    const std::string text = SystemErrorText(EACCES);
    EXPECT_NE(text.find("Permission denied"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 9), "(RC = 13)");
}

TEST(CFileException, ErrnoMapsToCause) {
    EXPECT_EQ(CFileException::FromErrno(ENOENT).GetCause(), CFileException::Cause::FileNotFound);
    EXPECT_EQ(CFileException::FromErrno(EACCES).GetCause(), CFileException::Cause::AccessDenied);
    EXPECT_EQ(CFileException::FromErrno(ENOSPC).GetCause(), CFileException::Cause::DiskFull);
    EXPECT_EQ(CFileException::FromErrno(EINVAL).GetCause(), CFileException::Cause::Generic);
}
