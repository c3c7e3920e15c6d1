// Templates 1-13, 51 and 52: the function and array programs, reached at the
// leaves of menus 1/1 and 1/2, generated through the real binary, checked where
// fields are spliced, and compiled and run with fpc on small inputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/harness.h"

namespace {

using zv::test::crlf_lines;
using zv::test::generate;
using zv::test::run_pascal;

#define EXPECT_HAS(text, piece) \
  EXPECT_NE((text).find(piece), std::string::npos) << "missing \"" << (piece) << "\" in:\n" << (text)

// Menu answers after the output name that lead to template `id`; the
// fragments the leaf asks for follow them.
std::string path_to(int id) {
  switch (id) {
    case 1: return "1\n1\n1\n";
    case 2: return "1\n1\n2\n";
    case 3: return "1\n1\n3\n";
    case 4: return "1\n2\n1\n1\n";
    case 5: return "1\n2\n1\n2\n";
    case 6: return "1\n2\n1\n3\n";
    case 7: return "1\n2\n2\n1\n";
    case 8: return "1\n2\n2\n2\n";
    case 9: return "1\n2\n2\n3\n";
    case 10: return "1\n2\n3\n1\n";
    case 11: return "1\n2\n3\n2\n";
    case 12: return "1\n2\n3\n3\n";
    case 13: return "1\n2\n3\n4\n";
    case 51: return "1\n2\n3\n5\n";
    case 52: return "1\n2\n3\n6\n";
  }
  ADD_FAILURE() << "no leaf for template " << id;
  return "";
}

// Template `id` written with a sign line and a number line.
std::string with_comparison(int id, const std::string& sign, const std::string& number) {
  return generate(path_to(id) + sign + "\n" + number + "\n");
}

// The stdin of a generated program: one value per line, then the final Enter.
std::string feed(const std::vector<std::string>& values) {
  std::string in;
  for (const std::string& v : values) in += v + "\n";
  return in + "\n";
}

struct Frame {
  int id;
  const char* fragments;  // answers the leaf reads after the menus
  std::size_t lines;
};

const Frame kFrames[] = {
    {1, "x\n", 9},     {2, "x\n", 28}, {3, "", 9},         {4, "", 15},       {5, "", 15},
    {6, ">\n0\n", 15}, {7, "", 15},    {8, "", 15},        {9, ">\n0\n", 15}, {10, "", 16},
    {11, "", 16},      {12, "", 16},   {13, ">\n0\n", 16}, {51, "", 16},      {52, "", 16},
};

// Every leaf writes its own template, records its identifier (the log names
// it), and the file is the program frame with CR LF after every line.
TEST(FunctionArrayTemplates, EachLeafWritesItsOwnFramedProgram) {
  for (const Frame& f : kFrames) {
    const std::string id = "mvk_id_" + std::to_string(f.id);
    SCOPED_TRACE(id);
    zv::test::Workdir dir;
    const zv::test::RunResult run = dir.run("prog\n" + path_to(f.id) + f.fragments + "\n");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_HAS(run.out, "programma sgenerirovana v file prog.txt v papke programmy\r\n");
    EXPECT_EQ(dir.log(), "sgenerirovana programma " + id + " v file prog.txt\r\n");

    const std::vector<std::string> lines = crlf_lines(dir.read("prog.txt"));
    ASSERT_EQ(lines.size(), f.lines);
    EXPECT_EQ(lines.front(), "program " + id + ";");
    EXPECT_EQ(lines[lines.size() - 2], " readln;");
    EXPECT_EQ(lines.back(), "end.");
  }
}

// The function expression goes in as typed: empty, or holding apostrophes
// and semicolons, it is written unchanged at each of its places.
TEST(FunctionArrayTemplates, FunctionTextIsSplicedAsTyped) {
  std::vector<std::string> value = crlf_lines(generate(path_to(1) + "\n"));
  ASSERT_EQ(value.size(), 9u);
  EXPECT_EQ(value[5], " y:=;");

  std::vector<std::string> parity = crlf_lines(generate(path_to(2) + "\n"));
  ASSERT_EQ(parity.size(), 28u);
  EXPECT_EQ(parity[6], " y1:=;");
  EXPECT_EQ(parity[8], " y2:=;");
  EXPECT_EQ(parity[17], " y1:=;");
  EXPECT_EQ(parity[19], " y2:=;");

  const std::string odd = "length('ab;c')*x";
  value = crlf_lines(generate(path_to(1) + odd + "\n"));
  ASSERT_EQ(value.size(), 9u);
  EXPECT_EQ(value[5], " y:=" + odd + ";");

  const std::string text = generate(path_to(2) + odd + "\n");
  std::size_t count = 0;
  for (std::size_t at = text.find(odd); at != std::string::npos; at = text.find(odd, at + 1)) ++count;
  EXPECT_EQ(count, 4u);
  parity = crlf_lines(text);
  ASSERT_EQ(parity.size(), 28u);
  EXPECT_EQ(parity[6], " y1:=" + odd + ";");
  EXPECT_EQ(parity[19], " y2:=" + odd + ";");
}

TEST(FunctionArrayTemplates, ValueOfTheTypedFunction) {
  ZV_REQUIRE_FPC();
  // x*x+1 at x=3: 9+1 = 10
  EXPECT_EQ(run_pascal(generate(path_to(1) + "x*x+1\n"), feed({"3"})),
            "vvedite x\nznachenie funkzii 10.00\n");
}

// The four outcomes of the evenness/oddness test: even only, odd only, both
// (the zero function), neither.
TEST(FunctionArrayTemplates, ParityTestOutcomes) {
  ZV_REQUIRE_FPC();
  EXPECT_EQ(run_pascal(generate(path_to(2) + "x*x\n"), "\n"),
            "funkzia parna!\nfunkzia ne yavlaetsya neparnoy!\n");
  EXPECT_EQ(run_pascal(generate(path_to(2) + "x*x*x\n"), "\n"),
            "funkzia ne yavlaetsya parnoy!\nfunkzia neparna!\n");
  EXPECT_EQ(run_pascal(generate(path_to(2) + "0\n"), "\n"), "funkzia parna!\nfunkzia neparna!\n");
  EXPECT_EQ(run_pascal(generate(path_to(2) + "x+1\n"), "\n"),
            "funkzia ne yavlaetsya parnoy!\nfunkzia ne yavlaetsya neparnoy!\n");
  // 4x with a string literal and a semicolon in the expression: odd.
  EXPECT_EQ(run_pascal(generate(path_to(2) + "length('ab;c')*x\n"), "\n"),
            "funkzia ne yavlaetsya parnoy!\nfunkzia neparna!\n");
}

TEST(FunctionArrayTemplates, InverseOfLinearFunction) {
  ZV_REQUIRE_FPC();
  // k=2, b=6: 1/2 = 0.5, -6/2 = -3 (the minus follows the plus sign)
  EXPECT_EQ(run_pascal(generate(path_to(3)), feed({"2", "6"})),
            "vvedite k,b dlya funkzii y=kx+b\nobratnaya funkzia - y=0.50*x+-3.00\n");
}

// The comparison is "a[i]" + sign as typed + number with two decimals.
TEST(FunctionArrayTemplates, ComparisonIsSplicedIntoTheTest) {
  struct Case {
    const char* sign;
    const char* number;
    const char* test;  // the text between "a[i]" and " then"
  };
  const Case cases[] = {
      {">=", "10", ">=10.00"}, {"<", "-2.5", "<-2.50"},     {" > ", "0", " > 0.00"},
      {"", "0", "0.00"},       {"<>", "-0.001", "<>-0.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("sign [") + c.sign + "] number " + c.number);
    std::vector<std::string> lines = crlf_lines(with_comparison(6, c.sign, c.number));
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[10], std::string("  if a[i]") + c.test + " then s:=s+a[i];");
    lines = crlf_lines(with_comparison(9, c.sign, c.number));
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[10], std::string("  if a[i]") + c.test + " then p:=p*a[i];");
    lines = crlf_lines(with_comparison(13, c.sign, c.number));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[10], std::string(" writeln('elementy ") + c.test + "');");
    EXPECT_EQ(lines[12], std::string("  if a[i]") + c.test + " then writeln(a[i]);");
  }
}

