// Templates 26-40: geometric and infinitely decreasing progressions, written
// through the real dialogue, checked line by line where the texts are
// peculiar, and compiled and run on sample inputs.
#include <map>
#include <string>
#include <vector>

#include "support/harness.h"

namespace {

using zv::test::crlf_lines;
using zv::test::generate;
using zv::test::run_pascal;

struct Leaf {
  int id;
  const char* answers;  // menu answers after the output name
  std::size_t lines;    // line count of the written program
};

const Leaf kLeaves[] = {
    {26, "1\n3\n2\n1\n1\n", 9},  {27, "1\n3\n2\n1\n2\n", 9},  {28, "1\n3\n2\n2\n1\n", 10},
    {29, "1\n3\n2\n2\n2\n", 11}, {30, "1\n3\n2\n3\n1\n", 9},  {31, "1\n3\n2\n3\n2\n", 9},
    {32, "1\n3\n2\n4\n1\n", 10}, {33, "1\n3\n2\n4\n2\n", 10}, {34, "1\n3\n2\n5\n1\n", 9},
    {35, "1\n3\n2\n5\n2\n", 9},  {36, "1\n3\n2\n6\n1\n", 10}, {37, "1\n3\n2\n6\n2\n", 9},
    {38, "1\n3\n3\n1\n", 10},    {39, "1\n3\n3\n2\n", 10},    {40, "1\n3\n3\n3\n", 10},
};

const Leaf& leaf(int id) { return kLeaves[id - 26]; }

// One generation per template for the whole process.
const std::string& program(int id) {
  static std::map<int, std::string> cache;
  auto it = cache.find(id);
  if (it == cache.end()) it = cache.emplace(id, generate(leaf(id).answers)).first;
  return it->second;
}

std::vector<std::string> program_lines(int id) { return crlf_lines(program(id)); }

TEST(TemplatesGeometric, FrameAndIndentingOfEveryTemplate) {
  for (const Leaf& l : kLeaves) {
    SCOPED_TRACE("template " + std::to_string(l.id));
    const std::vector<std::string> lines = program_lines(l.id);
    ASSERT_EQ(lines.size(), l.lines);
    EXPECT_EQ(lines[0], "program mvk_id_" + std::to_string(l.id) + ";");
    EXPECT_EQ(lines[2], "begin");
    EXPECT_EQ(lines[lines.size() - 2], " readln;");
    EXPECT_EQ(lines.back(), "end.");
    // Only the loop body of 28 (line 7) and 29 (line 8) is indented by two
    // blanks; every line but "program", "begin" and "end." by one.
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
      if (i == 2) continue;
      const bool loop_body = (l.id == 28 && i == 6) || (l.id == 29 && i == 7);
      const std::string& s = lines[i];
      ASSERT_GE(s.size(), 3u) << "line " << i + 1;
      EXPECT_EQ(s.find_first_not_of(' '), loop_body ? 2u : 1u) << "line " << i + 1 << ": " << s;
    }
  }
}

TEST(TemplatesGeometric, PeculiarLines) {
  for (int id : {28, 29}) {
    SCOPED_TRACE("template " + std::to_string(id));
    const auto lines = program_lines(id);
    ASSERT_EQ(lines.size(), leaf(id).lines);
    // The read and "p:=1;" share line 5.
    EXPECT_EQ(lines[4], id == 28 ? " readln(b1,n,q); p:=1;" : " readln(b1,bn,n); p:=1;");
    EXPECT_EQ(lines[id == 28 ? 6 : 7], "  p:=p*b1; b1:=b1*q; end;");
  }

  EXPECT_EQ(program_lines(32).at(1), " var c,k,b1,q,bn,n:real;");

  const std::string ratio_test =
      " if (abs(q)>=1) or (q=0) then begin writeln; writeln('ERROR: |q|<1, q<>0!'); readln; halt; "
      "end;";
  EXPECT_EQ(program_lines(38).at(5), ratio_test);
  EXPECT_EQ(program_lines(39).at(5), ratio_test);

  // Template 40: the if line ends without a semicolon, the else opens the next.
  const auto lines40 = program_lines(40);
  ASSERT_EQ(lines40.size(), 10u);
  EXPECT_EQ(lines40[6], " if abs(q)>=1 then writeln('ERROR: nevernoe uslovie, |q|<1!')");
  EXPECT_EQ(lines40[7], " else writeln(q:1:2);");
}

