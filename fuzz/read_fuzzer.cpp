// Fuzz target: the reading statements on arbitrary standard input.
//
// Input: one byte for the read size (1..255, 0 meaning 256), then a script
// of up to 32 operations ("0" read_integer, "1" read_real, "2" read_line,
// "3" skip_line_end; any byte counts modulo 4) ended by ":", then the bytes
// of standard input. Without a ":" among the first 33 bytes the script is
// "0123" and everything after the first byte is input.
//
// After each operation the bytes it consumed are checked against the
// reading rules, and the value it returned against an independent
// conversion of the token (std::from_chars for whole numbers, strtold for
// reals). A pending error ends the script through io_check, whose report
// is checked too.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "console/runtime.h"
#include "support/memory_platform.h"
#include "support/x87.h"

namespace {

using zv::test::MemoryPlatform;
using zv::test::ProcessExit;

[[noreturn]] void fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "read_fuzzer: %s [%.*s]\n", what, static_cast<int>(detail.size()), detail.data());
  std::abort();
}
void expect(bool ok, const char* what, std::string_view detail = {}) {
  if (!ok) fail(what, detail);
}

bool is_blank(unsigned char c) { return c <= 32; }  // byte 26 never gets this far
bool is_line_end(unsigned char c) { return c == '\r' || c == '\n'; }
constexpr unsigned char kEndOfInput = 26;

// The value of a whole-number token, or nothing when the token is invalid.
std::optional<std::int32_t> integer_value(std::string_view t) {
  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  int base = 10;
  if (t.starts_with("$") || t.starts_with("x") || t.starts_with("X")) {
    base = 16;
    t.remove_prefix(1);
  } else if (t.starts_with("0x") || t.starts_with("0X")) {
    base = 16;
    t.remove_prefix(2);
  } else if (t.starts_with("%")) {
    base = 2;
    t.remove_prefix(1);
  } else if (t.starts_with("&")) {
    base = 8;
    t.remove_prefix(1);
  }
  if (t.empty()) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, base);
  if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  if (base == 10) {
    if (value > (negative ? 2147483648ull : 2147483647ull)) return std::nullopt;
  } else if (value > 0xFFFFFFFFull) {
    return std::nullopt;
  }
  std::uint32_t pattern = static_cast<std::uint32_t>(value);
  if (negative) pattern = 0u - pattern;
  return static_cast<std::int32_t>(pattern);
}

