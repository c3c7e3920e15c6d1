// The platform interface in the browser page (Emscripten). Standard input and
// output are the page's terminal: a read waits, through Asyncify, for the next
// line the user sends; each hand-over of standard output goes to the terminal
// at once. Files live in the page's folder, the current directory of
// Emscripten's file system, which the page keeps in IndexedDB. They are
// reached through the same POSIX calls and the same error translation as on
// Linux, so names, folders and the guard on the log behave alike.
#include <emscripten.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "console/platform.h"
#include "console/posix_files.h"

// The page (page.js) supplies the members of the module object used here.
// zvReadInput resolves to at most `size` bytes of the line the user sent
// (none at end of input).
// clang-format off
EM_ASYNC_JS(int, zv_read_input, (unsigned char* buffer, int size), {
  const bytes = await Module.zvReadInput(size);
  HEAPU8.set(bytes, buffer);
  return bytes.length;
});
EM_JS(void, zv_write_output, (const unsigned char* data, int size), {
  Module.zvWriteOutput(HEAPU8.slice(data, data + size));
});
// The page stores the folder and shows the code; the instance then waits
// for ever, so nothing after the exit runs.
EM_ASYNC_JS(void, zv_exit, (int code), {
  Module.zvExit(code);
  await new Promise(function () {});
});
// clang-format on

namespace zv::console {

namespace {

constexpr Handle kTerminalInput = 0;
constexpr Handle kTerminalOutput = 1;

using namespace posix;

// Emscripten's file system resolves "a/../b" by its text alone and calls a
// file in the middle of a path access denied. Linux walks the path a part at
// a time: a missing folder before the ".." is missing, a file used as a folder
// is not a folder. The same walk, over every folder part of `path`: 0, ENOENT
// or ENOTDIR.
int walk_folders(const char* path) {
  char prefix[512];
  for (std::size_t i = 0; path[i] != '\0'; ++i) {
    if (path[i] != '/' || i == 0) continue;
    std::memcpy(prefix, path, i);
    prefix[i] = '\0';
    struct stat st {};
    if (::stat(prefix, &st) != 0) return errno == ENOTDIR ? ENOTDIR : ENOENT;
    if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  }
  return 0;
}

class WebPlatform final : public Platform {
 public:
  Handle standard_input() override { return kTerminalInput; }
  Handle standard_output() override { return kTerminalOutput; }

  OpenResult open_write(const char* name, const char* guarded) override {
    return open_file(name, O_CREAT, kPathNotFound, guarded);
  }
  OpenResult open_append(const char* name) override {
    return open_file(name, O_APPEND, kFileNotFound, nullptr);
  }

  IoResult read(Handle h, void* buffer, std::size_t size) override {
    if (h == kTerminalInput) {
      const int n = zv_read_input(static_cast<unsigned char*>(buffer), static_cast<int>(size));
      return {static_cast<std::size_t>(n), 0, n == 0};
    }
    const ssize_t n = ::read(static_cast<int>(h), buffer, size);
    if (n < 0) return {0, system_error(errno, kFileNotFound), false};
    return {static_cast<std::size_t>(n), 0, n == 0};
  }

  IoResult write(Handle h, const void* data, std::size_t size) override {
    if (h == kTerminalOutput) {
      zv_write_output(static_cast<const unsigned char*>(data), static_cast<int>(size));
      return {size, 0, false};
    }
    const ssize_t n = ::write(static_cast<int>(h), data, size);
    if (n < 0) return {0, system_error(errno, kFileNotFound), false};
    return {static_cast<std::size_t>(n), 0, false};
  }

  std::uint32_t close(Handle h) override {
    if (h == kTerminalInput || h == kTerminalOutput) return 0;
    return ::close(static_cast<int>(h)) == 0 ? 0 : system_error(errno, kFileNotFound);
  }

  bool is_terminal(Handle h) override { return h == kTerminalInput || h == kTerminalOutput; }

  [[noreturn]] void exit_process(int code) override {
    zv_exit(code);
    __builtin_unreachable();
  }

 private:
  // One page runs one program at a time, so no lock is needed; otherwise as
  // on Linux: a folder or the guarded file is refused before anything is
  // cut, and only a regular file is truncated.
  static OpenResult open_file(const char* name, int flags, std::uint32_t missing, const char* guarded) {
    struct stat kept {};
    const bool guarding = guarded != nullptr && identify(guarded, kept);
    char path[512];
    to_native_path(name, path);
    if (const int err = walk_folders(path); err != 0) return {kNoHandle, system_error(err, missing)};
    const int fd = ::open(path, O_WRONLY | flags, 0666);
    if (fd < 0) return {kNoHandle, system_error(errno, missing)};
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    const bool is_kept = guarding && st.st_dev == kept.st_dev && st.st_ino == kept.st_ino;
    if (known && (S_ISDIR(st.st_mode) || is_kept)) {
      ::close(fd);
      return {kNoHandle, kAccessDenied};
    }
    const bool regular = !known || S_ISREG(st.st_mode);
    if ((flags & O_APPEND) == 0 && regular && ::ftruncate(fd, 0) != 0) {
      const int err = errno;
      ::close(fd);
      return {kNoHandle, system_error(err, missing)};
    }
    return {fd, 0};
  }
};

}  // namespace

Platform& system_platform() {
  static WebPlatform platform;
  return platform;
}

}  // namespace zv::console
