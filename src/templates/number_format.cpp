#include "templates/number_format.h"

#include <cassert>
#include <cmath>
#include <cstdint>

#include "console/extended.h"

namespace zv::templates {

namespace {

using console::Extended;

// Digits are generated in 80-bit extended arithmetic, 16 significant digits
// at most, rounding half up as the steps below compute it.
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

Extended integer_part(Extended x) { return trunc(x); }
Extended fraction_part(Extended x) { return x - trunc(x); }

}  // namespace

ShortString format_number(double number) {
  assert(std::isfinite(number));  // every number written was read, and reading stops at overflow
  // kRC, the rounding slack: 10^-15 as an extended real. A value within it
  // below 1 (or below 0.1) counts as 1 (as 0.1) when digits are counted.
  const Extended kRC = console::kExtendedTenToMinus15;
  const bool negative = std::signbit(number);
  Extended v = fabs(Extended(number));  // the magnitude still to be written
  int p = 16;                           // the digit budget: significant digits left to compute
  int e = 0;                            // the decimal exponent of the first digit in the buffer
  DigitBuffer buffer;

  // Integer digits. w holds the magnitude divided by 10 again and again:
  // w1 = v, w2 = v/10, ... while above 1 - RC, one value per integer digit.
  // A finite double has at most 309 integer digits, so 400 values always do.
  constexpr int kMaxIntegerDigits = 400;
  Extended w[kMaxIntegerDigits];
  int k = 0;
  for (Extended x = v; x > 1 - kRC && k < kMaxIntegerDigits; x /= 10) w[k++] = x;  // w[j-1] is w_j
  bool appended = false;
  if (k >= 1) {
    e = k - 1;
    for (int j = k; j >= 1 && p > 0; --j) {
      const Extended c = j == k ? 0 : 10 * integer_part(w[j]);
      buffer.append(static_cast<int>((w[j - 1] - c).to_integer()));
      appended = true;
      --p;
      if (p == 0 && j > 1) {  // the budget is spent while digits remain
        const int next = static_cast<int>((w[j - 2] - 10 * integer_part(w[j - 1])).to_integer());
        if (next >= 5) buffer.round_up_last();
        p = -1;
      }
    }
  }

  if (v > 1 - kRC) v = fraction_part(v);
  if (p > 2) p = 2;

  if (!appended && v != 0) {
    while (v < console::kExtendedTenth - kRC) {
      v *= 10;
      --e;
      --p;
    }
    --e;
  }

  if (p >= 0) {
    Extended scale = 1;
    for (int i = 0; i < p; ++i) scale *= 10;
    const Extended h = console::kExtendedHalf / scale;
    if (v >= h) v += h;
    if (integer_part(v) == 1) {
      buffer.round_up_last();
      v = fraction_part(v);
    }
    for (int i = 0; i < p; ++i) {
      if (v > 1 - kRC) v = fraction_part(v);
      v *= 10;
      buffer.append(static_cast<int>(v.to_integer()));
    }
  }

  if (buffer.placeholder_used()) {
    ++e;
  } else {
    buffer.drop_first();
  }

  // A value a hair below a power of ten counts one integer position too many
  // above; when that position is left holding 0, the zero is not written.
  // The form stays the one chosen by the count: the fixed text loses its
  // first digit, the scientific one shifts its digits left by one.
  const bool scientific = e > 35;
  if (buffer.at(0) == '0' && (scientific || e >= 1)) {
    buffer.drop_first();
    --e;
  }

  ShortString text;
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

}  // namespace zv::templates
