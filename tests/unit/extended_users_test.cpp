// Reading typed reals and the number format, now in the software extended
// real, against the same routines as they were computed in the x87's long
// double (copies kept here as the reference): the same bits, the same text,
// the same overflow into error 205.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/console_fixture.h"
#include "support/x87.h"
#include "templates/number_format.h"

#if defined(__x86_64__) && __LDBL_MANT_DIG__ == 64

namespace zv::test {
namespace {

// ---- the reference: the long double routines ----------------------------

long double x87_power_of_ten(unsigned n) {
  long double result = 1.0L;
  long double base = 10.0L;
  while (n != 0) {
    if (n & 1U) result *= base;
    base *= base;
    n >>= 1U;
  }
  return result;
}

// A valid real token's value; `overflow` where the run ends with 205.
long double x87_read(std::string_view t, bool& overflow) {
  bool negative = false;
  std::size_t i = 0;
  if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
  long double value = 0;
  unsigned fraction_digits = 0;
  bool in_fraction = false;
  for (; i < t.size() && t[i] != 'e' && t[i] != 'E'; ++i) {
    if (t[i] == '.') {
      in_fraction = true;
      continue;
    }
    value = value * 10 + (t[i] - '0');
    if (in_fraction) ++fraction_digits;
  }
  long exponent = 0;
  bool exponent_negative = false;
  if (i < t.size()) {
    ++i;
    if (t[i] == '+' || t[i] == '-') exponent_negative = t[i++] == '-';
    for (; i < t.size(); ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (t[i] - '0');
    }
  }
  if (fraction_digits > 0) value /= x87_power_of_ten(fraction_digits);
  if (negative) value = -value;
  while (exponent > 0 && value != 0) {
    const long step = exponent > 4930 ? 4930 : exponent;
    const long double scale = x87_power_of_ten(static_cast<unsigned>(step));
    value = exponent_negative ? value / scale : value * scale;
    exponent -= step;
    if (std::isinf(value)) break;
  }
  overflow = std::isinf(value) || std::fabs(value) >= 0x1.fffffffffffff8p1023L;
  return value;
}

class DigitBuffer {
 public:
  DigitBuffer() { digits_[count_++] = 0; }  // the placeholder digit

  void append(int digit) {
    if (digit >= 10) {
      digits_[count_++] = static_cast<std::int8_t>(digit - 10);
      round_up(count_ - 2);
    } else {
      digits_[count_++] = static_cast<std::int8_t>(digit);
    }
  }
  void round_up_last() { round_up(count_ - 1); }
  bool placeholder_used() const { return digits_[0] != 0; }
  void drop_first() {
    for (int i = 1; i < count_; ++i) digits_[i - 1] = digits_[i];
    --count_;
  }
  int count() const { return count_; }
  char at(int i) const { return i < count_ ? static_cast<char>('0' + digits_[i]) : '0'; }

