// Templates 14-25: the arithmetic progression programs, reached at the leaves
// 1/3/1/k/v, generated through the real binary and run with fpc.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/harness.h"

namespace {

using zv::test::crlf_lines;
using zv::test::generate;
using zv::test::run_pascal;

// Menu answers after the output name that lead to template `id` (14-25):
// mathematics, progressions, arithmetic, kind of work, variant.
std::string answers_for(int id) {
  const int work = (id - 14) / 2 + 1;
  const int variant = (id - 14) % 2 + 1;
  return "1\n3\n1\n" + std::to_string(work) + "\n" + std::to_string(variant) + "\n";
}

std::string id_of(int id) { return "mvk_id_" + std::to_string(id); }

struct Frame {
  int id;
  const char* given;  // what the program asks for, in the order it reads
  std::size_t lines;
};

const Frame kFrames[] = {
    {14, "a1,n,an", 9}, {15, "a1,n,d", 9},  {16, "a1,n,d", 11}, {17, "a1,an,n", 11},
    {18, "a1,d,n", 9},  {19, "a1,sn,n", 9}, {20, "a1,d,an", 9}, {21, "a1,an,sn", 9},
    {22, "d,n,an", 9},  {23, "sn,n,d", 9},  {24, "a1,n,an", 9}, {25, "sn,a1,n", 9},
};

// Every template: its leaf writes it, records its own identifier (the log
// line names the same identifier as line 1), and the file has the common
// frame with CR LF after every line and no empty line.
TEST(ArithmeticTemplates, EachLeafWritesItsOwnFramedProgram) {
  for (const Frame& f : kFrames) {
    SCOPED_TRACE(id_of(f.id));
    zv::test::Workdir dir;
    const zv::test::RunResult run = dir.run("prog\n" + answers_for(f.id) + "\n");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.out.find("programma sgenerirovana v file prog.txt v papke programmy\r\n"),
              std::string::npos);
    EXPECT_EQ(dir.log(), "sgenerirovana programma " + id_of(f.id) + " v file prog.txt\r\n");

    const std::string text = dir.read("prog.txt");
    const std::vector<std::string> lines = crlf_lines(text);
    ASSERT_EQ(lines.size(), f.lines);
    EXPECT_EQ(lines[0], "program " + id_of(f.id) + ";");
    EXPECT_EQ(lines[2], "begin");
    EXPECT_EQ(lines[3], std::string(" writeln('vvedite ") + f.given + "');");
    EXPECT_EQ(lines[4], std::string(" readln(") + f.given + ");");
    EXPECT_EQ(lines[f.lines - 2], " readln;");
    EXPECT_EQ(lines[f.lines - 1], "end.");
    for (std::size_t i = 1; i < lines.size(); ++i) {
      if (i == 2 || i == lines.size() - 1) continue;
      EXPECT_EQ(lines[i].rfind(" ", 0), 0u) << "line " << i + 1 << " starts unindented";
    }
  }
}

// Templates 16 and 17 count the n terms with a for loop instead of walking
// them up to an; the loop body keeps its two-blank indent.
TEST(ArithmeticTemplates, ProductTemplatesCountTheTerms) {
  struct Expected {
    int id;
    const char* declarations;
    const char* setup;
  };
  const Expected cases[] = {
      {16, " var an,a1,d,p:real; i,n:integer;", " p:=1; an:=a1+d*(n-1);"},
      {17, " var d,an,a1,p:real; i,n:integer;", " p:=1; d:=(an-a1)/(n-1);"},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(id_of(e.id));
    const std::vector<std::string> lines = crlf_lines(generate(answers_for(e.id)));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[1], e.declarations);
    EXPECT_EQ(lines[5], e.setup);
    EXPECT_EQ(lines[6], " for i:=1 to n do");
    EXPECT_EQ(lines[7], "  begin p:=p*a1; a1:=a1+d; end;");
    EXPECT_EQ(lines[8], " writeln('proizvedenie ',n,' chlenov=',p:1:2);");
  }
}

struct RunCase {
  int id;
  const char* input;   // the one line the program reads
  const char* prompt;  // its first output line
  const char* result;  // its second output line
};

// The program's stdout with any CR removed.
std::string run_generated(const RunCase& c) {
  std::string out = run_pascal(generate(answers_for(c.id)), std::string(c.input) + "\n\n");
  std::erase(out, '\r');
  return out;
}

void expect_runs(const std::vector<RunCase>& cases) {
  for (const RunCase& c : cases) {
    SCOPED_TRACE(id_of(c.id) + " with input " + c.input);
    EXPECT_EQ(run_generated(c), std::string(c.prompt) + "\n" + c.result + "\n");
  }
}

