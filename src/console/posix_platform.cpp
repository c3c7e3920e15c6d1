// The platform interface over POSIX calls. errno values are translated into
// the system error numbering that the run-time error rule expects.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "console/platform.h"
#include "console/posix_files.h"

namespace zv::console {

namespace {

using namespace posix;

// The identity of an existing file (device and inode), found by name.
bool identify(const char* name, struct stat& st) {
  char path[512];
  to_native_path(name, path);
  return ::stat(path, &st) == 0;
}

// A stream left in non-blocking mode had nothing to give or no room: wait
// until it has, as a blocking one would. 0, or the errno of a failed wait.
int wait_until_ready(int fd, short events) {
  pollfd ready{fd, events, 0};
  while (::poll(&ready, 1, -1) < 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

class PosixPlatform final : public Platform {
 public:
  PosixPlatform() {
    // A write to a closed pipe, or past the file-size limit, must come back
    // as a failed write, not a signal.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
  }

  Handle standard_input() override { return STDIN_FILENO; }
  Handle standard_output() override { return STDOUT_FILENO; }

  OpenResult open_write(const char* name, const char* guarded) override {
    return open_locked(name, O_CREAT, kPathNotFound, guarded);
  }
  OpenResult open_append(const char* name) override {
    return open_locked(name, O_APPEND, kFileNotFound, nullptr);
  }

  IoResult read(Handle h, void* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t n = ::read(static_cast<int>(h), buffer, size);
      if (n >= 0) return {static_cast<std::size_t>(n), 0, n == 0};
      if (errno == EINTR) continue;
      if (errno == EAGAIN) {
        if (const int err = wait_until_ready(static_cast<int>(h), POLLIN); err != 0) {
          return {0, system_error(err, kFileNotFound), false};
        }
        continue;
      }
      return {0, system_error(errno, kFileNotFound), false};
    }
  }

  IoResult write(Handle h, const void* data, std::size_t size) override {
    for (;;) {
      const ssize_t n = ::write(static_cast<int>(h), data, size);
      if (n >= 0) return {static_cast<std::size_t>(n), 0, false};
      if (errno == EINTR) continue;
      if (errno == EAGAIN) {
        if (const int err = wait_until_ready(static_cast<int>(h), POLLOUT); err != 0) {
          return {0, system_error(err, kFileNotFound), false};
        }
        continue;
      }
      return {0, system_error(errno, kFileNotFound), false};
    }
  }

  // A file system may report only now that earlier writes did not reach the
  // disk (EIO, ENOSPC, EDQUOT).
  std::uint32_t close(Handle h) override {
    return ::close(static_cast<int>(h)) == 0 ? 0 : system_error(errno, kFileNotFound);
  }

  bool is_terminal(Handle h) override { return ::isatty(static_cast<int>(h)) == 1; }

  [[noreturn]] void exit_process(int code) override { ::_exit(code); }

 private:
  // Opens for writing only, without waiting for a FIFO's reader (a FIFO
  // with none fails with ENXIO, "not ready"), and takes an exclusive lock
  // without waiting, so no other run can use the file while it is open. A
  // file created for writing is truncated only once the lock is held, and
  // only if it is a regular file (a device or a FIFO has no length to cut).
  // A folder is refused by the open itself (EISDIR).
  static OpenResult open_locked(const char* name, int flags, std::uint32_t missing, const char* guarded) {
    // The guarded file as it is before this open (which may create `name`).
    struct stat kept {};
    const bool guarding = guarded != nullptr && identify(guarded, kept);
    char path[512];
    to_native_path(name, path);
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC | O_NONBLOCK | flags, 0666);
    if (fd < 0) return {kNoHandle, system_error(errno, missing)};
    const bool truncating = (flags & O_APPEND) == 0;
    struct stat st {};
    const bool known = truncating && ::fstat(fd, &st) == 0;
    // The guarded file: refused before it is locked or cut.
    if (known && guarding && st.st_dev == kept.st_dev && st.st_ino == kept.st_ino) {
      ::close(fd);
      return {kNoHandle, kAccessDenied};
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && !locking_unavailable(errno)) {
      const int err = errno;
      ::close(fd);
      return {kNoHandle, system_error(err, missing)};
    }
    const bool regular = !known || S_ISREG(st.st_mode);
    if (truncating && regular && ::ftruncate(fd, 0) != 0) {
      const int err = errno;
      ::close(fd);
      return {kNoHandle, system_error(err, missing)};
    }
    return {fd, 0};
  }

  // A file system without locks (NFS without its lock service, some FUSE
  // or 9p mounts): the file is used without one.
  static bool locking_unavailable(int err) { return err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS; }
};

}  // namespace

Platform& system_platform() {
  static PosixPlatform platform;
  return platform;
}

}  // namespace zv::console
