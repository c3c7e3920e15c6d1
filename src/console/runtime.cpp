#include "console/runtime.h"

#include <cstdlib>
#include <cstring>

namespace zv::console {

namespace {

constexpr unsigned char kEndOfInputByte = 26;
constexpr std::uint16_t kInvalidNumber = 106;
constexpr std::uint16_t kWriteFailed = 101;
constexpr std::uint16_t kRangeError = 201;
constexpr std::uint16_t kOverflow = 205;
constexpr std::uint16_t kInvalidName = 123;
constexpr std::string_view kPressEnter = "nazhmite Enter, chtoby zakryt okno";

bool is_blank(int c) { return c >= 0 && c <= 32; }

// Appends "$" and eight uppercase hexadecimal digits.
void append_hex(ShortString& text, std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  text.push_back('$');
  for (int shift = 28; shift >= 0; shift -= 4) text.push_back(kDigits[(value >> shift) & 0xF]);
}

void append_decimal(ShortString& text, std::uint32_t value) {
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) text.push_back(digits[--n]);
}

// Names the file system would refuse: control bytes (NUL included, which
// would otherwise cut the name short) and < > " | ? *.
bool is_acceptable_name(std::string_view name) {
  for (unsigned char c : name) {
    if (c < 32) return false;
    if (std::strchr("<>\"|?*", c) != nullptr) return false;
  }
  return true;
}

// 10^n in extended precision, by squaring.
Extended power_of_ten(unsigned n) {
  Extended result = 1;
  Extended base = 10;
  while (n != 0) {
    if (n & 1U) result *= base;
    base *= base;
    n >>= 1U;
  }
  return result;
}

}  // namespace

Location location_of(std::string_view file, std::uint32_t line) {
  const std::size_t slash = file.find_last_of("/\\");
  if (slash != std::string_view::npos) file.remove_prefix(slash + 1);
  std::uint32_t hash = 2166136261u;  // FNV-1a over "file:line"
  auto mix = [&hash](unsigned char c) {
    hash ^= c;
    hash *= 16777619u;
  };
  for (char c : file) mix(static_cast<unsigned char>(c));
  mix(':');
  for (int shift = 24; shift >= 0; shift -= 8) mix(static_cast<unsigned char>(line >> shift));
  return 0x00400000u | (hash & 0x000FFFFCu);
}

Runtime::Runtime(Platform& platform) : platform_(platform) {
  input_.handle = platform_.standard_input();
  input_.mode = StreamMode::input;
  output_.handle = platform_.standard_output();
  output_.mode = StreamMode::output;
  output_.flush_per_line = platform_.is_terminal(output_.handle);
  report_.handle = output_.handle;
  report_.mode = StreamMode::output;
  report_.flush_per_line = output_.flush_per_line;
}

// ---- input -------------------------------------------------------------

bool Runtime::refill() {
  if (pending_io_error_ != 0 || input_.at_end_of_input) return false;
  const IoResult r = platform_.read(input_.handle, input_.buffer, TextStream::kBufferSize);
  input_.position = 0;
  input_.end = 0;
  if (r.error != 0) {
    pending_io_error_ = map_system_error(r.error);
    return false;
  }
  if (r.end_of_input || r.bytes == 0) {
    input_.at_end_of_input = true;
    return false;
  }
  input_.end = static_cast<std::uint32_t>(r.bytes);
  return true;
}

int Runtime::peek() {
  if (input_.position >= input_.end && !refill()) return -1;
  const unsigned char c = input_.buffer[input_.position];
  return c == kEndOfInputByte ? -1 : c;
}

ShortString Runtime::read_token() {
  ShortString token;
  for (int c = peek(); c > 32 && token.size() < ShortString::capacity; c = peek()) {
    token.push_back(static_cast<char>(c));
    advance();
  }
  return token;
}

