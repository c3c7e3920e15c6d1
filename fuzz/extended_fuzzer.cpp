// Fuzz target: the software extended real against the x87's long double.
//
// Input: two operands of 10 bytes each, stored as the x87 stores them (the
// significand, then sign and exponent, little-endian) and made canonical
// (the integer bit set exactly when the exponent is not 0), then the 8
// bytes of a double; missing bytes are 0. Every operation, comparison and
// conversion must give the x87's bits (any NaN for a NaN).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/extended.h"
#include "support/x87.h"

namespace {

using zv::console::Extended;

Extended operand(const unsigned char* bytes) {
  std::uint64_t significand;
  std::uint16_t sign_exponent;
  std::memcpy(&significand, bytes, sizeof significand);
  std::memcpy(&sign_exponent, bytes + sizeof significand, sizeof sign_exponent);
  constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
  significand = (sign_exponent & 0x7FFF) == 0 ? significand & ~kIntegerBit : significand | kIntegerBit;
  return Extended::from_bits(sign_exponent, significand);
}

void expect(bool ok, const char* what, Extended a, Extended b) {
  if (ok) return;
  std::fprintf(stderr, "extended_fuzzer: %s differs for %La and %La\n", what, zv::test::to_x87(a),
               zv::test::to_x87(b));
  std::abort();
}

bool same(Extended got, long double expected) {
  if (std::isnan(expected)) return isnan(got);
  const long double value = zv::test::to_x87(got);
  return std::memcmp(&value, &expected, 10) == 0;
}

bool same(double got, double expected) { return std::memcmp(&got, &expected, sizeof got) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  unsigned char bytes[28] = {};
  std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
  const Extended a = operand(bytes);
  const Extended b = operand(bytes + 10);
  double d;
  std::memcpy(&d, bytes + 20, sizeof d);
  const long double x = zv::test::to_x87(a);
  const long double y = zv::test::to_x87(b);

  expect(same(a + b, x + y), "+", a, b);
  expect(same(a - b, x - y), "-", a, b);
  expect(same(a * b, x * y), "*", a, b);
  expect(same(a / b, x / y), "/", a, b);
  expect((a < b) == (x < y) && (a == b) == (x == y) && (a <= b) == (x <= y), "comparison", a, b);
  expect(same(trunc(a), std::trunc(x)), "trunc", a, b);
  expect(std::isnan(x) || same(a.to_double(), static_cast<double>(x)), "conversion to double", a, b);
  if (std::fabs(x) < 0x1p62L) expect(a.to_integer() == static_cast<std::int64_t>(x), "integer part", a, b);
  if (!std::isnan(d)) expect(same(Extended(d), static_cast<long double>(d)), "conversion from double", a, b);
  return 0;
}