TEST(FunctionArrayTemplates, Sums) {
  ZV_REQUIRE_FPC();
  // 1+2+3 = 6
  EXPECT_EQ(run_pascal(generate(path_to(4)), feed({"3", "1", "2", "3"})),
            "vvedite kol-vo elementov\nvvedite 1 element masiva\nvvedite 2 element masiva\n"
            "vvedite 3 element masiva\nsuma vvedenyh elementov=6\n");
  // divisor 3 over 3,4,6,7: 3+6 = 9
  EXPECT_EQ(run_pascal(generate(path_to(5)), feed({"4", "3", "3", "4", "6", "7"})),
            "vvedite kol-vo elementov i delitel elementov\nvvedite 1 element masiva\n"
            "vvedite 2 element masiva\nvvedite 3 element masiva\nvvedite 4 element masiva\n"
            "suma elementov=9\n");
  // >=10 over 5,10,15: 10+15 = 25
  EXPECT_EQ(run_pascal(with_comparison(6, ">=", "10"), feed({"3", "5", "10", "15"})),
            "vvedite kol-vo elementov\nvvedite 1 element masiva\nvvedite 2 element masiva\n"
            "vvedite 3 element masiva\nsuma elementov=25\n");
  // <-2.5 over -3,-2,4,-10: -3 + -10 = -13
  EXPECT_HAS(run_pascal(with_comparison(6, "<", "-2.5"), feed({"4", "-3", "-2", "4", "-10"})),
             "suma elementov=-13\n");
}

