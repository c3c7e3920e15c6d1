// Templates 53-55 (segments and vectors, leaves 2/1/1/1-3) generated through
// the real binary and run with fpc, and the empty templates 56-60.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/harness.h"

namespace {

using zv::test::crlf_lines;
using zv::test::generate;
using zv::test::run_pascal;

// The generated program's stdout for these input lines, CRs removed; the
// final empty line answers the program's closing readln.
std::string run(const std::string& source, const std::string& input) {
  std::string out = run_pascal(source, input + "\n\n");
  std::erase(out, '\r');
  return out;
}

// Each leaf writes its template and the log names it; every line but the
// header, "begin" and "end." is indented by exactly one blank.
TEST(GeometryTemplates, EachLeafWritesItsOwnProgram) {
  struct Leaf {
    int id;
    const char* answers;
    std::size_t lines;
  };
  const Leaf leaves[] = {{53, "2\n1\n1\n1\n", 11}, {54, "2\n1\n1\n2\n", 9}, {55, "2\n1\n1\n3\n", 12}};
  for (const Leaf& leaf : leaves) {
    const std::string id = "mvk_id_" + std::to_string(leaf.id);
    SCOPED_TRACE(id);
    zv::test::Workdir dir;
    const zv::test::RunResult r = dir.run(std::string("prog\n") + leaf.answers + "\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(dir.log(), "sgenerirovana programma " + id + " v file prog.txt\r\n");
    const std::vector<std::string> lines = crlf_lines(dir.read("prog.txt"));
    ASSERT_EQ(lines.size(), leaf.lines);
    EXPECT_EQ(lines[0], "program " + id + ";");
    EXPECT_EQ(lines[2], "begin");
    EXPECT_EQ(lines[leaf.lines - 2], " readln;");
    EXPECT_EQ(lines[leaf.lines - 1], "end.");
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
      if (i == 2) continue;
      EXPECT_TRUE(lines[i].size() > 1 && lines[i][0] == ' ' && lines[i][1] != ' ')
          << "line " << i + 1 << ": " << lines[i];
    }
  }
}

TEST(GeometryTemplates, MidpointLineQuotesTheSeparator) {
  const std::vector<std::string> lines = crlf_lines(generate("2\n1\n1\n3\n"));
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[9], " writeln('koordinaty serediny otrezka=',x3:1:2,'; ',y3:1:2);");
}

// Templates 56-60 leave an empty file yet count as generated programs.
TEST(GeometryTemplates, EmptyTemplatesLeaveAnEmptyFile) {
  struct Leaf {
    int id;
    const char* answers;
  };
  const Leaf leaves[] = {{56, "2\n1\n1\n4\n"},
                         {57, "3\n1\n1\n1\n"},
                         {58, "3\n1\n1\n2\n"},
                         {59, "3\n1\n2\n1\n"},
                         {60, "3\n1\n2\n2\n"}};
  for (const Leaf& leaf : leaves) {
    const std::string id = "mvk_id_" + std::to_string(leaf.id);
    SCOPED_TRACE(id);
    zv::test::Workdir dir;
    dir.write("prog.txt", "old text that must go\r\n");
    const zv::test::RunResult r = dir.run(std::string("prog\n") + leaf.answers + "\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_NE(r.out.find("programma sgenerirovana v file prog.txt v papke programmy\r\n"), std::string::npos);
    EXPECT_TRUE(dir.exists("prog.txt"));
    EXPECT_EQ(dir.read("prog.txt"), "");
    EXPECT_EQ(dir.log(), "sgenerirovana programma " + id + " v file prog.txt\r\n");
  }
}

TEST(GeometryTemplates, SegmentAndVectorPrograms) {
  ZV_REQUIRE_FPC();
  const std::string segment = generate("2\n1\n1\n1\n");
  const std::string ends = "vvedite x1,y1\nvvedite x2,y2\n";
  // 3-4-5 triangle: sqrt(3*3+4*4)
  EXPECT_EQ(run(segment, "0 0\n3 4"), ends + "dlina otrezka(vektora)=5.00\n");
  EXPECT_EQ(run(segment, "1 1\n4 5"), ends + "dlina otrezka(vektora)=5.00\n");
  // sqrt(1+1) = 1.41421
  EXPECT_EQ(run(segment, "-1 2\n0 3"), ends + "dlina otrezka(vektora)=1.41\n");

  const std::string vector = generate("2\n1\n1\n2\n");
  EXPECT_EQ(run(vector, "3 -4"), "vvedite x,y - koordinaty vekrota\ndlina vektora=5.00\n");
  // sqrt(36+64)
  EXPECT_EQ(run(vector, "-6 8"), "vvedite x,y - koordinaty vekrota\ndlina vektora=10.00\n");

  const std::string midpoint = generate("2\n1\n1\n3\n");
  EXPECT_EQ(run(midpoint, "0 0\n4 2"), ends + "koordinaty serediny otrezka=2.00; 1.00\n");
  // ((-3+4)/2, (5-2)/2)
  EXPECT_EQ(run(midpoint, "-3 5\n4 -2"), ends + "koordinaty serediny otrezka=0.50; 1.50\n");
}

}  // namespace
