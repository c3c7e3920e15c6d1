#pragma once
// What the POSIX and browser platforms share: both reach files through POSIX
// calls, so both translate errno into the system error numbering the same
// way and read "\" as "/".
#include <errno.h>

#include <cstddef>
#include <cstdint>

namespace zv::console::posix {

inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kTooManyOpenFiles = 4;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kNotReady = 21;
inline constexpr std::uint32_t kGeneralFailure = 31;
inline constexpr std::uint32_t kSharingViolation = 32;
inline constexpr std::uint32_t kDiskFull = 112;
inline constexpr std::uint32_t kInvalidName = 123;
inline constexpr std::uint32_t kNameTooLong = 206;

// `missing` is what a missing entry means for this call: a missing file
// when appending to an existing one, a missing directory when creating.
inline std::uint32_t system_error(int err, std::uint32_t missing) {
  switch (err) {
    case ENOENT: return missing;
    case ENOTDIR:
    case ELOOP: return kPathNotFound;
    case EMFILE:
    case ENFILE: return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return kAccessDenied;
    case EWOULDBLOCK: return kSharingViolation;
    case EBADF: return kInvalidHandle;
    case ENXIO:
    case ENODEV: return kNotReady;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    case ENAMETOOLONG: return kNameTooLong;
    case EINVAL: return kInvalidName;
    default: return kGeneralFailure;
  }
}

// Both "/" and "\" separate directories in a name.
inline void to_native_path(const char* name, char (&path)[512]) {
  std::size_t i = 0;
  for (; name[i] != '\0' && i + 1 < sizeof path; ++i) path[i] = name[i] == '\\' ? '/' : name[i];
  path[i] = '\0';
}

}  // namespace zv::console::posix