TEST(FunctionArrayTemplates, Products) {
  ZV_REQUIRE_FPC();
  // 2*3*4 = 24
  EXPECT_EQ(run_pascal(generate(path_to(7)), feed({"3", "2", "3", "4"})),
            "vvedite kol-vo elementov\nvvedite 1 element masiva\nvvedite 2 element masiva\n"
            "vvedite 3 element masiva\nproizvedenie elementov=24\n");
  // divisor 2 over 2,3,4,5: 2*4 = 8
  EXPECT_EQ(run_pascal(generate(path_to(8)), feed({"4", "2", "2", "3", "4", "5"})),
            "vvedite kol-vo elementov i delitel\nvvedite 1 element masiva\n"
            "vvedite 2 element masiva\nvvedite 3 element masiva\nvvedite 4 element masiva\n"
            "proizvedenie elementov=8\n");
  const std::string at_least_10 = with_comparison(9, ">=", "10");
  // >=10 over 10,3,12: 10*12 = 120
  EXPECT_HAS(run_pascal(at_least_10, feed({"3", "10", "3", "12"})), "proizvedenie elementov=120\n");
  // none meets the test: the start value 1
  EXPECT_HAS(run_pascal(at_least_10, feed({"2", "1", "9"})), "proizvedenie elementov=1\n");
  // <-2.5 over -3,-2,-4: (-3)*(-4) = 12
  EXPECT_HAS(run_pascal(with_comparison(9, "<", "-2.5"), feed({"3", "-3", "-2", "-4"})),
             "proizvedenie elementov=12\n");
}

TEST(FunctionArrayTemplates, LargestAndSmallest) {
  ZV_REQUIRE_FPC();
  const std::string largest = generate(path_to(10));
  // 5,3,9,9,1: the first 9 wins, at position 3
  EXPECT_EQ(run_pascal(largest, feed({"5", "5", "3", "9", "9", "1"})),
            "vvedite kol-vo elementov\nvvedite 1 element\nvvedite 2 element\nvvedite 3 element\n"
            "vvedite 4 element\nvvedite 5 element\nnaybolshiy element=9 indeks=3\n");
  const std::string smallest = generate(path_to(11));
  // 4,2,8,2: the first 2 wins, at position 2
  EXPECT_HAS(run_pascal(smallest, feed({"4", "4", "2", "8", "2"})), "naymenshiy element=2 indeks=2\n");
}

