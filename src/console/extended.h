#pragma once
// Extended: the 80-bit extended real, in software, so that reading typed reals
// and the number format give the same bits on every target (WebAssembly's
// long double is a 128-bit quad; rounding to it first and then to 64 bits
// can differ from rounding once).
//
// A sign, a 15-bit biased exponent and a 64-bit significand with an explicit
// integer bit, stored as the x87 stores them. Every operation rounds its exact
// result once, to nearest with ties to even; results below 2^-16382 are
// denormalized before that one rounding (gradual underflow), results beyond
// the largest finite value are infinite. Only the operations its users need
// are here.
#include <bit>
#include <compare>
#include <concepts>
#include <cstdint>
#include <type_traits>

namespace zv::console {

class Extended {
 public:
  constexpr Extended() = default;  // +0

  // Exact for every integer up to 64 bits.
  template <std::integral T>
  constexpr Extended(T n) {  // NOLINT(google-explicit-constructor): integers mix in as in C
    bool negative = false;
    std::uint64_t magnitude = static_cast<std::uint64_t>(n);
    if constexpr (std::is_signed_v<T>) {
      negative = n < 0;
      if (negative) magnitude = 0 - magnitude;
    }
    if (magnitude != 0) *this = normalized(negative, kBias + 63, magnitude);
  }

  // Exact: every double is an extended value.
  explicit constexpr Extended(double d) {
    const auto bits = bit_cast<std::uint64_t>(d);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>(bits >> 52) & 0x7FF;
    const std::uint64_t fraction = bits & kDoubleFraction;
    if (exponent == 0x7FF) {
      *this = fraction == 0 ? infinity(negative)
                            : from_fields(negative, kMaxBiased, kQuietBit | kTop | (fraction << 11));
    } else if (exponent == 0) {
      if (fraction != 0) *this = normalized(negative, kBias - 1022 + 11, fraction);
      else *this = from_fields(negative, 0, 0);
    } else {
      *this = from_fields(negative, exponent - 1023 + kBias, (fraction | (std::uint64_t{1} << 52)) << 11);
    }
  }

  // The stored fields: bit 15 the sign, bits 0-14 the biased exponent; the
  // significand with its integer bit.
  static constexpr Extended from_bits(std::uint16_t sign_exponent, std::uint64_t significand) {
    Extended x;
    x.sign_exponent_ = sign_exponent;
    x.significand_ = significand;
    return x;
  }
  constexpr std::uint16_t sign_exponent() const { return sign_exponent_; }
  constexpr std::uint64_t significand() const { return significand_; }

