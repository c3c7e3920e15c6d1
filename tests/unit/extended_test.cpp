// The software extended real against the x87's own long double, bit for bit:
// every operation on millions of random operands and on edge values.
#include "console/extended.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "support/x87.h"

#if defined(__x86_64__) && __LDBL_MANT_DIG__ == 64

namespace zv::console {
namespace {

// Equal bits, or both NaN.
::testing::AssertionResult same(Extended got, long double expected) {
  const Extended want = test::from_x87(expected);
  if (std::isnan(expected)
          ? isnan(got)
          : got.sign_exponent() == want.sign_exponent() && got.significand() == want.significand()) {
    return ::testing::AssertionSuccess();
  }
  char text[160];
  std::snprintf(text, sizeof text, "got %04x:%016llx, the x87 gives %04x:%016llx (%La)", got.sign_exponent(),
                static_cast<unsigned long long>(got.significand()), want.sign_exponent(),
                static_cast<unsigned long long>(want.significand()), expected);
  return ::testing::AssertionFailure() << text;
}

// Canonical values weighted toward what rounding depends on: significands
// with long runs of zeros or ones at the bottom (halfway and near-halfway
// cases), denormals, the ends of the exponent range and moderate magnitudes.
class Operands {
 public:
  Extended next() {
    const unsigned kind = pick(16);
    const bool negative = pick(2) != 0;
    std::uint64_t significand = significand_bits();
    int biased;
    if (kind < 8) {
      biased = 16383 - 70 + static_cast<int>(pick(140));
    } else if (kind < 10) {
      biased = 1 + static_cast<int>(pick(0x7FFE));
    } else if (kind < 12) {
      biased = 1 + static_cast<int>(pick(80));
    } else if (kind < 14) {
      biased = 0x7FFE - static_cast<int>(pick(80));
    } else if (kind == 14) {
      biased = 0;
      significand = (significand & ~(std::uint64_t{1} << 63)) >> pick(64);
    } else {
      return special(negative);
    }
    if (biased != 0) significand |= std::uint64_t{1} << 63;
    return Extended::from_bits(static_cast<std::uint16_t>((negative ? 0x8000 : 0) | biased), significand);
  }

  // A second operand close in magnitude to the first (cancellation,
  // alignment, carries), or an independent one.
  Extended near(Extended x) {
    if (pick(2) == 0) return next();
    int biased = (x.sign_exponent() & 0x7FFF) + static_cast<int>(pick(141)) - 70;
    if (biased < 1 || biased > 0x7FFE) biased = 16383;
    const std::uint64_t significand = pick(4) == 0 ? x.significand() ^ (significand_bits() >> pick(64))
                                                   : significand_bits() | (std::uint64_t{1} << 63);
    const std::uint16_t sign = pick(2) == 0 ? 0 : 0x8000;
    return Extended::from_bits(static_cast<std::uint16_t>(sign | biased),
                               significand | (std::uint64_t{1} << 63));
  }

  unsigned pick(unsigned n) { return static_cast<unsigned>(rng_() % n); }
  std::uint64_t bits() { return rng_(); }