// When the extreme element is the first one, its position 1 is reported.
TEST(FunctionArrayTemplates, ExtremeFirstElementReportsPositionOne) {
  std::vector<std::string> lines = crlf_lines(generate(path_to(10)));
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[10], " max:=a[1]; i1:=1; for i:=1 to n do begin");
  EXPECT_EQ(lines[11], "  if max<a[i] then begin max:=a[i]; i1:=i; end;");
  lines = crlf_lines(generate(path_to(11)));
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[10], " min:=a[1]; i1:=1; for i:=1 to n do begin");
  EXPECT_EQ(lines[11], "  if min>a[i] then begin min:=a[i]; i1:=i; end;");

  ZV_REQUIRE_FPC();
  EXPECT_HAS(run_pascal(generate(path_to(10)), feed({"3", "7", "3", "5"})),
             "naybolshiy element=7 indeks=1\n");
  EXPECT_HAS(run_pascal(generate(path_to(11)), feed({"3", "1", "3", "5"})),
             "naymenshiy element=1 indeks=1\n");
}

TEST(FunctionArrayTemplates, ElementLists) {
  ZV_REQUIRE_FPC();
  // divisor 3 over 3,4,9,10,-6: 3, 9, -6 in input order
  EXPECT_EQ(run_pascal(generate(path_to(12)), feed({"5", "3", "3", "4", "9", "10", "-6"})),
            "vvedite kol-vo elementov i delitel\nvvedite 1 element\nvvedite 2 element\n"
            "vvedite 3 element\nvvedite 4 element\nvvedite 5 element\n"
            "\nelementy, delyashiesya na delitel:\n3\n9\n-6\n");
  // >=10 over 5,10,15: 10, 15
  EXPECT_EQ(run_pascal(with_comparison(13, ">=", "10"), feed({"3", "5", "10", "15"})),
            "vvedite kol-vo elementov\nvvedite 1 element\nvvedite 2 element\nvvedite 3 element\n"
            "\nelementy >=10.00\n10\n15\n");
  // <-2.5 over -3,-2,4,-10: -3, -10
  std::string out = run_pascal(with_comparison(13, "<", "-2.5"), feed({"4", "-3", "-2", "4", "-10"}));
  EXPECT_HAS(out, "\n\nelementy <-2.50\n-3\n-10\n");
}

// An apostrophe in the sign is doubled inside the heading's string literal
// and kept as typed in the test, so this sign still gives a working program.
TEST(FunctionArrayTemplates, ApostropheInSignIsDoubledOnlyInTheHeading) {
  const std::string source = with_comparison(13, "<>length('ab')+", "0");
  const std::vector<std::string> lines = crlf_lines(source);
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[10], " writeln('elementy <>length(''ab'')+0.00');");
  EXPECT_EQ(lines[12], "  if a[i]<>length('ab')+0.00 then writeln(a[i]);");

  ZV_REQUIRE_FPC();
  // a[i] <> 2 over 1,2,3: 1 and 3
  EXPECT_HAS(run_pascal(source, feed({"3", "1", "2", "3"})), "\n\nelementy <>length('ab')+0.00\n1\n3\n");
}

TEST(FunctionArrayTemplates, Means) {
  ZV_REQUIRE_FPC();
  // (1+2+4)/3 = 2.333...
  EXPECT_EQ(run_pascal(generate(path_to(51)), feed({"3", "1", "2", "4"})),
            "vvedite kol-vo elementov masiva\nvvedite a[1]\nvvedite a[2]\nvvedite a[3]\n"
            "srednee arifmeticheskoe=2.33\n");
  // cube root of 1*3*9 = 27: 3
  EXPECT_EQ(run_pascal(generate(path_to(52)), feed({"3", "1", "3", "9"})),
            "vvedite kol-vo elementov masiva\nvvedite a[1]\nvvedite a[2]\nvvedite a[3]\n"
            "srednee geometricheskoe=3.00\n");
}

}  // namespace
