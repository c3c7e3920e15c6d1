#include "support/memory_platform.h"

#include <algorithm>
#include <cstring>

namespace zv::test {

namespace {

constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kSharingViolation = 32;
constexpr std::uint32_t kBrokenPipe = 109;
constexpr std::uint32_t kDiskFull = 112;

}  // namespace

int MemoryPlatform::count(Op op) const {
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [op](const Call& c) { return c.op == op; }));
}

bool MemoryPlatform::cut(bool to_stdout) const {
  return std::any_of(calls.begin(), calls.end(), [to_stdout](const Call& c) {
    return c.op == Op::write && (c.handle == kStdout) == to_stdout && c.moved < c.bytes.size();
  });
}

std::string MemoryPlatform::path_of(std::string_view name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

console::OpenResult MemoryPlatform::open_write(const char* name, const char* guarded) {
  if (guarded != nullptr && files.count(path_of(guarded)) != 0 && path_of(name) == path_of(guarded)) {
    calls.push_back({Op::open_write, console::kNoHandle, path_of(name)});
    if (failing()) return {console::kNoHandle, fail_error};
    return {console::kNoHandle, kAccessDenied};  // the guarded file is left alone
  }
  return open(name, false);
}

console::OpenResult MemoryPlatform::open_append(const char* name) { return open(name, true); }

console::OpenResult MemoryPlatform::open(const char* name, bool append) {
  const std::string path = path_of(name);
  calls.push_back({append ? Op::open_append : Op::open_write, console::kNoHandle, path});
  if (failing()) return {console::kNoHandle, fail_error};
  if (directories.count(path) != 0) return {console::kNoHandle, kAccessDenied};
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos && directories.count(path.substr(0, slash)) == 0)
    return {console::kNoHandle, kPathNotFound};  // missing, or a file used as a directory
  if (append && files.count(path) == 0) return {console::kNoHandle, kFileNotFound};
  if (locked.count(path) != 0) return {console::kNoHandle, kSharingViolation};
  if (!append) files[path].clear();
  open_[next_handle_] = path;
  return {next_handle_++, 0};
}

console::IoResult MemoryPlatform::read(console::Handle h, void* buffer, std::size_t size) {
  calls.push_back({Op::read, h});
  if (failing()) return {0, fail_error, false};
  const std::size_t n = std::min({size, chunk, input.size() - delivered_});
  std::memcpy(buffer, input.data() + delivered_, n);
  delivered_ += n;
  calls.back().moved = n;
  return {n, 0, n == 0};
}

console::IoResult MemoryPlatform::write(console::Handle h, const void* data, std::size_t size) {
  const bool to_stdout = h == kStdout;
  const std::string name = to_stdout ? std::string() : open_[h];
  calls.push_back({Op::write, h, name, std::string(static_cast<const char*>(data), size)});
  Call& call = calls.back();
  std::string& target = to_stdout ? out : files[name];
  if (failing()) {
    call.moved = std::min(partial, size);
    target += call.bytes.substr(0, call.moved);
    return {0, fail_error, false};
  }
  std::size_t& room = to_stdout ? out_room : disk_room;
  const std::size_t n = std::min(size, room);
  if (room != kUnlimited) room -= n;
  target += call.bytes.substr(0, n);
  call.moved = n;
  if (n == 0) return {0, to_stdout ? kBrokenPipe : kDiskFull, false};
  return {n, 0, false};
}

std::uint32_t MemoryPlatform::close(console::Handle h) {
  calls.push_back({Op::close, h, open_[h]});
  open_.erase(h);
  return failing() ? fail_error : 0;  // the handle is released either way
}

}  // namespace zv::test
