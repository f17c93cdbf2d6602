#pragma once

#include <array>

#include "platform/FileSystem.h"

// A file system that passes every call to the operating system, except the
// calls a test tells to fail: those fail with the given errno and do nothing.
// Constructing it installs it as FileSystem() for the lifetime of the object.
class CFailingFileSystem : public IFileSystem {
  public:
    enum class Call { MakeTemporary, Write, Sync, Rename };
    static constexpr std::array<Call, 4> kCalls = {Call::MakeTemporary, Call::Write, Call::Sync,
                                                   Call::Rename};

    CFailingFileSystem();

    // Every later `call` fails with `error` (0: passes again).
    void Fail(Call call, int error);
    // How many times `call` was made, failed or not.
    int Count(Call call) const;

    int MakeTemporary(char* pathTemplate) override;
    ssize_t Write(int fd, const void* data, size_t size) override;
    int Sync(int fd) override;
    int Rename(const char* from, const char* to) override;

  private:
    // True (errno set) when the call is to fail.
    bool Fails(Call call);

    CPosixFileSystem m_system;
    std::array<int, 4> m_errors{};
    std::array<int, 4> m_counts{};
    CScopedFileSystem m_scope;
};

const char* CallName(CFailingFileSystem::Call call);