std::int32_t Runtime::read_integer() {
  if (pending_io_error_ != 0) return 0;
  int c = peek();
  while (is_blank(c)) {
    advance();
    c = peek();
  }
  if (c < 0) return 0;
  const ShortString token = read_token();
  if (pending_io_error_ != 0) return 0;  // the read failed inside the token
  std::string_view t = token.view();

  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  unsigned base = 10;
  if (!t.empty() && t[0] == '$') {
    base = 16;
    t.remove_prefix(1);
  } else if (t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t.remove_prefix(2);
  } else if (!t.empty() && (t[0] == 'x' || t[0] == 'X')) {
    base = 16;
    t.remove_prefix(1);
  } else if (!t.empty() && t[0] == '%') {
    base = 2;
    t.remove_prefix(1);
  } else if (!t.empty() && t[0] == '&') {
    base = 8;
    t.remove_prefix(1);
  }
  if (t.empty()) {
    pending_io_error_ = kInvalidNumber;
    return 0;
  }
  while (t.size() > 1 && t[0] == '0') t.remove_prefix(1);

  const std::uint64_t limit = base == 10 ? (negative ? 2147483648ull : 2147483647ull) : 0xFFFFFFFFull;
  std::uint64_t value = 0;
  for (char ch : t) {
    unsigned digit;
    if (ch >= '0' && ch <= '9') {
      digit = static_cast<unsigned>(ch - '0');
    } else if (base == 16 && ch >= 'A' && ch <= 'F') {
      digit = static_cast<unsigned>(ch - 'A' + 10);
    } else if (base == 16 && ch >= 'a' && ch <= 'f') {
      digit = static_cast<unsigned>(ch - 'a' + 10);
    } else {
      digit = base;  // not a digit at all
    }
    if (digit >= base) {
      pending_io_error_ = kInvalidNumber;
      return 0;
    }
    value = value * base + digit;
    if (value > limit) {
      pending_io_error_ = kInvalidNumber;
      return 0;
    }
  }
  std::uint32_t pattern = static_cast<std::uint32_t>(value);
  if (negative) pattern = 0u - pattern;
  return static_cast<std::int32_t>(pattern);
}

std::int16_t Runtime::range_check(std::int32_t value, Location at) {
  if (value < -32768 || value > 32767) runtime_error(kRangeError, at);
  return static_cast<std::int16_t>(value);
}

ShortString Runtime::read_line() {
  ShortString line;
  if (pending_io_error_ != 0) return line;
  for (int c = peek(); c >= 0 && c != '\r' && c != '\n' && line.size() < ShortString::capacity; c = peek()) {
    line.push_back(static_cast<char>(c));
    advance();
  }
  return line;
}

Extended Runtime::read_real(Location at) {
  if (pending_io_error_ != 0) return 0;
  bool skipped = false;
  int c = peek();
  while (is_blank(c)) {
    skipped = true;
    advance();
    c = peek();
  }
  if (pending_io_error_ != 0 || (c < 0 && skipped)) return 0;
  const ShortString token = read_token();
  if (pending_io_error_ != 0) return 0;  // the read failed inside the token
  std::string_view t = token.view();

  bool negative = false;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  Extended value = 0;
  unsigned digits = 0;
  unsigned fraction_digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
    value = value * 10 + (t[i++] - '0');
    ++digits;
  }
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      value = value * 10 + (t[i++] - '0');
      ++digits;
      ++fraction_digits;
    }
  }
  bool valid = digits > 0;
  long exponent = 0;
  bool exponent_negative = false;
  if (valid && i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) exponent_negative = t[i++] == '-';
    unsigned exponent_digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      if (exponent < 100000) exponent = exponent * 10 + (t[i] - '0');
      ++i;
      ++exponent_digits;
    }
    valid = exponent_digits > 0;
  }
  if (!valid || i != t.size()) {
    pending_io_error_ = kInvalidNumber;
    return 0;
  }
  if (fraction_digits > 0) value /= power_of_ten(fraction_digits);
  if (negative) value = -value;
  // Applied in at most two steps so that 10^exponent itself stays finite.
  constexpr long kStep = 4930;
  while (exponent > 0 && value != 0) {
    const long step = exponent > kStep ? kStep : exponent;
    const Extended scale = power_of_ten(static_cast<unsigned>(step));
    value = exponent_negative ? value / scale : value * scale;
    exponent -= step;
    if (isinf(value)) break;
  }
  // Beyond the 64-bit range: what would round to infinity as a double.
  if (isinf(value) || fabs(value) >= kExtendedDoubleLimit) runtime_error(kOverflow, at);
  return value;
}

void Runtime::skip_line_end() {
  if (pending_io_error_ != 0) return;
  if (input_.position >= input_.end) refill();
  for (int c = peek(); c >= 0; c = peek()) {
    advance();
    if (c == '\n') return;
    if (c == '\r') {
      if (peek() == '\n') advance();
      return;
    }
  }
}

// ---- output ------------------------------------------------------------

void Runtime::hand_over(TextStream& stream) {
  std::uint32_t done = 0;
  while (done < stream.position) {
    const IoResult r = platform_.write(stream.handle, stream.buffer + done, stream.position - done);
    if (r.error != 0 || r.bytes == 0) {
      // A failed or stalled hand-over: what was not written is dropped.
      stream.position = 0;
      if (pending_io_error_ == 0) pending_io_error_ = kWriteFailed;
      return;
    }
    done += static_cast<std::uint32_t>(r.bytes);
  }
  stream.position = 0;
}

