#pragma once
// The one in-memory platform of the unit tests and the fuzz targets:
// standard input from a string in chosen chunk sizes, standard output and
// files in memory (each with an optional amount of room after which writes
// make no progress: a full disk, a closed pipe), a small directory model,
// files held open by another program, every call recorded in order, and
// any single call made to fail.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "console/platform.h"

namespace zv::test {

// Thrown by exit_process so a test or a fuzz target sees how a run ended.
struct ProcessExit {
  int code;
};

class MemoryPlatform final : public console::Platform {
 public:
  static constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
  static constexpr console::Handle kStdin = 0;
  static constexpr console::Handle kStdout = 1;

  enum class Op { read, write, open_write, open_append, close, discard_typed_ahead, wait_for_enter };
  struct Call {
    Op op;
    console::Handle handle;  // kNoHandle for an open
    std::string name = {};   // the file opened, written or closed ("/" separated); empty for the console
    std::string bytes = {};  // the bytes a write was given
    std::size_t moved = 0;   // the bytes that reached the target (a write) or were delivered (a read)
  };

  // Standard input.
  std::string input;
  std::size_t chunk = 256;  // at most this many bytes per read

  // Standard output.
  std::string out;
  std::size_t out_room = kUnlimited;
  bool terminal = false;
  bool own_console = false;  // a console window that closes with the process

  // The file system: files by path ("/" separated), directories (a path
  // with a directory part needs it here), files held open by another
  // program, and the room left on the device.
  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  std::set<std::string> locked;
  std::size_t disk_room = kUnlimited;

  std::vector<Call> calls;

  // Fail the n-th call (counting every call in `calls`, from 0) with this
  // system error; for a write, `partial` bytes still reach their target and
  // the call reports no progress, as a full device does.
  int fail_call = -1;
  std::uint32_t fail_error = 112;
  std::size_t partial = 0;

  void set_input(std::string bytes) {
    input = std::move(bytes);
    delivered_ = 0;
  }
  std::size_t delivered() const { return delivered_; }  // input bytes handed out so far

  int count(Op op) const;
  // True when some write to standard output (or to a file) moved less than
  // it was given.
  bool stdout_cut() const { return cut(true); }
  bool file_cut() const { return cut(false); }

  // Both separators name directories; the model keeps "/".
  static std::string path_of(std::string_view name);

  console::Handle standard_input() override { return kStdin; }
  console::Handle standard_output() override { return kStdout; }
  console::OpenResult open_write(const char* name, const char* guarded) override;
  console::OpenResult open_append(const char* name) override;
  console::IoResult read(console::Handle h, void* buffer, std::size_t size) override;
  console::IoResult write(console::Handle h, const void* data, std::size_t size) override;
  std::uint32_t close(console::Handle h) override;
  bool is_terminal(console::Handle h) override { return h == kStdout && terminal; }
  bool console_of_its_own() override { return own_console; }
  // What standard input still holds counts as typed ahead; the Enter
  // waited for comes at once.
  void discard_typed_ahead(console::Handle h) override {
    calls.push_back({Op::discard_typed_ahead, h});
    delivered_ = input.size();
  }
  void wait_for_enter(console::Handle h) override { calls.push_back({Op::wait_for_enter, h}); }
  [[noreturn]] void exit_process(int code) override { throw ProcessExit{code}; }

 private:
  bool failing() const { return static_cast<int>(calls.size()) - 1 == fail_call; }
  bool cut(bool to_stdout) const;
  console::OpenResult open(const char* name, bool append);

  std::size_t delivered_ = 0;
  std::map<console::Handle, std::string> open_;  // handle -> path
  console::Handle next_handle_ = 10;
};

}  // namespace zv::test