TEST(TemplatesGeometric, EachRunRecordsItsOwnIdentifier) {
  for (const Leaf& l : kLeaves) {
    SCOPED_TRACE("template " + std::to_string(l.id));
    zv::test::Workdir dir;
    const auto result = dir.run(std::string("prog\n") + l.answers + "\n");
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(dir.log(), "sgenerirovana programma mvk_id_" + std::to_string(l.id) + " v file prog.txt\r\n");
  }
}

struct Sample {
  int id;
  const char* input;     // typed into the generated program (last line: the final Enter)
  const char* expected;  // its whole stdout
};

const Sample kSamples[] = {
    // 2, 6, 18, 54: sum (54*3-2)/(3-1) = 80
    {26, "2 3 54\n\n", "vvedite b1,q,bn\nsuma n chlenov=80.00\n"},
    // b1=2, n=4, q=3: 2*(3^4-1)/(3-1) = 80
    {27, "2 4 3\n\n", "vvedite b1,n,q\nsuma n chlenov=80.00\n"},
    // 2*6*18 = 216
    {28, "2 3 3\n\n", "vvedite b1,n,q\nproizvedenie n chlenov=216.00\n"},
    // 1*(-2)*4 = -8: a negative ratio goes through the loop unharmed
    {28, "1 3 -2\n\n", "vvedite b1,n,q\nproizvedenie n chlenov=-8.00\n"},
    // n=0: the loop multiplies nothing, p stays 1
    {28, "5 0 2\n\n", "vvedite b1,n,q\nproizvedenie n chlenov=1.00\n"},
    // q = exp(1/2*ln(18/2)) = 3: 2*6*18 = 216
    {29, "2 18 3\n\n", "vvedite b1,bn,n\nproizvedenie n chlenov=216.00\n"},
    // 3*2^(5-1) = 48
    {30, "3 2 5\n\n", "vvedite b1,q,n\nbn=48.00\n"},
    // (80*(3-1)+2)/3 = 54
    {31, "2 80 3\n\n", "vvedite b1,sn,q\nbn=54.00\n"},
    // k = 54/2 = 27, ln 27/ln 3 + 1 = 4
    {32, "2 3 54\n\n", "vvedite b1,q,bn\nkol-vo chlenov=4\n"},
    // k = (80*3-80+2)/2 = 81, ln 81/ln 3 = 4
    {33, "2 3 80\n\n", "vvedite b1,q,sn\nkol-vo chlenov=4\n"},
    // 48/2^(5-1) = 3
    {34, "2 5 48\n\n", "vvedite q,n,bn\nb1=3.00\n"},
    // 80*(3-1)/(3^4-1) = 2
    {35, "80 4 3\n\n", "vvedite sn,n,q\nb1=2.00\n"},
    // k = 54/2 = 27, 27^(1/3) = 3
    {36, "2 4 54\n\n", "vvedite b1,n,bn\ndelitel q=3.00\n"},
    // (80-2)/(80-54) = 78/26 = 3
    {37, "2 80 54\n\n", "vvedite b1,sn,bn\ndelitel q=3.00\n"},
    // 1/(1-0.5) = 2
    {38, "1 0.5\n\n", "vvedite b1,q\nsuma progresii=2.00\n"},
    // 1/(1+0.5) = 0.666.. -> 0.67
    {38, "1 -0.5\n\n", "vvedite b1,q\nsuma progresii=0.67\n"},
    // |q| = 1 and q = 0 stop with an empty line and the ERROR line
    {38, "1 1\n\n", "vvedite b1,q\n\nERROR: |q|<1, q<>0!\n"},
    {38, "1 0\n\n", "vvedite b1,q\n\nERROR: |q|<1, q<>0!\n"},
    // 4*(1-0.5) = 2
    {39, "0.5 4\n\n", "vvedite q,s\nb1=2.00\n"},
    {39, "-1 4\n\n", "vvedite q,s\n\nERROR: |q|<1, q<>0!\n"},
    // q = 1-2/4 = 0.5, printed alone
    {40, "2 4\n\n", "vvedite b1,s\n0.50\n"},
    // q = 1-10/4 = -1.5: the ERROR line, and the program still ends normally
    {40, "10 4\n\n", "vvedite b1,s\nERROR: nevernoe uslovie, |q|<1!\n"},
};

TEST(TemplatesGeometric, GeneratedProgramsComputeTheFormulas) {
  ZV_REQUIRE_FPC();
  for (const Sample& s : kSamples) {
    SCOPED_TRACE("template " + std::to_string(s.id) + " with input " + s.input);
    EXPECT_EQ(run_pascal(program(s.id), s.input), s.expected);
  }
}

}  // namespace
