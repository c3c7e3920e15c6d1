#pragma once
// A platform double for in-process tests: standard input from a string,
// files in memory, every call recorded, and any single call made to fail.
#include <map>
#include <string>
#include <vector>

#include "console/platform.h"

namespace zv::test {

// Thrown by exit_process so a test can see how a run ended.
struct ProcessExit {
  int code;
};

class FakePlatform final : public console::Platform {
 public:
  enum class Op { read, write, open_write, open_append, close };
  struct Call {
    Op op;
    console::Handle handle;
    std::string detail;     // bytes written, or the name opened
    std::string file = {};  // the file a write or close went to
  };

  static constexpr console::Handle kStdin = 0;
  static constexpr console::Handle kStdout = 1;

  std::string input;             // what standard input holds
  std::size_t read_chunk = 256;  // at most this much per read
  bool stdout_is_terminal = false;
  std::map<std::string, std::string> files;  // name -> content
  std::map<std::string, bool> locked;        // held by "another program"
  std::string stdout_bytes;
  std::vector<Call> calls;

  // Fail the n-th call (counting every call in `calls`, from 0) with this
  // system error; for a write, `partial` bytes still reach their target and
  // the call reports no progress, as a full device does.
  int fail_call = -1;
  std::uint32_t fail_error = 112;
  std::size_t partial = 0;

  int count(Op op) const;
  void set_input(std::string bytes) {
    input = std::move(bytes);
    input_pos_ = 0;
  }

  console::Handle standard_input() override { return kStdin; }
  console::Handle standard_output() override { return kStdout; }
  console::OpenResult open_write(const char* name, const char* guarded) override;
  console::OpenResult open_append(const char* name) override;
  console::IoResult read(console::Handle h, void* buffer, std::size_t size) override;
  console::IoResult write(console::Handle h, const void* data, std::size_t size) override;
  std::uint32_t close(console::Handle h) override;
  bool is_terminal(console::Handle h) override { return h == kStdout && stdout_is_terminal; }
  [[noreturn]] void exit_process(int code) override { throw ProcessExit{code}; }

 private:
  bool failing();
  std::size_t input_pos_ = 0;
  std::map<console::Handle, std::string> open_;  // handle -> file name
  console::Handle next_handle_ = 10;
};

}  // namespace zv::test