 private:
  std::uint64_t significand_bits() {
    std::uint64_t s = rng_();
    switch (pick(5)) {
      case 0: s &= ~std::uint64_t{0} << pick(64); break;       // zeros at the bottom
      case 1: s |= (std::uint64_t{1} << pick(64)) - 1; break;  // ones at the bottom
      case 2: s = (s >> 62 | 2) << 62 | (std::uint64_t{1} << pick(64)); break;
      case 3: s = std::uint64_t{1} << 63 | (s & 1); break;  // a power of two, or just above
      default: break;
    }
    return s;
  }
  Extended special(bool negative) {
    const std::uint16_t sign = negative ? 0x8000 : 0;
    switch (pick(4)) {
      case 0: return Extended::from_bits(sign, 0);                                // zero
      case 1: return Extended::from_bits(sign | 0x7FFF, std::uint64_t{1} << 63);  // infinity
      case 2: return Extended::from_bits(sign | 0x7FFE, ~std::uint64_t{0});       // the largest
      default: return Extended::from_bits(sign, 1 + rng_() % 3);                  // the least
    }
  }
  std::mt19937_64 rng_{20261208};
};

// Values where the rounding and the special cases turn.
std::vector<Extended> edge_values() {
  std::vector<long double> n = {0.0L,
                                1.0L,
                                2.0L,
                                3.0L,
                                10.0L,
                                0.1L,
                                0.5L,
                                1e-15L,
                                1.0L - 1e-15L,
                                1.0L + LDBL_EPSILON,
                                1.0L - LDBL_EPSILON / 2,
                                0x1.fffffffffffff8p1023L,
                                DBL_MAX,
                                DBL_MIN,
                                0x1p-1074L,
                                0x1p-1075L,
                                0x1.8p-1075L,
                                LDBL_MAX,
                                LDBL_MIN,
                                LDBL_TRUE_MIN,
                                LDBL_MIN - LDBL_TRUE_MIN,
                                3 * LDBL_TRUE_MIN,
                                0x1p-16445L * 0x1.8p0L,
                                HUGE_VALL,
                                1e4930L,
                                1e-4930L,
                                1e308L,
                                1e-308L,
                                0x1.0000000000000001p0L,
                                0x1.fffffffffffffffep0L,
                                0x1.00000000000008p0L,
                                0x1.00000000000018p0L,
                                0x1.0000000000000bp0L,
                                0x1.0000000000000002p-65L,
                                0x1.0000000000000002p-64L};
  long double p = 1;
  for (int k = 0; k <= 27; ++k, p *= 10) n.push_back(p);
  std::vector<Extended> values;
  for (long double x : n) {
    values.push_back(test::from_x87(x));
    values.push_back(test::from_x87(-x));
  }
  return values;
}

TEST(Extended, ArithmeticAgreesWithTheX87OnEdgeValues) {
  const std::vector<Extended> values = edge_values();
  for (Extended a : values) {
    for (Extended b : values) {
      const long double x = test::to_x87(a);
      const long double y = test::to_x87(b);
      ASSERT_TRUE(same(a + b, x + y)) << test::to_x87(a) << " + " << test::to_x87(b);
      ASSERT_TRUE(same(a - b, x - y)) << test::to_x87(a) << " - " << test::to_x87(b);
      ASSERT_TRUE(same(a * b, x * y)) << test::to_x87(a) << " * " << test::to_x87(b);
      ASSERT_TRUE(same(a / b, x / y)) << test::to_x87(a) << " / " << test::to_x87(b);
      ASSERT_EQ(a < b, x < y);
      ASSERT_EQ(a == b, x == y);
    }
  }
}

TEST(Extended, ArithmeticAgreesWithTheX87OnRandomOperands) {
  Operands operands;
  for (int i = 0; i < 1'000'000; ++i) {
    const Extended a = operands.next();
    const Extended b = operands.near(a);
    const long double x = test::to_x87(a);
    const long double y = test::to_x87(b);
    ASSERT_TRUE(same(a + b, x + y)) << i;
    ASSERT_TRUE(same(a - b, x - y)) << i;
    ASSERT_TRUE(same(a * b, x * y)) << i;
    ASSERT_TRUE(same(a / b, x / y)) << i;
    ASSERT_EQ(a < b, x < y) << i;
    ASSERT_EQ(a <= b, x <= y) << i;
    ASSERT_EQ(a == b, x == y) << i;
  }
}

TEST(Extended, ConversionsAgreeWithTheX87) {
  Operands operands;
  std::vector<Extended> values = edge_values();
  for (int i = 0; i < 1'000'000; ++i) values.push_back(operands.next());
  for (Extended a : values) {
    const long double x = test::to_x87(a);
    const double d = static_cast<double>(x);
    const double got = a.to_double();
    ASSERT_EQ(std::memcmp(&got, &d, sizeof d), 0) << test::to_x87(a);
    ASSERT_TRUE(same(trunc(a), std::trunc(x))) << test::to_x87(a);
    ASSERT_TRUE(same(fabs(a), std::fabs(x)));
    ASSERT_TRUE(same(-a, -x));
    ASSERT_EQ(isinf(a), std::isinf(x));
    ASSERT_EQ(signbit(a), std::signbit(x));
    if (std::fabs(x) < 0x1p62L) {
      ASSERT_EQ(a.to_integer(), static_cast<std::int64_t>(x)) << test::to_x87(a);
    }
  }
  for (int i = 0; i < 1'000'000; ++i) {
    double d;
    const std::uint64_t bits = operands.bits();
    std::memcpy(&d, &bits, sizeof d);
    ASSERT_TRUE(same(Extended(d), static_cast<long double>(d))) << d;
    const std::int64_t n = static_cast<std::int64_t>(operands.bits()) >> operands.pick(64);
    ASSERT_TRUE(same(Extended(n), static_cast<long double>(n))) << n;
  }
  for (int n : {0, 1, -1, 9, 10, 255, -32768, INT32_MIN, INT32_MAX}) ASSERT_TRUE(same(Extended(n), n));
}

TEST(Extended, ConstantsAreTheNearestExtendedValues) {
  EXPECT_TRUE(same(kExtendedTenth, 0.1L));
  EXPECT_TRUE(same(kExtendedHalf, 0.5L));
  EXPECT_TRUE(same(kExtendedTenToMinus15, 1e-15L));
  EXPECT_TRUE(same(kExtendedDoubleLimit, 0x1.fffffffffffff8p1023L));
}

}  // namespace
}  // namespace zv::console

#endif
