// The reading statements over standard input.
#include <gtest/gtest.h>

#include <cmath>

#include "support/console_fixture.h"
#include "templates/number_format.h"

namespace zv::test {
namespace {

class ReadInteger : public ConsoleTest {
 protected:
  // The menu-answer statement: returns the choice or -100000 - exit code.
  long menu(std::string input) {
    auto& r = start(std::move(input));
    long result = 0;
    const int code = exit_code_of([&] {
      const std::int32_t v = r.read_integer();
      r.io_check();
      result = r.range_check(v);
      r.skip_line_end();
      r.io_check();
    });
    return code >= 0 ? -100000 - code : result;
  }
};

TEST_F(ReadInteger, AcceptedFormsOfOne) {
  for (const char* s : {"1\n", " 1\n", "+1\n", "01\n", "$1\n", "%1\n", "&1\n", "0x1\n", "0X1\n", "x1\n",
                        "X1\n", "1 anything\n", "\t1\r\n", "\n\n  \n1\n", "1"}) {
    EXPECT_EQ(menu(s), 1) << s;
  }
}

TEST_F(ReadInteger, BasesAndPatterns) {
  EXPECT_EQ(menu("$FFFFFFFF\n"), -1);
  EXPECT_EQ(menu("$ff\n"), 255);
  EXPECT_EQ(menu("-$10\n"), -16);
  EXPECT_EQ(menu("%101\n"), 5);
  EXPECT_EQ(menu("&17\n"), 15);
  EXPECT_EQ(menu("000\n"), 0);
  EXPECT_EQ(menu("-0\n"), 0);
  EXPECT_EQ(menu("$0000000000000000000001\n"), 1);  // leading zeros do not count
}

TEST_F(ReadInteger, InvalidTokensAre106) {
  for (const char* s : {"1.0\n", "1,\n", "one\n", "+\n", "$\n", "0x\n", "-\n", "%2\n", "&8\n", "$G\n",
                        "12abc\n", "2147483648\n", "-2147483649\n", "$100000000\n"}) {
    EXPECT_EQ(menu(s), -100106) << s;
  }
}

TEST_F(ReadInteger, RangeCheckIs201) {
  EXPECT_EQ(menu("32767\n"), 32767);
  EXPECT_EQ(menu("-32768\n"), -32768);
  EXPECT_EQ(menu("32768\n"), -100201);
  EXPECT_EQ(menu("-32769\n"), -100201);
  EXPECT_EQ(menu("99999\n"), -100201);
  EXPECT_EQ(menu("2147483647\n"), -100201);
  EXPECT_EQ(menu("$7FFFFFFF\n"), -100201);
}

TEST_F(ReadInteger, EndOfInputGivesZero) {
  EXPECT_EQ(menu(""), 0);
  EXPECT_EQ(menu("   \n\n"), 0);
  EXPECT_EQ(menu("\x1a"
                 "5\n"),
            0);
  EXPECT_EQ(menu("  \x1a"), 0);
}

TEST_F(ReadInteger, RestOfTheLineIsDiscarded) {
  auto& r = start("2 abc\n3\n");
  EXPECT_EQ(r.read_integer(), 2);
  r.skip_line_end();
  EXPECT_EQ(r.read_integer(), 3);
}

TEST_F(ReadInteger, LongTokenIsCutAt255) {
  // 300 zeros then 7: the first 255 bytes form the token (all zeros).
  auto& r = start(std::string(300, '0') + "7\n");
  EXPECT_EQ(r.read_integer(), 0);
  r.io_check();
}

class ReadLine : public ConsoleTest {};

TEST_F(ReadLine, KeepsBlanksAndCutsAt255) {
  auto& r = start("  a b \nnext\n");
  EXPECT_EQ(r.read_line().view(), "  a b ");
  r.skip_line_end();
  EXPECT_EQ(r.read_line().view(), "next");

  auto& r2 = start(std::string(300, 'n') + "\nafter\n");
  EXPECT_EQ(r2.read_line().view(), std::string(255, 'n'));
  r2.skip_line_end();
  EXPECT_EQ(r2.read_line().view(), "after");
}

TEST_F(ReadLine, LineEndsAndEndOfInput) {
  auto& r = start("a\rb\r\nc\n\nd");
  EXPECT_EQ(r.read_line().view(), "a");
  r.skip_line_end();
  EXPECT_EQ(r.read_line().view(), "b");
  r.skip_line_end();
  EXPECT_EQ(r.read_line().view(), "c");
  r.skip_line_end();
  EXPECT_EQ(r.read_line().view(), "");
  r.skip_line_end();
  EXPECT_EQ(r.read_line().view(), "d");
  r.skip_line_end();
  EXPECT_EQ(r.read_line().view(), "");
}

TEST_F(ReadLine, EndOfInputByteIsNeverConsumed) {
  auto& r = start(
      "ab\x1a"
      "cd\nef\n");
  EXPECT_EQ(r.read_line().view(), "ab");
  r.skip_line_end();
  EXPECT_EQ(r.read_line().view(), "");
  EXPECT_EQ(r.read_integer(), 0);
  r.io_check();
}

TEST_F(ReadLine, BuffersAcrossRefills) {
  fake.chunk = 3;
  auto& r = start("hello world\r\nx\n");
  EXPECT_EQ(r.read_line().view(), "hello world");
  r.skip_line_end();
  EXPECT_EQ(r.read_line().view(), "x");
  EXPECT_EQ(fake.count(MemoryPlatform::Op::read), 5);  // 15 bytes in loads of 3
}

class ReadReal : public ConsoleTest {
 protected:
  // Returns the value, or NaN with `code` set when the run ended.
  double real(std::string input) {
    auto& r = start(std::move(input));
    double v = 0;
    code = exit_code_of([&] {
      v = r.read_real().to_double();
      r.io_check();
    });
    return code >= 0 ? NAN : v;
  }
  int code = -1;
};

TEST_F(ReadReal, AcceptedForms) {
  EXPECT_EQ(real("5\n"), 5);
  EXPECT_EQ(real("5.\n"), 5);
  EXPECT_EQ(real(".5\n"), 0.5);
  EXPECT_EQ(real("-0.25\n"), -0.25);
  EXPECT_EQ(real("-1.5e2\n"), -150);
  EXPECT_EQ(real("1E+3\n"), 1000);
  EXPECT_EQ(real("+2.5E-1\n"), 0.25);
  EXPECT_EQ(real("\n\n  7"), 7);
  EXPECT_EQ(static_cast<double>(real("0.1\n")), 0.1);
  EXPECT_EQ(static_cast<double>(real("2.675\n")), 2.675);
}

TEST_F(ReadReal, InvalidTokensAre106) {
  for (const char* s :
       {"1e\n", "e5\n", "1,5\n", "$10\n", ".\n", "-\n", "1e+\n", "abc\n", "1.2.3\n", "0x10\n"}) {
    real(s);
    EXPECT_EQ(code, 106) << s;
  }
}

TEST_F(ReadReal, RangeLimits) {
  real("1e400\n");
  EXPECT_EQ(code, 205);
  real("-1e309\n");
  EXPECT_EQ(code, 205);
  real("1e99999999999\n");
  EXPECT_EQ(code, 205);
  EXPECT_EQ(static_cast<double>(real("1e-400\n")), 0.0);
  EXPECT_EQ(code, -1);
  EXPECT_EQ(static_cast<double>(real("1.7976931348623157e308\n")), 1.7976931348623157e308);
  EXPECT_EQ(real("0e99999\n"), 0);
}

TEST_F(ReadReal, EndOfInput) {
  EXPECT_EQ(real("\n"), 0);  // a blank was skipped, then input ended
  EXPECT_EQ(code, -1);
  real("");  // nothing at all: the number is missing
  EXPECT_EQ(code, 106);
  real("\x1a");
  EXPECT_EQ(code, 106);
}

// Sign and number: the sign line is read whole, the number may follow
// further lines.
TEST_F(ReadReal, SignAndNumberStatement) {
  auto& r = start(">\n\n2.5\nrest\n");
  EXPECT_EQ(r.read_line().view(), ">");
  EXPECT_EQ(r.read_real().to_double(), 2.5);
  r.skip_line_end();
  EXPECT_EQ(r.read_line().view(), "rest");

  auto& r2 = start("> 0\n3\n");
  EXPECT_EQ(r2.read_line().view(), "> 0");
  EXPECT_EQ(r2.read_real().to_double(), 3);

  auto& r3 = start(">");  // input ends inside the sign line
  EXPECT_EQ(r3.read_line().view(), ">");
  EXPECT_EQ(exit_code_of([&] {
              r3.read_real();
              r3.io_check();
            }),
            106);
}

// The extended arithmetic is the runtime's own, whatever the x87 unit was
// left computing with: with 53 bits there, 0.125 still reads and is written
// as "0.12" (53-bit arithmetic would give "0.13").
#if defined(__x86_64__) || defined(__i386__)
TEST_F(ReadReal, ExtendedPrecisionWhateverTheX87PrecisionControl) {
  std::uint16_t saved = 0;
  asm volatile("fnstcw %0" : "=m"(saved));
  const std::uint16_t double_precision = (saved & ~0x0300) | 0x0200;
  asm volatile("fldcw %0" : : "m"(double_precision));
  auto& r = start("0.125\n");
  const std::string text(templates::format_number(r.read_real().to_double()).view());
  asm volatile("fldcw %0" : : "m"(saved));
  EXPECT_EQ(text, "0.12");
}
#endif

TEST_F(ReadReal, ReadFailureIsReported) {
  fake.fail_call = 0;
  fake.fail_error = 30;  // read fault
  auto& r = start("1\n");
  EXPECT_EQ(exit_code_of([&] {
              r.read_real();
              r.io_check();
            }),
            161);
}

}  // namespace
}  // namespace zv::test
