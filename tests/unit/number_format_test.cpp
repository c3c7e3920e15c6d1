// condition_number as written into the generated programs.
#include "templates/number_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zv::templates {
namespace {

std::string fmt(double x) { return std::string(format_number(x).view()); }

TEST(NumberFormat, TableOfExamples) {
  EXPECT_EQ(fmt(0), "0.00");
  EXPECT_EQ(fmt(5), "5.00");
  EXPECT_EQ(fmt(-7.25), "-7.25");
  EXPECT_EQ(fmt(0.005), "0.01");
  EXPECT_EQ(fmt(-0.001), "-0.00");
  EXPECT_EQ(fmt(0.0951), "0.10");
  EXPECT_EQ(fmt(99.995), "100.00");
  EXPECT_EQ(fmt(2.675), "2.67");
  EXPECT_EQ(fmt(0.125), "0.12");
  EXPECT_EQ(fmt(0.375), "0.37");
  EXPECT_EQ(fmt(0.625), "0.63");
  EXPECT_EQ(fmt(0.875), "0.88");
  EXPECT_EQ(fmt(123456789012345.67), "123456789012345.70");
  EXPECT_EQ(fmt(1234567890123456.7), "1234567890123457.00");
  EXPECT_EQ(fmt(1234567890123456.5), "1234567890123457.00");        // exactly half rounds up
  EXPECT_EQ(fmt(1234567890123456512.0), "1234567890123457000.00");  // a 17th digit of 5 rounds up
  EXPECT_EQ(fmt(123456789012345678.0), "123456789012345700.00");
  EXPECT_EQ(fmt(1e35), "100000000000000000000000000000000000.00");
  EXPECT_EQ(fmt(1e36), " 1.000000000000000E+036");
  EXPECT_EQ(fmt(-1.5e40), "-1.500000000000000E+040");
}

TEST(NumberFormat, SignOfZeroAndTinyNegatives) {
  EXPECT_EQ(fmt(-0.0), "-0.00");
  EXPECT_EQ(fmt(-0.004), "-0.00");
  EXPECT_EQ(fmt(-1e-300), "-0.00");
  EXPECT_EQ(fmt(1e-300), "0.00");
  EXPECT_EQ(fmt(4.9e-324), "0.00");
}

TEST(NumberFormat, RoundingAroundTheSecondDecimal) {
  EXPECT_EQ(fmt(0.994), "0.99");
  EXPECT_EQ(fmt(0.996), "1.00");
  EXPECT_EQ(fmt(9.999), "10.00");
  EXPECT_EQ(fmt(-2.5), "-2.50");
  EXPECT_EQ(fmt(10), "10.00");
  EXPECT_EQ(fmt(1), "1.00");
  EXPECT_EQ(fmt(0.1), "0.10");
  EXPECT_EQ(fmt(0.01), "0.01");
  EXPECT_EQ(fmt(1.005), "1.00");  // stored just below 1.005
  EXPECT_EQ(fmt(1.015), "1.01");  // stored just below 1.015
  EXPECT_EQ(fmt(0.045), "0.04");  // stored just below 0.045
  EXPECT_EQ(fmt(0.055), "0.06");  // stored just above 0.055
  EXPECT_EQ(fmt(0.9999999999999995), "1.00");
}

TEST(NumberFormat, LargeMagnitudes) {
  EXPECT_EQ(fmt(1e15), "1000000000000000.00");
  EXPECT_EQ(fmt(9.9e35), "990000000000000000000000000000000000.00");
  EXPECT_EQ(fmt(-1e36), "-1.000000000000000E+036");
  EXPECT_EQ(fmt(1.7976931348623157e308), " 1.797693134862316E+308");
  EXPECT_EQ(fmt(-1.7976931348623157e308), "-1.797693134862316E+308");
  EXPECT_EQ(fmt(2.5e100), " 2.500000000000000E+100");
}

// Just below a power of ten the digit loop counts one integer position too
// many. The digits stay the loop's own; only a leading zero that the extra
// position leaves is not written, and the form is the one the count chose.
TEST(NumberFormat, JustBelowAPowerOfTen) {
  EXPECT_EQ(fmt(99999999999999.984), "100000000000000.00");
  EXPECT_EQ(fmt(9.9999999999999984e19), "100000000000000000000.00");
  EXPECT_EQ(fmt(9.9999999999999989e35), " 1.000000000000000E+036");
  EXPECT_EQ(fmt(9.9999999999999991e39), " 1.000000000000000E+040");
  EXPECT_EQ(fmt(99999999999999936.0), "99999999999999900.00");
  EXPECT_EQ(fmt(999999999999999.25), "999999999999999.00");
  EXPECT_EQ(fmt(9.999999999999994e39), " 9.999999999999990E+039");
  EXPECT_EQ(fmt(-999999999999999.25), "-999999999999999.00");
  for (double x : {99999999999999.99, 9999999999999998.0, 9.9999999999999999e22, 9.999999999999999e36}) {
    const std::string s = fmt(x);
    const std::size_t first = s.find_first_not_of(" -");
    EXPECT_NE(s[first], '0') << s;
  }
}

}  // namespace
}  // namespace zv::templates
