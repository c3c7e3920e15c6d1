#pragma once
// The narrow interface through which every operating-system call passes.
// The real implementations live in posix_platform.cpp / win32_platform.cpp;
// tests substitute a double that records calls and fails any chosen one.
//
// Error codes returned here are system error codes in the Windows numbering
// (2 file not found, 3 path not found, 5 access denied, 123 invalid name...);
// map_system_error() turns them into the run-time error numbers.
#include <cstddef>
#include <cstdint>

namespace zv::console {

using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

struct OpenResult {
  Handle handle = kNoHandle;
  std::uint32_t error = 0;  // 0: success
};

struct IoResult {
  std::size_t bytes = 0;      // bytes moved
  std::uint32_t error = 0;    // 0: success
  bool end_of_input = false;  // a read on a closed pipe: not an error
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual Handle standard_input() = 0;
  virtual Handle standard_output() = 0;
  // Create or truncate a file for writing, exclusively (no sharing). When
  // `guarded` (or null) names an existing file and `name` leads to that
  // same file, by whatever path or link, the open fails with access denied
  // and leaves the file as it is. Neither open waits: a FIFO without a
  // reader fails at once with "not ready".
  virtual OpenResult open_write(const char* name, const char* guarded) = 0;
  // Open an existing file for writing at its end, exclusively.
  virtual OpenResult open_append(const char* name) = 0;
  virtual IoResult read(Handle h, void* buffer, std::size_t size) = 0;
  virtual IoResult write(Handle h, const void* data, std::size_t size) = 0;
  // 0, or the error of a close that failed: a write the system finished
  // late (a full disk, a quota, a network file system) that did not reach
  // the file.
  virtual std::uint32_t close(Handle h) = 0;
  virtual bool is_terminal(Handle h) = 0;
  // Whether the process has a console window of its own, which closes when
  // it ends (Windows started it from Explorer): the only process on its
  // console, with standard input and output both that console. A console
  // shared with a command prompt or a script, redirected input or output,
  // or a check that fails: false. A terminal or the page never closes with
  // the program.
  virtual bool console_of_its_own() { return false; }
  // Drops the keys typed ahead on this console.
  virtual void discard_typed_ahead(Handle /*console*/) {}
  // Waits until Enter is pressed on this console; returns at once when the
  // console cannot be read.
  virtual void wait_for_enter(Handle /*console*/) {}
  [[noreturn]] virtual void exit_process(int code) = 0;
};

// The error-number rule: below 19 kept; 19..31 -> +131 (device errors);
// 32 sharing violation, 145 directory not empty, 183 already exists -> 5;
// everything else unchanged, cut to 16 bits.
constexpr std::uint16_t map_system_error(std::uint32_t code) {
  if (code < 19) return static_cast<std::uint16_t>(code);
  if (code <= 31) return static_cast<std::uint16_t>(code + 131);
  if (code == 32 || code == 145 || code == 183) return 5;
  return static_cast<std::uint16_t>(code & 0xFFFFu);
}

// The platform of this build (POSIX or Win32).
Platform& system_platform();

}  // namespace zv::console