  // The nearest double (ties to even), subnormals and overflow to infinity
  // included.
  constexpr double to_double() const {
    const std::uint64_t sign = std::uint64_t{negative()} << 63;
    if (biased() == kMaxBiased) {
      const std::uint64_t payload = (significand_ << 1) >> 12;
      return bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52) |
                              (payload != 0 ? payload | kDoubleQuiet : 0));
    }
    if (is_zero()) return bit_cast<double>(sign);
    const Unpacked u = unpack();
    int exponent = u.exponent + 1023;
    std::uint64_t kept;
    std::uint64_t rest;
    std::uint64_t half;
    if (exponent >= 1) {
      kept = u.significand >> 11;
      rest = u.significand & 0x7FF;
      half = 0x400;
    } else {
      const int shift = 12 - exponent;  // 11 bits, and the subnormal's own shift
      if (shift > 64) return bit_cast<double>(sign);
      kept = shift == 64 ? 0 : u.significand >> shift;
      rest = shift == 64 ? u.significand : u.significand & ((std::uint64_t{1} << shift) - 1);
      half = std::uint64_t{1} << (shift - 1);
      exponent = 0;
    }
    if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
    if (exponent >= 1 && kept == std::uint64_t{1} << 53) {
      kept >>= 1;
      ++exponent;
    }
    if (exponent >= 0x7FF) return bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
    // A subnormal that rounded up to 2^52 reads as the smallest normal.
    const std::uint64_t bits =
        exponent == 0 ? kept : (std::uint64_t(exponent) << 52) | (kept & kDoubleFraction);
    return bit_cast<double>(sign | bits);
  }

  // Cut toward zero; for values below 2^63 in magnitude.
  constexpr std::int64_t to_integer() const {
    const int exponent = biased() - kBias;
    if (exponent < 0 || biased() == 0) return 0;
    if (exponent > 62) return INT64_MIN;
    const auto magnitude = static_cast<std::int64_t>(significand_ >> (63 - exponent));
    return negative() ? -magnitude : magnitude;
  }

  friend constexpr Extended operator-(Extended x) {
    x.sign_exponent_ ^= kSignBit;
    return x;
  }
  friend constexpr Extended operator+(Extended a, Extended b) { return add(a, b); }
  friend constexpr Extended operator-(Extended a, Extended b) { return add(a, -b); }
  friend constexpr Extended operator*(Extended a, Extended b) { return multiply(a, b); }
  friend constexpr Extended operator/(Extended a, Extended b) { return divide(a, b); }
  constexpr Extended& operator+=(Extended b) { return *this = *this + b; }
  constexpr Extended& operator-=(Extended b) { return *this = *this - b; }
  constexpr Extended& operator*=(Extended b) { return *this = *this * b; }
  constexpr Extended& operator/=(Extended b) { return *this = *this / b; }

  friend constexpr bool operator==(Extended a, Extended b) { return (a <=> b) == 0; }
  friend constexpr std::partial_ordering operator<=>(Extended a, Extended b) {
    if (a.is_nan() || b.is_nan()) return std::partial_ordering::unordered;
    if (a.is_zero() && b.is_zero()) return std::partial_ordering::equivalent;
    if (a.negative() != b.negative()) {
      return a.negative() ? std::partial_ordering::less : std::partial_ordering::greater;
    }
    // Canonical encodings order by magnitude as (exponent, significand).
    const U128 ka = U128(a.biased()) << 64 | a.significand_;
    const U128 kb = U128(b.biased()) << 64 | b.significand_;
    const std::strong_ordering by_magnitude = a.negative() ? kb <=> ka : ka <=> kb;
    return by_magnitude;
  }

  friend constexpr Extended trunc(Extended x) {
    if (x.biased() == kMaxBiased || x.is_zero()) return x;
    const int exponent = x.biased() - kBias;
    if (exponent < 0 || x.biased() == 0) return from_fields(x.negative(), 0, 0);
    if (exponent < 63) x.significand_ &= ~((std::uint64_t{1} << (63 - exponent)) - 1);
    return x;
  }
  friend constexpr Extended fabs(Extended x) {
    x.sign_exponent_ &= ~kSignBit;
    return x;
  }
  friend constexpr bool signbit(Extended x) { return x.negative(); }
  friend constexpr bool isinf(Extended x) { return x.biased() == kMaxBiased && (x.significand_ << 1) == 0; }
  friend constexpr bool isnan(Extended x) { return x.is_nan(); }

 private:
  using U128 = unsigned __int128;
  static constexpr int kBias = 16383;
  static constexpr int kMaxBiased = 0x7FFF;
  static constexpr std::uint16_t kSignBit = 0x8000;
  static constexpr std::uint64_t kTop = std::uint64_t{1} << 63;
  static constexpr std::uint64_t kHalf = kTop;
  static constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
  static constexpr std::uint64_t kDoubleFraction = (std::uint64_t{1} << 52) - 1;
  static constexpr std::uint64_t kDoubleQuiet = std::uint64_t{1} << 51;

  // std::bit_cast, which some C++20 libraries (Emscripten's among them) lack.
  template <class To, class From>
  static constexpr To bit_cast(From from) {
    return __builtin_bit_cast(To, from);
  }

  // A finite nonzero value as significand * 2^(exponent - 63), the
  // significand's top bit set (denormals are normalized here, their exponent
  // going below the format's least).
  struct Unpacked {
    bool negative;
    int exponent;
    std::uint64_t significand;
  };

  constexpr bool negative() const { return (sign_exponent_ & kSignBit) != 0; }
  constexpr int biased() const { return sign_exponent_ & kMaxBiased; }
  constexpr bool is_zero() const { return biased() == 0 && significand_ == 0; }
  constexpr bool is_nan() const { return biased() == kMaxBiased && (significand_ << 1) != 0; }

  static constexpr Extended from_fields(bool negative, int biased, std::uint64_t significand) {
    return from_bits(static_cast<std::uint16_t>((negative ? kSignBit : 0) | biased), significand);
  }
  static constexpr Extended infinity(bool negative) { return from_fields(negative, kMaxBiased, kTop); }
  // The x87's default NaN ("real indefinite").
  static constexpr Extended indefinite() { return from_fields(true, kMaxBiased, kTop | kQuietBit); }
  static constexpr Extended quiet(Extended x) {
    x.significand_ |= kQuietBit;
    return x;
  }
  // An exact nonzero integer magnitude times 2^(biased - kBias - 63), normal.
  static constexpr Extended normalized(bool negative, int biased, std::uint64_t magnitude) {
    const int shift = std::countl_zero(magnitude);
    return from_fields(negative, biased - shift, magnitude << shift);
  }

  constexpr Unpacked unpack() const {
    if (biased() != 0) return {negative(), biased() - kBias, significand_};
    const int shift = std::countl_zero(significand_);
    return {negative(), 1 - kBias - shift, significand_ << shift};
  }

  // Rounds significand.rest (rest's top bit the half) * 2^(exponent - 63),
  // the significand's top bit set, to the format.
  static constexpr Extended round(bool negative, int exponent, std::uint64_t significand,
                                  std::uint64_t rest) {
    int biased = exponent + kBias;
    if (biased <= 0) {  // denormalized first, then rounded once
      const int shift = 1 - biased;
      U128 wide = U128{significand} << 64 | rest;
      if (shift >= 128) {
        wide = wide != 0;
      } else {
        const bool lost = (wide << (128 - shift)) != 0;
        wide = wide >> shift | U128{lost};
      }
      significand = static_cast<std::uint64_t>(wide >> 64);
      rest = static_cast<std::uint64_t>(wide);
      biased = 0;
    }
    if (rest > kHalf || (rest == kHalf && (significand & 1) != 0)) {
      if (++significand == 0) {
        significand = kTop;
        ++biased;
      }
    }
    if (biased == 0 && (significand & kTop) != 0) biased = 1;  // rounded up to the least normal
    if (biased >= kMaxBiased) return infinity(negative);
    return from_fields(negative, biased, significand);
  }

  // Rounds a nonzero 128-bit significand * 2^(exponent - 127).
  static constexpr Extended round_wide(bool negative, int exponent, U128 wide) {
    const auto high = static_cast<std::uint64_t>(wide >> 64);
    const int shift =
        high != 0 ? std::countl_zero(high) : 64 + std::countl_zero(static_cast<std::uint64_t>(wide));
    wide <<= shift;
    return round(negative, exponent - shift, static_cast<std::uint64_t>(wide >> 64),
                 static_cast<std::uint64_t>(wide));
  }

  static constexpr Extended add(Extended a, Extended b) {
    if (a.is_nan()) return quiet(a);
    if (b.is_nan()) return quiet(b);
    if (a.biased() == kMaxBiased)
      return b.biased() == kMaxBiased && a.negative() != b.negative() ? indefinite() : a;
    if (b.biased() == kMaxBiased) return b;
    if (a.is_zero()) return b.is_zero() ? from_fields(a.negative() && b.negative(), 0, 0) : b;
    if (b.is_zero()) return a;
    Unpacked x = a.unpack();
    Unpacked y = b.unpack();
    if (x.exponent < y.exponent || (x.exponent == y.exponent && x.significand < y.significand)) {
      const Unpacked t = x;
      x = y;
      y = t;
    }
    // |x| >= |y|: y is aligned to x, the bits shifted out kept as one
    // sticky bit far below the rounding place.
    const int distance = x.exponent - y.exponent;
    const U128 large = U128{x.significand} << 64;
    U128 small = U128{y.significand} << 64;
    if (distance >= 128) {
      small = 1;
    } else if (distance > 0) {
      const bool lost = (small << (128 - distance)) != 0;
      small = small >> distance | U128{lost};
    }
    if (x.negative == y.negative) {
      const U128 sum = large + small;
      if (sum < large) {  // carried out of the top
        const U128 halved = sum >> 1 | (sum & 1) | U128{1} << 127;
        return round_wide(x.negative, x.exponent + 1, halved);
      }
      return round_wide(x.negative, x.exponent, sum);
    }
    const U128 difference = large - small;
    if (difference == 0) return Extended();  // x - x is +0
    return round_wide(x.negative, x.exponent, difference);
  }

  static constexpr Extended multiply(Extended a, Extended b) {
    const bool negative = a.negative() != b.negative();
    if (a.is_nan()) return quiet(a);
    if (b.is_nan()) return quiet(b);
    if (a.biased() == kMaxBiased || b.biased() == kMaxBiased) {
      return a.is_zero() || b.is_zero() ? indefinite() : infinity(negative);
    }
    if (a.is_zero() || b.is_zero()) return from_fields(negative, 0, 0);
    const Unpacked x = a.unpack();
    const Unpacked y = b.unpack();
    return round_wide(negative, x.exponent + y.exponent + 1, U128{x.significand} * y.significand);
  }

  static constexpr Extended divide(Extended a, Extended b) {
    const bool negative = a.negative() != b.negative();
    if (a.is_nan()) return quiet(a);
    if (b.is_nan()) return quiet(b);
    if (a.biased() == kMaxBiased) return b.biased() == kMaxBiased ? indefinite() : infinity(negative);
    if (b.biased() == kMaxBiased) return from_fields(negative, 0, 0);
    if (b.is_zero()) return a.is_zero() ? indefinite() : infinity(negative);
    if (a.is_zero()) return from_fields(negative, 0, 0);
    const Unpacked x = a.unpack();
    const Unpacked y = b.unpack();
    // Long division in two 64-bit steps: a quotient of 64 bits with its top
    // bit set, 64 more bits, and the remainder as a sticky bit.
    const int shift = x.significand >= y.significand ? 63 : 64;
    const U128 numerator = U128{x.significand} << shift;
    const auto quotient = static_cast<std::uint64_t>(numerator / y.significand);
    const auto remainder = static_cast<std::uint64_t>(numerator % y.significand);
    const U128 next = U128{remainder} << 64;
    const auto more = static_cast<std::uint64_t>(next / y.significand);
    const bool lost = next % y.significand != 0;
    return round(negative, x.exponent - y.exponent + 63 - shift, quotient, more | std::uint64_t{lost});
  }

  std::uint64_t significand_ = 0;
  std::uint16_t sign_exponent_ = 0;
};

// Constants of the reading and the number format, as the nearest extended
// values to the decimals they stand for.
inline constexpr Extended kExtendedTenth = Extended::from_bits(0x3FFB, 0xCCCCCCCCCCCCCCCD);         // 0.1
inline constexpr Extended kExtendedHalf = Extended::from_bits(0x3FFE, 0x8000000000000000);          // 0.5
inline constexpr Extended kExtendedTenToMinus15 = Extended::from_bits(0x3FCD, 0x901D7CF73AB0ACD9);  // 1e-15
// The largest double plus half its last place, 0x1.fffffffffffff8p1023: from
// here on a value rounds to infinity as a double.
inline constexpr Extended kExtendedDoubleLimit = Extended::from_bits(0x43FE, 0xFFFFFFFFFFFFFC00);

}  // namespace zv::console