// Products of exactly n terms, whether the progression grows, stays or falls.
TEST(ArithmeticTemplates, ProductProgramsMultiplyExactlyNTerms) {
  ZV_REQUIRE_FPC();
  expect_runs({
      // a1, n, d
      {16, "1 4 1", "vvedite a1,n,d", "proizvedenie 4 chlenov=24.00"},     // 1*2*3*4
      {16, "3 4 0", "vvedite a1,n,d", "proizvedenie 4 chlenov=81.00"},     // 3^4
      {16, "5 3 -2", "vvedite a1,n,d", "proizvedenie 3 chlenov=15.00"},    // 5*3*1
      {16, "0.5 3 0.5", "vvedite a1,n,d", "proizvedenie 3 chlenov=0.75"},  // 0.5*1*1.5
      {16, "-3 2 1", "vvedite a1,n,d", "proizvedenie 2 chlenov=6.00"},     // -3*-2
      // a1, an, n
      {17, "2 8 4", "vvedite a1,an,n", "proizvedenie 4 chlenov=384.00"},  // d=2: 2*4*6*8
      {17, "2 2 5", "vvedite a1,an,n", "proizvedenie 5 chlenov=32.00"},   // d=0: 2^5
      {17, "9 3 3", "vvedite a1,an,n", "proizvedenie 3 chlenov=162.00"},  // d=-3: 9*6*3
      {17, "1 2 4", "vvedite a1,an,n", "proizvedenie 4 chlenov=4.44"},    // d=1/3: 1*4/3*5/3*2=40/9
  });
}

TEST(ArithmeticTemplates, ProgramsComputeTheirFormulas) {
  ZV_REQUIRE_FPC();
  expect_runs({
      // 14: sn = n/2*(a1+an)
      {14, "1 10 19", "vvedite a1,n,an", "sn=100"},  // 10/2*20
      {14, "-4 5 2", "vvedite a1,n,an", "sn=-5"},    // 5/2*(-2)
      // 15: sn = n/2*(2*a1+d*(n-1))
      {15, "2 5 3", "vvedite a1,n,d", "sn=40"},    // 5/2*(4+12)
      {15, "10 4 -3", "vvedite a1,n,d", "sn=22"},  // 4/2*(20-9)
      // 18: an = a1+d*(n-1)
      {18, "2 3 5", "vvedite a1,d,n", "an=14.00"},     // 2+3*4
      {18, "1 -0.5 4", "vvedite a1,d,n", "an=-0.50"},  // 1-0.5*3
      // 19: an = 2*sn/n-a1
      {19, "1 100 10", "vvedite a1,sn,n", "an=19.00"},  // 20-1
      {19, "2.5 12 4", "vvedite a1,sn,n", "an=3.50"},   // 6-2.5
      // 20: n = (an-a1+d)/d
      {20, "1 2 19", "vvedite a1,d,an", "kol-vo chlenov=10"},  // 20/2
      {20, "10 -3 1", "vvedite a1,d,an", "kol-vo chlenov=4"},  // (1-10-3)/-3
      // 21: n = 2*sn/(a1+an)
      {21, "1 19 100", "vvedite a1,an,sn", "kol-vo chlenov=10"},  // 200/20
      {21, "10 1 22", "vvedite a1,an,sn", "kol-vo chlenov=4"},    // 44/11
      // 22: a1 = an-d*(n-1)
      {22, "2 10 19", "vvedite d,n,an", "a1=1.00"},   // 19-18
      {22, "-1.5 3 4", "vvedite d,n,an", "a1=7.00"},  // 4+3
      // 23: a1 = (2*sn/n-d*(n-1))/2
      {23, "40 5 3", "vvedite sn,n,d", "a1=2.00"},   // (16-12)/2
      {23, "9 3 0.5", "vvedite sn,n,d", "a1=2.50"},  // (6-1)/2
      // 24: d = (an-a1)/(n-1)
      {24, "1 10 19", "vvedite a1,n,an", "razniza progresii=2.00"},  // 18/9
      {24, "0 4 1", "vvedite a1,n,an", "razniza progresii=0.33"},    // 1/3
      {24, "5 3 -1", "vvedite a1,n,an", "razniza progresii=-3.00"},  // -6/2
      // 25: d = ((2*sn/n)-(2*a1))/(n-1)
      {25, "40 2 5", "vvedite sn,a1,n", "razniza progresii=3.00"},    // (16-4)/4
      {25, "22 10 4", "vvedite sn,a1,n", "razniza progresii=-3.00"},  // (11-20)/3
  });
}

}  // namespace