 private:
  void round_up(int i) {
    for (; i >= 0; --i) {
      if (++digits_[i] <= 9) return;
      digits_[i] = 0;
    }
  }
  std::int8_t digits_[48] = {};
  int count_ = 0;
};

std::string x87_format(double number) {
  const long double kRC = 1e-15L;
  const bool negative = std::signbit(number);
  long double v = std::fabs(static_cast<long double>(number));
  int p = 16;
  int e = 0;
  DigitBuffer buffer;

  // Integer digits: w1 = v, w2 = v/10, ... while above 1 - RC.
  long double w[400];
  int k = 0;
  for (long double x = v; x > 1 - kRC && k < 400; x /= 10) w[k++] = x;  // w[j-1] is w_j
  bool appended = false;
  if (k >= 1) {
    e = k - 1;
    for (int j = k; j >= 1 && p > 0; --j) {
      const long double c = j == k ? 0 : 10 * std::trunc(w[j]);
      buffer.append(static_cast<int>(std::trunc(w[j - 1] - c)));
      appended = true;
      --p;
      if (p == 0 && j > 1) {  // the budget is spent while digits remain
        const int next = static_cast<int>(std::trunc(w[j - 2] - 10 * std::trunc(w[j - 1])));
        if (next >= 5) buffer.round_up_last();
        p = -1;
      }
    }
  }

  if (v > 1 - kRC) v = v - std::trunc(v);
  if (p > 2) p = 2;

  if (!appended && v != 0) {
    while (v < 0.1L - kRC) {
      v *= 10;
      --e;
      --p;
    }
    --e;
  }

  if (p >= 0) {
    long double scale = 1;
    for (int i = 0; i < p; ++i) scale *= 10;
    const long double h = 0.5L / scale;
    if (v >= h) v += h;
    if (std::trunc(v) == 1) {
      buffer.round_up_last();
      v = v - std::trunc(v);
    }
    for (int i = 0; i < p; ++i) {
      if (v > 1 - kRC) v = v - std::trunc(v);
      v *= 10;
      buffer.append(static_cast<int>(std::trunc(v)));
    }
  }

  if (buffer.placeholder_used()) {
    ++e;
  } else {
    buffer.drop_first();
  }

  const bool scientific = e > 35;
  if (buffer.at(0) == '0' && (scientific || e >= 1)) {
    buffer.drop_first();
    --e;
  }

  std::string text;
  if (scientific) {
    text.push_back(negative ? '-' : ' ');
    text.push_back(buffer.at(0));
    text.push_back('.');
    for (int i = 1; i <= 15; ++i) text.push_back(buffer.at(i));
    text.append("E+");
    text.push_back(static_cast<char>('0' + e / 100 % 10));
    text.push_back(static_cast<char>('0' + e / 10 % 10));
    text.push_back(static_cast<char>('0' + e % 10));
    return text;
  }
  if (negative) text.push_back('-');
  if (e >= 0) {
    for (int i = 0; i <= e; ++i) text.push_back(buffer.at(i));
    text.push_back('.');
    text.push_back(buffer.at(e + 1));
    text.push_back(buffer.at(e + 2));
  } else {
    text.append("0.");
    const int zeros = -e - 1;
    for (int d = 0; d < 2; ++d) text.push_back(d < zeros ? '0' : buffer.at(d - zeros));
  }
  return text;
}

// ---- the comparisons ------------------------------------------------------

std::string digits(std::mt19937_64& rng, unsigned count) {
  std::string s;
  for (unsigned k = 0; k < count; ++k) s.push_back(static_cast<char>('0' + rng() % 10));
  return s;
}

// Real tokens: random digits and exponents around the ranges' ends, and
// decimals at or next to the midpoint of two neighbouring doubles.
std::string random_real(std::mt19937_64& rng) {
  std::string t;
  if (rng() % 3 == 0) t.push_back(rng() % 2 == 0 ? '-' : '+');
  if (rng() % 3 == 0) {
    const double d = std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 200) - 150);
    const long double midpoint = (static_cast<long double>(d) + std::nextafter(d, HUGE_VAL)) / 2;
    char text[128];
    std::snprintf(text, sizeof text, "%.*Le", static_cast<int>(17 + rng() % 45), midpoint);
    return t + text;
  }
  const unsigned whole =
      rng() % 8 == 0 ? static_cast<unsigned>(rng() % 120) : static_cast<unsigned>(rng() % 20);
  t += digits(rng, whole);
  if (whole == 0 || rng() % 2 == 0) {
    t.push_back('.');
    t += digits(rng, (whole == 0 ? 1 : 0) + static_cast<unsigned>(rng() % 30));
  }
  if (rng() % 2 == 0) {
    t.push_back(rng() % 2 == 0 ? 'e' : 'E');
    if (rng() % 2 == 0) t.push_back(rng() % 2 == 0 ? '-' : '+');
    static constexpr long kCentres[] = {0, 20, 300, 330, 4930, 4950, 99999};
    const long e = kCentres[rng() % 7] + static_cast<long>(rng() % 40) - 20;
    t += std::to_string(e < 0 ? -e : e);
  }
  return t;
}

class ExtendedUsers : public ConsoleTest {};

TEST_F(ExtendedUsers, ReadingARealGivesTheX87Bits) {
  std::mt19937_64 rng(4930);
  int overflows = 0;
  for (int i = 0; i < 50'000; ++i) {
    const std::string token = random_real(rng);
    bool overflow = false;
    const long double expected = x87_read(token, overflow);
    auto& r = start(token + "\n");
    console::Extended got;
    const int code = exit_code_of([&] { got = r.read_real(); });
    if (overflow) {
      ++overflows;
      ASSERT_EQ(code, 205) << token;
      continue;
    }
    ASSERT_EQ(code, -1) << token;
    const long double value = to_x87(got);
    ASSERT_EQ(std::memcmp(&value, &expected, 10), 0) << token;
    const double as_double = got.to_double();
    const double expected_double = static_cast<double>(expected);
    ASSERT_EQ(std::memcmp(&as_double, &expected_double, sizeof as_double), 0) << token;
  }
  EXPECT_GT(overflows, 500);
}

TEST_F(ExtendedUsers, TheNumberFormatGivesTheX87Text) {
  std::mt19937_64 rng(36);
  std::vector<double> values = {0.125,   0.375,   2.675,    99.995, 1e36,   9.9999999999999989e35,
                                DBL_MAX, DBL_MIN, 4.9e-324, 0.005,  0.0951, 1.005};
  for (int i = 0; i < 50'000; ++i) {
    double d;
    switch (rng() % 4) {
      case 0: {  // any finite double
        const std::uint64_t bits = rng();
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d)) d = 0;
        break;
      }
      case 1:  // hundredths and the halves between them
        d = static_cast<double>(static_cast<long>(rng() % 2'000'000) - 1'000'000) / 200;
        break;
      case 2: {  // next to a power of ten
        const double p = std::pow(10.0, static_cast<int>(rng() % 80) - 40);
        d = p;
        for (int k = static_cast<int>(rng() % 8); k > 0; --k)
          d = std::nextafter(d, rng() % 2 == 0 ? 0.0 : HUGE_VAL);
        break;
      }
      default:  // up to 16 significant digits, any magnitude
        d = std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 400) - 200);
        break;
    }
    values.push_back(d);
  }
  for (double d : values) ASSERT_EQ(std::string(templates::format_number(d).view()), x87_format(d)) << d;
}

}  // namespace
}  // namespace zv::test

#endif
