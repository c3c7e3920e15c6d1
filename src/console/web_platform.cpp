// The platform interface in the browser page (Emscripten). Standard input and
// output are the page's terminal: a read waits, through Asyncify, for the next
// line the user sends; each hand-over of standard output goes to the terminal
// at once. Files live in the page's folder, which the page keeps in the
// browser's storage; the program sees it as the root of its file system.
// Files are reached through the same POSIX calls and the same error
// translation as on Linux, so names, folders and the guard on the log behave
// alike. Closing a file hands it to the page, and the run goes on only once
// the page has stored it.
#include <emscripten.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "console/platform.h"
#include "console/posix_files.h"

// The page supplies the members of the module object used here (see
// program-pre.js). zvReadInput resolves to at most `size` bytes of the line
// the user sent (none at end of input); zvLoadFolder once the page's folder
// is in the program's file system; zvStoreFile to 0 once the page has
// stored the file at `path` (from byte `from` on, appended to the stored
// file, or whole where `from` is -1), anything else where it could not.
// clang-format off
EM_ASYNC_JS(int, zv_read_input, (unsigned char* buffer, int size), {
  const bytes = await Module.zvReadInput(size);
  HEAPU8.set(bytes, buffer);
  return bytes.length;
});
EM_JS(void, zv_write_output, (const unsigned char* data, int size), {
  Module.zvWriteOutput(HEAPU8.slice(data, data + size));
});
// The folder is read from the browser's storage while the program greets:
// the first file operation waits until it is there.
EM_ASYNC_JS(void, zv_await_folder, (), {
  await Module.zvLoadFolder();
});
EM_ASYNC_JS(int, zv_store_file, (const char* path, double from), {
  return await Module.zvStoreFile(UTF8ToString(path), from);
});
// The page shows the code; the instance then waits for ever, so nothing
// after the exit runs.
EM_ASYNC_JS(void, zv_exit, (int code), {
  Module.zvExit(code);
  await new Promise(function () {});
});
// clang-format on

namespace zv::console {

namespace {

constexpr Handle kTerminalInput = 0;
constexpr Handle kTerminalOutput = 1;
// The folder: the program's current directory and the root of every name.
constexpr char kRoot[] = "/store/folder";
constexpr std::size_t kPathSize = 512;

using namespace posix;

// Where `name` leads when the folder is the root of the file system, as in a
// chroot: a leading "/" starts at the folder, ".." at the top stays there,
// "/" and "\" separate parts. Each folder part is walked as Linux walks it:
// a missing folder is missing even where ".." follows it, and a file used as
// a folder is not a folder; a name that ends in a separator names a folder.
// 0 and the path, or the errno of the failed step.
int resolve(const char* name, char (&path)[kPathSize]) {
  char native[kPathSize];
  to_native_path(name, native);
  std::size_t length = sizeof kRoot - 1;
  std::memcpy(path, kRoot, length + 1);
  const char* part = native;
  for (;;) {
    const char* end = std::strchr(part, '/');
    const std::size_t size = end == nullptr ? std::strlen(part) : static_cast<std::size_t>(end - part);
    const bool last = end == nullptr;
    if (size == 2 && part[0] == '.' && part[1] == '.') {
      if (length > sizeof kRoot - 1) {
        while (path[length - 1] != '/') --length;
        path[--length] = '\0';
      }
    } else if (size > 0 && !(size == 1 && part[0] == '.')) {
      if (length + 1 + size >= kPathSize) return ENAMETOOLONG;
      path[length] = '/';
      std::memcpy(path + length + 1, part, size);
      length += 1 + size;
      path[length] = '\0';
      if (!last) {
        struct stat st {};
        if (::stat(path, &st) != 0) {
          if (errno == ENOTDIR) return ENOTDIR;
          return end[1] == '\0' ? EISDIR : ENOENT;  // "name/" names a folder to be
        }
        if (!S_ISDIR(st.st_mode)) return ENOTDIR;
      }
    }
    if (last) return 0;
    part = end + 1;
  }
}

// A file the program holds open for writing, and the byte from which the
// page appends it to the stored file (-1: the whole file replaces it).
struct OpenFile {
  Handle handle = kNoHandle;
  double from = -1;
  char path[kPathSize] = {};
};

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

  // A closed file is stored before the run goes on; a store that fails is
  // a close that lost written bytes.
  std::uint32_t close(Handle h) override {
    if (h == kTerminalInput || h == kTerminalOutput) return 0;
    if (::close(static_cast<int>(h)) != 0) return system_error(errno, kFileNotFound);
    for (OpenFile& file : open_) {
      if (file.handle != h) continue;
      file.handle = kNoHandle;
      if (zv_store_file(file.path, file.from) != 0) return kGeneralFailure;
    }
    return 0;
  }

  bool is_terminal(Handle h) override { return h == kTerminalInput || h == kTerminalOutput; }

  // A file still open (a run that failed while writing it) is kept as it
  // stands, as on a disk.
  [[noreturn]] void exit_process(int code) override {
    for (const OpenFile& file : open_) {
      if (file.handle != kNoHandle) zv_store_file(file.path, file.from);
    }
    zv_exit(code);
    __builtin_unreachable();
  }

 private:
  // One page runs one program at a time, so no lock is needed; otherwise as
  // on Linux: a folder or the guarded file is refused before anything is
  // cut, and only a regular file is truncated.
  OpenResult open_file(const char* name, int flags, std::uint32_t missing, const char* guarded) {
    if (!folder_loaded_) {
      zv_await_folder();
      folder_loaded_ = true;
    }
    OpenFile* slot = nullptr;
    for (OpenFile& file : open_) {
      if (file.handle == kNoHandle) slot = &file;
    }
    if (slot == nullptr) return {kNoHandle, kTooManyOpenFiles};
    char kept_path[kPathSize];
    struct stat kept {};
    const bool guarding =
        guarded != nullptr && resolve(guarded, kept_path) == 0 && ::stat(kept_path, &kept) == 0;
    if (const int err = resolve(name, slot->path); err != 0) return {kNoHandle, system_error(err, missing)};
    const int fd = ::open(slot->path, O_WRONLY | flags, 0666);
    if (fd < 0) return {kNoHandle, system_error(errno, missing)};
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    const bool is_kept = guarding && st.st_dev == kept.st_dev && st.st_ino == kept.st_ino;
    if (known && (S_ISDIR(st.st_mode) || is_kept)) {
      ::close(fd);
      return {kNoHandle, kAccessDenied};
    }
    const bool appending = (flags & O_APPEND) != 0;
    const bool regular = !known || S_ISREG(st.st_mode);
    if (!appending && regular && ::ftruncate(fd, 0) != 0) {
      const int err = errno;
      ::close(fd);
      return {kNoHandle, system_error(err, missing)};
    }
    slot->handle = fd;
    slot->from = appending ? static_cast<double>(st.st_size) : -1;
    return {fd, 0};
  }

  OpenFile open_[4];
  bool folder_loaded_ = false;
};

}  // namespace

Platform& system_platform() {
  static WebPlatform platform;
  return platform;
}

}  // namespace zv::console