// The real-number form: sign, digits with an optional point (one digit at
// least), an optional exponent with at least one digit; nothing else.
bool is_real_token(std::string_view t) {
  std::size_t i = 0;
  auto digits = [&] {
    std::size_t n = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++n;
    return n;
  };
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t mantissa = digits();
  if (i < t.size() && t[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == t.size();
}

// The report of an error raised outside any routine call: the number line,
// the location again, an empty line; at the very end of the output.
void expect_report(const std::string& out, int number) {
  const std::string head = "Runtime error " + std::to_string(number) + " at $";
  const std::size_t length = head.size() + 8 + 2 + 3 + 8 + 2 + 2;
  expect(out.size() >= length, "no report at the end", out);
  const std::string_view r = std::string_view(out).substr(out.size() - length);
  expect(r.starts_with(head), "report head", r);
  const std::string_view where = r.substr(head.size(), 8);
  for (char c : where) expect((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'), "report location", r);
  expect(r.substr(head.size() + 8) == "\r\n  $" + std::string(where) + "\r\n\r\n", "report shape", r);
}

class Reader {
 public:
  explicit Reader(MemoryPlatform& p) : p_(p), rt_(p) {}

  // Runs one operation and checks it; false once the run has ended.
  bool step(int op) {
    const std::size_t before = consumed();
    int pending = 0;
    try {
      switch (op) {
        case 0: check_integer(before, rt_.read_integer()); break;
        case 1: check_real(before, zv::test::to_x87(rt_.read_real())); break;
        case 2: check_line(before, rt_.read_line()); break;
        default:
          rt_.skip_line_end();
          check_line_end(before);
          break;
      }
      pending = rt_.pending_io_error();
      if (pending == 0) return true;
      rt_.io_check();
      fail("io_check returned with an error pending");
    } catch (const ProcessExit& e) {
      if (pending == 0) {  // ended inside the read: only an overflowing real may
        expect(op == 1 && e.code == 205, "a read ended the run");
        std::size_t blanks = 0;
        const std::string_view token = blanks_then_token(before, &blanks);
        expect(is_real_token(token), "overflow from an invalid number", token);
        const long double magnitude = std::fabs(std::strtold(std::string(token).c_str(), nullptr));
        expect(magnitude > static_cast<long double>(DBL_MAX) * (1 - 1e-12L), "overflow within range", token);
      } else {
        expect(e.code == pending, "exit code differs from the pending error");
      }
      expect_report(p_.out, e.code);
      return false;
    }
  }

 private:
  std::size_t consumed() { return p_.delivered() - (rt_.input().end - rt_.input().position); }
  // The byte after the consumed ones, or -1 at the end of the input.
  int next() {
    const std::size_t at = consumed();
    return at < p_.input.size() ? static_cast<unsigned char>(p_.input[at]) : -1;
  }
  bool at_stop() {  // end of input or the end-of-input byte
    const int c = next();
    return c < 0 || c == kEndOfInput;
  }
  std::string_view span(std::size_t before) {
    return std::string_view(p_.input).substr(before, consumed() - before);
  }

  // Blanks, then a token of at most 255 bytes above 32 that ends at a blank
  // or at the end of input unless it was cut at 255. Returns the token.
  std::string_view blanks_then_token(std::size_t before, std::size_t* blanks) {
    const std::string_view s = span(before);
    std::size_t k = 0;
    while (k < s.size() && is_blank(static_cast<unsigned char>(s[k]))) {
      expect(static_cast<unsigned char>(s[k]) != kEndOfInput, "consumed the end-of-input byte", s);
      ++k;
    }
    const std::string_view token = s.substr(k);
    for (char c : token) expect(!is_blank(static_cast<unsigned char>(c)), "blank inside a token", s);
    expect(token.size() <= 255, "token longer than 255", s);
    if (token.size() < 255) {
      const int c = next();
      expect(c < 0 || is_blank(static_cast<unsigned char>(c)), "token stopped early", s);
    }
    if (token.empty()) expect(at_stop(), "blanks skipped up to no token", s);
    *blanks = k;
    return token;
  }

  void check_integer(std::size_t before, std::int32_t value) {
    std::size_t blanks = 0;
    const std::string_view token = blanks_then_token(before, &blanks);
    const int error = rt_.pending_io_error();
    if (token.empty()) {
      expect(value == 0 && error == 0, "no token: 0 and no error", token);
      return;
    }
    const std::optional<std::int32_t> expected = integer_value(token);
    if (!expected) {
      expect(error == 106, "invalid whole number accepted", token);
      return;
    }
    expect(error == 0, "valid whole number refused", token);
    expect(value == *expected, "whole number value", token);
  }

  void check_real(std::size_t before, long double value) {
    std::size_t blanks = 0;
    const std::string_view token = blanks_then_token(before, &blanks);
    const int error = rt_.pending_io_error();
    if (token.empty()) {
      if (blanks > 0) {
        expect(value == 0 && error == 0, "blanks then end: 0 and no error", span(before));
      } else {
        expect(error == 106, "empty number accepted", span(before));
      }
      return;
    }
    if (!is_real_token(token)) {
      expect(error == 106, "invalid number accepted", token);
      return;
    }
    expect(error == 0, "valid number refused", token);
    const std::string text(token);
    const long double reference = std::strtold(text.c_str(), nullptr);
    const long double magnitude = std::fabs(reference);
    expect(magnitude < static_cast<long double>(DBL_MAX) * (1 + 1e-12L),
           "number beyond the 64-bit range did not end the run", token);
    if (magnitude > static_cast<long double>(DBL_MAX) * (1 - 1e-12L)) return;  // either way
    if (magnitude >= 1e-4000L) {
      expect(std::fabs(value - reference) <= magnitude * 1e-14L, "number value", token);
    } else {
      expect(std::fabs(value) <= 1e-3990L, "tiny number value", token);
    }
  }

  void check_line(std::size_t before, const zv::ShortString& line) {
    const std::string_view s = span(before);
    expect(line.view() == s, "line differs from the bytes consumed", s);
    expect(s.size() <= 255, "line longer than 255", s);
    for (char c : s) {
      const auto b = static_cast<unsigned char>(c);
      expect(!is_line_end(b) && b != kEndOfInput, "line holds a terminator", s);
    }
    if (s.size() < 255) {
      const int c = next();
      expect(c < 0 || c == kEndOfInput || is_line_end(static_cast<unsigned char>(c)), "line stopped early",
             s);
    }
    expect(rt_.pending_io_error() == 0, "read_line set an error", s);
  }

  void check_line_end(std::size_t before) {
    const std::string_view s = span(before);
    std::size_t j = 0;
    while (j < s.size() && !is_line_end(static_cast<unsigned char>(s[j]))) {
      expect(static_cast<unsigned char>(s[j]) != kEndOfInput, "consumed the end-of-input byte", s);
      ++j;
    }
    if (j == s.size()) {
      expect(at_stop(), "stopped before a line end", s);
    } else if (s[j] == '\n') {
      expect(j + 1 == s.size(), "consumed past LF", s);
    } else if (j + 1 == s.size()) {
      expect(next() != '\n', "CR LF split", s);
    } else {
      expect(j + 2 == s.size() && s[j + 1] == '\n', "consumed past CR", s);
    }
    expect(rt_.pending_io_error() == 0, "skip_line_end set an error", s);
  }

  MemoryPlatform& p_;
  zv::console::Runtime rt_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  MemoryPlatform p;
  p.chunk = data[0] == 0 ? 256 : data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string_view script = "0123";
  std::string_view input = rest;
  const std::size_t colon = rest.substr(0, 33).find(':');
  if (colon != std::string_view::npos) {
    script = rest.substr(0, colon);
    input = rest.substr(colon + 1);
  }
  p.input.assign(input);
  Reader reader(p);
  for (char op : script) {
    if (!reader.step(static_cast<unsigned char>(op) % 4)) break;
  }
  return 0;
}