void Runtime::write_text(TextStream& stream, std::string_view text) {
  if (pending_io_error_ != 0 || stream.mode != StreamMode::output) return;
  while (!text.empty()) {
    const std::size_t room = TextStream::kBufferSize - stream.position;
    const std::size_t n = text.size() < room ? text.size() : room;
    std::memcpy(stream.buffer + stream.position, text.data(), n);
    stream.position += static_cast<std::uint32_t>(n);
    text.remove_prefix(n);
    if (stream.position == TextStream::kBufferSize) {
      hand_over(stream);
      if (pending_io_error_ != 0) return;
    }
  }
}

void Runtime::write_line_end(TextStream& stream) {
  write_text(stream, "\r\n");
  if (pending_io_error_ == 0 && stream.flush_per_line && stream.position > 0) hand_over(stream);
}

// ---- files -------------------------------------------------------------

void Runtime::open_stream(TextStream& stream, std::string_view name, bool append, const char* guarded) {
  if (pending_io_error_ != 0) return;
  stream.name.assign(name);  // cut at 255 bytes
  stream.position = 0;
  stream.end = 0;
  const std::string_view cut = stream.name.view();
  if (!is_acceptable_name(cut)) {
    pending_io_error_ = kInvalidName;
    return;
  }
  char path[ShortString::capacity + 1];
  std::memcpy(path, cut.data(), cut.size());
  path[cut.size()] = '\0';
  const OpenResult r = append ? platform_.open_append(path) : platform_.open_write(path, guarded);
  if (r.error != 0) {
    pending_io_error_ = map_system_error(r.error);
    return;
  }
  stream.handle = r.handle;
  stream.mode = StreamMode::output;
  stream.flush_per_line = false;
}

void Runtime::open_write(TextStream& stream, std::string_view name, const char* guarded) {
  open_stream(stream, name, false, guarded);
}

void Runtime::open_append(TextStream& stream, std::string_view name) {
  open_stream(stream, name, true, nullptr);
}

void Runtime::close(TextStream& stream) {
  if (pending_io_error_ != 0 || stream.mode == StreamMode::closed) return;
  if (stream.mode == StreamMode::output) hand_over(stream);
  // A close that fails lost bytes already handed over: a failed write.
  if (platform_.close(stream.handle) != 0 && pending_io_error_ == 0) pending_io_error_ = kWriteFailed;
  stream.handle = kNoHandle;
  stream.mode = StreamMode::closed;
}

// ---- checks and the report -----------------------------------------------

void Runtime::io_check(Location at) {
  if (pending_io_error_ == 0) return;
  const std::uint16_t number = pending_io_error_;
  pending_io_error_ = 0;
  runtime_error(number, at);
}

void Runtime::push_caller(Location at) {
  if (caller_depth_ < callers_.size()) callers_[caller_depth_] = at;
  ++caller_depth_;
}

void Runtime::pop_caller() {
  if (caller_depth_ > 0) --caller_depth_;
}

void Runtime::runtime_error(std::uint16_t number, Location at) {
  // The dialogue text goes out first, then the report on its own stream.
  pending_io_error_ = 0;
  hand_over(output_);
  pending_io_error_ = 0;

  ShortString line("Runtime error ");
  append_decimal(line, number);
  line.append(" at ");
  append_hex(line, at);
  write_text(report_, line);
  write_line_end(report_);
  line.assign("  ");
  append_hex(line, at);
  write_text(report_, line);
  write_line_end(report_);
  const std::size_t limit = report_.flush_per_line ? 9 : 257;
  const std::size_t depth = caller_depth_ < callers_.size() ? caller_depth_ : callers_.size();
  for (std::size_t k = 0; k < depth && k < limit; ++k) {
    line.assign("  ");
    append_hex(line, callers_[depth - 1 - k]);
    write_text(report_, line);
    write_line_end(report_);
  }
  write_line_end(report_);
  hand_over(report_);
  if (platform_.console_of_its_own()) keep_window_open();
  // The exit code is the number's low byte; a failed run never exits with 0.
  platform_.exit_process((number & 0xFF) != 0 ? number & 0xFF : 0xFF);
  std::abort();  // exit_process does not return
}

// A console window of the program's own (a double-click in Explorer) would
// close with the process and take the report with it: one more line asks
// for Enter. What was typed before it shows does not count.
void Runtime::keep_window_open() {
  platform_.discard_typed_ahead(input_.handle);
  input_.position = input_.end;
  pending_io_error_ = 0;
  write_text(report_, kPressEnter);
  write_line_end(report_);
  hand_over(report_);
  platform_.wait_for_enter(input_.handle);
}

void Runtime::finish() {
  hand_over(output_);
  if (pending_io_error_ != 0) io_check();
  platform_.exit_process(0);
  std::abort();  // exit_process does not return
}

}  // namespace zv::console
