#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace app {

// The largest file that is read as a configuration. A real configuration is a
// few kilobytes; the limit keeps a wrong choice (a disk image, a device) from
// exhausting memory.
inline constexpr size_t kMaxConfigFileSize = size_t{64} * 1024 * 1024;

// Reads the whole file. Failures of the operating system throw CFileException
// with the cause of their errno; a file above `maxSize` throws
// CArchiveException(BadIndex) without reading more than maxSize + 1 bytes.
std::vector<uint8_t> ReadFileBytes(const std::string& path, size_t maxSize = kMaxConfigFileSize);

// Replaces the file at `path` by `bytes` so that the old file survives any
// failure: the bytes go to a temporary file in the same folder, which is flushed
// to the disk and then renamed over the old file. A symbolic link is followed,
// so the file it points to is replaced and the link stays. An existing file's
// permission bits are kept. Failures throw CFileException and leave no
// temporary file behind.
void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace app
