#pragma once
// The console runtime: the process's standard streams, the reading
// statements, text output, file opening, the pending input/output error and
// the run-time error report that ends a failed run.
#include <array>
#include <cstddef>
#include <cstdint>
#include <source_location>
#include <string_view>

#include "console/extended.h"
#include "console/platform.h"
#include "console/short_string.h"
#include "console/text_stream.h"

namespace zv::console {

using Location = std::uint32_t;

// A deterministic 32-bit code for a place in the sources (file base name and
// line), shaped like a code address.
Location location_of(std::string_view file, std::uint32_t line);
inline Location here(std::source_location at = std::source_location::current()) {
  return location_of(at.file_name(), at.line());
}

class Runtime {
 public:
  explicit Runtime(Platform& platform);
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  Platform& platform() { return platform_; }
  TextStream& input() { return input_; }
  TextStream& output() { return output_; }

  // Reading statements' parts (standard input).
  std::int32_t read_integer();
  std::int16_t range_check(std::int32_t value, Location at = here());
  ShortString read_line();
  Extended read_real(Location at = here());  // overflow ends the run (205)
  void skip_line_end();

  // Output.
  void write_text(TextStream& stream, std::string_view text);
  void write_line_end(TextStream& stream);

  // Text files. open_write refuses (error 5) a name that leads to the
  // existing file named `guarded`, before anything in that file changes.
  void open_write(TextStream& stream, std::string_view name, const char* guarded = nullptr);
  void open_append(TextStream& stream, std::string_view name);
  void close(TextStream& stream);

  std::uint16_t pending_io_error() const { return pending_io_error_; }
  void io_check(Location at = here());
  [[noreturn]] void runtime_error(std::uint16_t number, Location at);

  // Normal end: hand over what standard output holds, exit 0.
  [[noreturn]] void finish();

  // Caller chain for the report: each routine entered from the dialogue
  // start-up pushes the place it returns to.
  void push_caller(Location at);
  void pop_caller();

 private:
  int peek();  // next byte, or -1 at end of input (byte 26 included)
  void advance() { ++input_.position; }
  bool refill();
  void hand_over(TextStream& stream);
  void keep_window_open();
  void open_stream(TextStream& stream, std::string_view name, bool append, const char* guarded);
  ShortString read_token();

  Platform& platform_;
  TextStream input_;
  TextStream output_;
  TextStream report_;
  std::uint16_t pending_io_error_ = 0;
  std::array<Location, 8> callers_{};
  std::size_t caller_depth_ = 0;
};

// Marks a call out of the driver (into a template writer or a log routine,
// or from start-up into the driver) so a report can name the return places.
class CallSite {
 public:
  explicit CallSite(Runtime& rt, std::source_location at = std::source_location::current()) : rt_(rt) {
    rt_.push_caller(location_of(at.file_name(), at.line()));
  }
  ~CallSite() { rt_.pop_caller(); }
  CallSite(const CallSite&) = delete;
  CallSite& operator=(const CallSite&) = delete;

 private:
  Runtime& rt_;
};

}  // namespace zv::console
