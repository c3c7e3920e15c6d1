#pragma once
// The x87 long double with the same bits as a software extended real, and
// back: how the tests and fuzz targets compare the two (x86-64 only, where
// long double is the x87's 80-bit format, stored little-endian: the
// significand, then sign and exponent).
#include <cstdint>
#include <cstring>

#include "console/extended.h"

namespace zv::test {

inline long double to_x87(console::Extended x) {
  long double n = 0;
  const std::uint64_t significand = x.significand();
  const std::uint16_t sign_exponent = x.sign_exponent();
  std::memcpy(&n, &significand, sizeof significand);
  std::memcpy(reinterpret_cast<char*>(&n) + sizeof significand, &sign_exponent, sizeof sign_exponent);
  return n;
}

inline console::Extended from_x87(long double n) {
  std::uint64_t significand;
  std::uint16_t sign_exponent;
  std::memcpy(&significand, &n, sizeof significand);
  std::memcpy(&sign_exponent, reinterpret_cast<const char*>(&n) + sizeof significand, sizeof sign_exponent);
  return console::Extended::from_bits(sign_exponent, significand);
}

}  // namespace zv::test
