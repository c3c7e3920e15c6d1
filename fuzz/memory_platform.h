#pragma once
// A platform double for the fuzz targets: standard input from memory in
// chosen chunk sizes, standard output and files in memory, each with an
// optional amount of room after which writes make no progress (a full disk,
// a closed pipe), a small directory model, and a record of every file and
// output operation in order.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "console/platform.h"

namespace zv::fuzz {

// Thrown by exit_process so the target sees how a run ended.
struct ProcessExit {
  int code;
};

class MemoryPlatform final : public console::Platform {
 public:
  static constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
  static constexpr console::Handle kStdin = 0;
  static constexpr console::Handle kStdout = 1;

  enum class Op { open_write, open_append, write_file, close_file, write_stdout };
  struct Event {
    Op op;
    std::string name;       // the file (empty for standard output)
    std::size_t bytes = 0;  // bytes that reached the target
    std::size_t asked = 0;  // bytes the write was given
  };

  // Standard input.
  std::string input;
  std::size_t chunk = 256;    // at most this many bytes per read
  std::size_t delivered = 0;  // bytes handed out so far

  // Standard output.
  std::string out;
  std::size_t out_room = kUnlimited;
  bool terminal = false;

  // The file system: files by path ("/" separated), directories, files
  // held open by another program, and the room left on the device.
  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  std::set<std::string> locked;
  std::size_t disk_room = kUnlimited;

  std::vector<Event> events;

  console::Handle standard_input() override { return kStdin; }
  console::Handle standard_output() override { return kStdout; }

  console::OpenResult open_write(const char* name, const char* guarded) override {
    if (guarded != nullptr && files.count(path_of(guarded)) != 0 && path_of(name) == path_of(guarded)) {
      events.push_back({Op::open_write, path_of(name)});
      return {console::kNoHandle, kAccessDenied};  // the guarded file is left alone
    }
    return open(name, false);
  }
  console::OpenResult open_append(const char* name) override { return open(name, true); }

  console::IoResult read(console::Handle, void* buffer, std::size_t size) override {
    std::size_t n = input.size() - delivered;
    if (n > size) n = size;
    if (n > chunk) n = chunk;
    std::memcpy(buffer, input.data() + delivered, n);
    delivered += n;
    return {n, 0, n == 0};
  }

  console::IoResult write(console::Handle h, const void* data, std::size_t size) override {
    const bool to_stdout = h == kStdout;
    std::size_t& room = to_stdout ? out_room : disk_room;
    std::string& target = to_stdout ? out : files[open_[h]];
    const std::size_t n = size < room ? size : room;
    if (room != kUnlimited) room -= n;
    target.append(static_cast<const char*>(data), n);
    events.push_back({to_stdout ? Op::write_stdout : Op::write_file, to_stdout ? "" : open_[h], n, size});
    if (n == 0) return {0, to_stdout ? kBrokenPipe : kDiskFull, false};
    return {n, 0, false};
  }

  std::uint32_t close(console::Handle h) override {
    events.push_back({Op::close_file, open_[h]});
    open_.erase(h);
    return 0;
  }

  bool is_terminal(console::Handle h) override { return h == kStdout && terminal; }

  [[noreturn]] void exit_process(int code) override { throw ProcessExit{code}; }

  // Both separators name directories; the model keeps "/".
  static std::string path_of(std::string_view name) {
    std::string path(name);
    for (char& c : path) c = c == '\\' ? '/' : c;
    return path;
  }

  // True when some write to standard output (or to a file) was cut short.
  bool cut(Op op) const {
    for (const Event& e : events) {
      if (e.op == op && e.bytes < e.asked) return true;
    }
    return false;
  }

  int count(Op op) const {
    int n = 0;
    for (const Event& e : events) n += e.op == op ? 1 : 0;
    return n;
  }

 private:
  static constexpr std::uint32_t kFileNotFound = 2;
  static constexpr std::uint32_t kPathNotFound = 3;
  static constexpr std::uint32_t kAccessDenied = 5;
  static constexpr std::uint32_t kBrokenPipe = 109;
  static constexpr std::uint32_t kDiskFull = 112;
  static constexpr std::uint32_t kSharingViolation = 32;

  console::OpenResult open(const char* name, bool append) {
    const std::string path = path_of(name);
    events.push_back({append ? Op::open_append : Op::open_write, path});
    if (directories.count(path) != 0) return {console::kNoHandle, kAccessDenied};
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && directories.count(path.substr(0, slash)) == 0) {
      return {console::kNoHandle, kPathNotFound};  // missing, or a file used as a directory
    }
    if (append && files.count(path) == 0) return {console::kNoHandle, kFileNotFound};
    if (locked.count(path) != 0) return {console::kNoHandle, kSharingViolation};
    if (!append) files[path].clear();
    open_[next_handle_] = path;
    return {next_handle_++, 0};
  }

  std::map<console::Handle, std::string> open_;
  console::Handle next_handle_ = 10;
};

}  // namespace zv::fuzz
