// Templates 41-47 (equations and inequalities, leaves 1/4/... and 1/5/...)
// and 48-50 (other programs, leaves 1/6/...), generated through the real
// binary and run with fpc.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/harness.h"

namespace {

using zv::test::crlf_lines;
using zv::test::generate;
using zv::test::run_pascal;

// Menu answers after the output name for templates 46 and 47: mathematics,
// inequalities, kind, then the sign line as typed.
std::string linear_inequality(const std::string& sign) { return "1\n5\n1\n" + sign + "\n"; }
std::string quadratic_inequality(const std::string& sign) { return "1\n5\n2\n" + sign + "\n"; }

// The generated program's stdout for these input lines, CRs removed; the
// final empty line answers the program's closing readln.
std::string run(const std::string& source, const std::string& input) {
  std::string out = run_pascal(source, input + "\n\n");
  std::erase(out, '\r');
  return out;
}

struct Leaf {
  int id;
  const char* answers;  // after the output name
  const char* first_line;
  std::size_t lines;
};

// Each leaf writes its template: the log names the writer's id, the file
// holds the expected number of CR LF lines and ends with the readln/end.
TEST(EquationOtherTemplates, EachLeafWritesItsOwnProgram) {
  const Leaf leaves[] = {
      {41, "1\n4\n1\n", "program mvk_id_41;", 10},    {42, "1\n4\n2\n1\n", "program mvk_id_42;", 14},
      {43, "1\n4\n2\n2\n", "program mvk_id_43;", 10}, {44, "1\n4\n2\n3\n", "program mvk_id_44;", 14},
      {45, "1\n4\n3\n", "program mvk_id_45;", 13},    {46, "1\n5\n1\n>\n", "program mvk_id_46;", 10},
      {47, "1\n5\n2\n>\n", "program mvk_id_47;", 17}, {48, "1\n6\n1\n", "program mvk_id_48;", 12},
      {49, "1\n6\n2\n", "program mvk_id_49;", 11},    {50, "1\n6\n3\n", "program kalkulator;", 63},
  };
  for (const Leaf& leaf : leaves) {
    const std::string id = "mvk_id_" + std::to_string(leaf.id);
    SCOPED_TRACE(id);
    zv::test::Workdir dir;
    const zv::test::RunResult r = dir.run(std::string("prog\n") + leaf.answers + "\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_NE(r.out.find("programma sgenerirovana v file prog.txt v papke programmy\r\n"), std::string::npos);
    EXPECT_EQ(dir.log(), "sgenerirovana programma " + id + " v file prog.txt\r\n");
    const std::vector<std::string> lines = crlf_lines(dir.read("prog.txt"));
    ASSERT_EQ(lines.size(), leaf.lines);
    EXPECT_EQ(lines[0], leaf.first_line);
    EXPECT_EQ(lines[2], leaf.id == 50 ? "    a:integer;" : "begin");
    EXPECT_EQ(lines[leaf.lines - 2], leaf.id == 50 ? "readln;" : " readln;");
    EXPECT_EQ(lines[leaf.lines - 1], "end.");
  }
}

// The calculator is the one text without indenting: only the four blanks of
// its third line.
TEST(EquationOtherTemplates, CalculatorIndentsOnlyItsThirdLine) {
  const std::vector<std::string> lines = crlf_lines(generate("1\n6\n3\n"));
  ASSERT_EQ(lines.size(), 63u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == 2) continue;
    EXPECT_NE(lines[i].front(), ' ') << "line " << i + 1;
  }
  EXPECT_EQ(lines[7], "writeln('3 - umnozhenit');");
  EXPECT_EQ(lines[60], "writeln('resultat=',d:1:5);");
}

// Line 8 of template 46: the five comparison signs print the mirrored sign
// for a negative k; any other text is written as typed, apostrophes doubled.
TEST(EquationOtherTemplates, LinearInequalityAnswerLine) {
  struct Case {
    const char* sign;
    const char* line8;
  };
  const Case cases[] = {
      {">", " if k>0 then writeln('x>',x:1:2) else writeln('x<',x:1:2);"},
      {"<", " if k>0 then writeln('x<',x:1:2) else writeln('x>',x:1:2);"},
      {">=", " if k>0 then writeln('x>=',x:1:2) else writeln('x<=',x:1:2);"},
      {"<=", " if k>0 then writeln('x<=',x:1:2) else writeln('x>=',x:1:2);"},
      {"<>", " if k>0 then writeln('x<>',x:1:2) else writeln('x<>',x:1:2);"},
      {"", " writeln('x',x:1:2);"},
      {"=>", " writeln('x=>',x:1:2);"},
      {"> ", " writeln('x> ',x:1:2);"},
      {"'", " writeln('x''',x:1:2);"},
      {"a'b''", " writeln('xa''b''''',x:1:2);"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("sign [") + c.sign + "]");
    const std::vector<std::string> lines = crlf_lines(generate(linear_inequality(c.sign)));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[5], " if k=0 then begin writeln('ERROR!!! k<>0!'); readln; halt; end;");
    EXPECT_EQ(lines[7], c.line8);
  }
}

// Template 47 picks its three answer lines by the exact sign, with the
// guard for a non-positive a after the read.
TEST(EquationOtherTemplates, QuadraticInequalitySlotsBySign) {
  struct Case {
    const char* sign;
    const char* slot_a;
    const char* slot_b;
    const char* slot_c;
  };
  const Case cases[] = {
      {">", " writeln('x - lyuboy');", " x1:=-b/(2*a); writeln('x<>',x1:1:2); end;",
       "  writeln('x>',x1:1:2,' x<',x2:1:2);"},
      {"<", " writeln('resheniy net');", " writeln('resheniy net'); end;",
       "  writeln('x>',x2:1:2,' x<',x1:1:2);"},
      {">=", " writeln('x - lyuboy');", " writeln('x lyuboy'); end;",
       "  writeln('x>=',x1:1:2,' x<=',x2:1:2);"},
      {"<=", " writeln('resheniy net');", " x1:=-b/(2*a); writeln('x=',x1:1:2); end;",
       "  writeln('x>=',x2:1:2,' x<=',x1:1:2);"},
      {"<>", " writeln('x - lyuboy');", " x1:=-b/(2*a); writeln('x<>',x1:1:2); end;",
       "  writeln('x<>',x1:1:2,' x<>',x2:1:2);"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("sign [") + c.sign + "]");
    const std::vector<std::string> lines = crlf_lines(generate(quadratic_inequality(c.sign)));
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[4], " readln(a,b,c);");
    EXPECT_EQ(lines[5], " if a<=0 then begin writeln('ERROR!!! a>0!'); readln; halt; end;");
    EXPECT_EQ(lines[7], " if d<0 then");
    EXPECT_EQ(lines[8], c.slot_a);
    EXPECT_EQ(lines[9], " if d=0 then begin");
    EXPECT_EQ(lines[10], c.slot_b);
    EXPECT_EQ(lines[11], " if d>0 then begin");
    EXPECT_EQ(lines[13], c.slot_c);
    EXPECT_EQ(lines[14], " end;");
  }
}

// Near misses of the five signs get the text without answer lines, its d=0
// block closed at once.
TEST(EquationOtherTemplates, QuadraticInequalityOtherSigns) {
  const std::vector<std::string> expected = {
      "program mvk_id_47;",
      " var d,a,x1,x2,b,c:real;",
      "begin",
      " writeln('vvedite a,b,c');",
      " readln(a,b,c);",
      " d:=sqr(b)-4*a*c;",
      " if d<0 then",
      " if d=0 then begin",
      " end;",
      " if d>0 then begin",
      "  x1:=(-b+sqrt(d))/(2*a); x2:=(-b-sqrt(d))/(2*a);",
      " end;",
      " readln;",
      "end.",
  };
  for (const char* sign : {"> ", " >", "=>", "=", "", "><", ">>"}) {
    SCOPED_TRACE(std::string("sign [") + sign + "]");
    EXPECT_EQ(crlf_lines(generate(quadratic_inequality(sign))), expected);
  }
}

TEST(EquationOtherTemplates, GoldenSectionFactors) {
  const std::vector<std::string> lines = crlf_lines(generate("1\n6\n2\n"));
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[5], " b:=0.618*a;");
  EXPECT_EQ(lines[6], " c:=0.382*a;");
}

// ---- the generated programs, compiled and run ----

TEST(EquationOtherTemplates, LinearEquationBranches) {
  ZV_REQUIRE_FPC();
  const std::string source = generate("1\n4\n1\n");
  EXPECT_EQ(run(source, "0 3 3"), "vvedite k,b,a\nx - lyboy\n");
  EXPECT_EQ(run(source, "0 3 4"), "vvedite k,b,a\nnet resheniy\n");
  EXPECT_EQ(run(source, "2 1 7"), "vvedite k,b,a\nx=3.00\n");   // (7-1)/2
  EXPECT_EQ(run(source, "-4 1 0"), "vvedite k,b,a\nx=0.25\n");  // (0-1)/-4
}

TEST(EquationOtherTemplates, QuadraticEquationPrograms) {
  ZV_REQUIRE_FPC();
  const std::string roots = generate("1\n4\n2\n1\n");
  // d=9-8=1: (3+1)/2 and (3-1)/2
  EXPECT_EQ(run(roots, "1 -3 2"), "vvedite a,b,c\nx1=2.00 x2=1.00\n");
  // d=4-4=0: -2/2
  EXPECT_EQ(run(roots, "1 2 1"), "vvedite a,b,c\nx1=x2=-1.00\n");
  // d=0-4<0
  EXPECT_EQ(run(roots, "1 0 1"), "vvedite a,b,c\nresheniy net\n");
  // d=1+24=25: (1+5)/-4 and (1-5)/-4
  EXPECT_EQ(run(roots, "-2 -1 3"), "vvedite a,b,c\nx1=-1.50 x2=1.00\n");

  // x1=2, x2=3: b=-(2+3), c=2*3
  EXPECT_EQ(run(generate("1\n4\n2\n2\n"), "2 3"), "vvedite x1,x2\nb=-5.00\nc=6.00\n");

  const std::string vertex = generate("1\n4\n2\n3\n");
  // y=x2-4x+3: m=4/2, d=16-12=4, n=-4/4
  EXPECT_EQ(run(vertex, "1 -4 3"),
            "vvedite a,b,c\nvetki paraboly napravleny vverh\nm=2.00\nn-min.znach.=-1.00\n");
  // y=-x2+2x: m=-2/-2, d=4, n=-4/-4
  EXPECT_EQ(run(vertex, "-1 2 0"),
            "vvedite a,b,c\nvetki paraboly napravleny vniz\nm=1.00\nn-max.znach.=1.00\n");
}

TEST(EquationOtherTemplates, LinearSystemProgram) {
  ZV_REQUIRE_FPC();
  const std::string source = generate("1\n4\n3\n");
  const std::string prompts =
      "vvedite koefizienty a,b,c uravneniya ax+by=c\n"
      "vvedite koefizienty d,e,f uravneniya dx+ey=f\n";
  // 2x+3y=13, x-y=-1: x=(-1*3+13)/(3+2)=2, y=(-2-13)/(-2-3)=3
  EXPECT_EQ(run(source, "2 3 13\n1 -1 -1"), prompts + "x=2.00\ny=3.00\n");
  // x+y=3, x-y=1: x=(1+3)/(1+1)=2, y=(1-3)/(-1-1)=1
  EXPECT_EQ(run(source, "1 1 3\n1 -1 1"), prompts + "x=2.00\ny=1.00\n");
}

// kx+b (sign) a with k=2, b=1, a=7 has the boundary 3; with k=-2 the
// boundary is -3 and the comparison turns round.
TEST(EquationOtherTemplates, LinearInequalityPrograms) {
  ZV_REQUIRE_FPC();
  struct Case {
    const char* sign;
    const char* positive_k;
    const char* negative_k;
  };
  const Case cases[] = {
      {">", "x>3.00", "x<-3.00"},    {"<", "x<3.00", "x>-3.00"},    {">=", "x>=3.00", "x<=-3.00"},
      {"<=", "x<=3.00", "x>=-3.00"}, {"<>", "x<>3.00", "x<>-3.00"}, {"=>", "x=>3.00", "x=>-3.00"},
      {"'", "x'3.00", "x'-3.00"},
  };
  const std::string prompt = "vvedite k,b,a (kx+b=a)\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("sign [") + c.sign + "]");
    const std::string source = generate(linear_inequality(c.sign));
    EXPECT_EQ(run(source, "2 1 7"), prompt + c.positive_k + "\n");
    EXPECT_EQ(run(source, "-2 1 7"), prompt + c.negative_k + "\n");
  }
  EXPECT_EQ(run(generate(linear_inequality(">")), "0 1 7"), prompt + "ERROR!!! k<>0!\n");
}

// ax2+bx+c (sign) 0 with a>0 for the three kinds of discriminant:
// x2-3x+2 (roots 2 and 1), x2-2x+1 (double root 1), x2+1 (no root).
TEST(EquationOtherTemplates, QuadraticInequalityPrograms) {
  ZV_REQUIRE_FPC();
  struct Case {
    const char* sign;
    const char* two_roots;
    const char* double_root;
    const char* no_root;
  };
  const Case cases[] = {
      {">", "x>2.00 x<1.00", "x<>1.00", "x - lyuboy"},
      {"<", "x>1.00 x<2.00", "resheniy net", "resheniy net"},
      {">=", "x>=2.00 x<=1.00", "x lyuboy", "x - lyuboy"},
      {"<=", "x>=1.00 x<=2.00", "x=1.00", "resheniy net"},
      {"<>", "x<>2.00 x<>1.00", "x<>1.00", "x - lyuboy"},
  };
  const std::string prompt = "vvedite a,b,c\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("sign [") + c.sign + "]");
    const std::string source = generate(quadratic_inequality(c.sign));
    EXPECT_EQ(run(source, "1 -3 2"), prompt + c.two_roots + "\n");
    EXPECT_EQ(run(source, "1 -2 1"), prompt + c.double_root + "\n");
    EXPECT_EQ(run(source, "1 0 1"), prompt + c.no_root + "\n");
    // A negative or zero a is refused before any answer.
    EXPECT_EQ(run(source, "-1 3 -2"), prompt + "ERROR!!! a>0!\n");
    EXPECT_EQ(run(source, "0 2 1"), prompt + "ERROR!!! a>0!\n");
  }
  // Any other sign: the program compiles, reads a, b, c and answers nothing.
  for (const char* sign : {"=", ""}) {
    SCOPED_TRACE(std::string("sign [") + sign + "]");
    const std::string source = generate(quadratic_inequality(sign));
    EXPECT_EQ(run(source, "1 -3 2"), prompt);
    EXPECT_EQ(run(source, "1 -2 1"), prompt);
    EXPECT_EQ(run(source, "1 0 1"), prompt);
  }
}

TEST(EquationOtherTemplates, LotteryAndGoldenSectionPrograms) {
  ZV_REQUIRE_FPC();
  const std::string lottery = generate("1\n6\n1\n");
  const std::string ask = "vvedite kol-vo nomerov v viygrushnoy kombinazii i obshee kol-vo nomerov\n";
  // 6 of 49: C(49,6) = 13983816 tickets, 100/13983816 = 0.00000715112...
  EXPECT_EQ(run(lottery, "6 49"), ask +
                                      "veroyatnost vyigrusha=0.0000071511%\n"
                                      "kol-vo biletov, neobhodimoe dlya vyigrysha 13983816\n");
  // 2 of 10: C(10,2) = 45 tickets, 100/45 = 2.2222...
  EXPECT_EQ(run(lottery, "2 10"), ask +
                                      "veroyatnost vyigrusha=2.2222222222%\n"
                                      "kol-vo biletov, neobhodimoe dlya vyigrysha 45\n");
  // a draw of more numbers than there are, or of none, is refused
  for (const char* draw : {"6 5", "0 9"}) EXPECT_EQ(run(lottery, draw), ask + "ERROR!!! 0<m<=n!\n");
  // 0.618*100 and 0.382*100
  EXPECT_EQ(run(generate("1\n6\n2\n"), "100"),
            "vvedite dlinu vsego otrezka\ndlina 1 otrezka=61.80\ndlina 2 otrezka=38.20\n");
}

TEST(EquationOtherTemplates, CalculatorProgram) {
  ZV_REQUIRE_FPC();
  const std::string source = generate("1\n6\n3\n");
  const std::string menu =
      "vyberite deystvie, kotoroe vy hotyte provesty\n1 - skladyvanie\n2 - otnimanie\n"
      "3 - umnozhenit\n4 - delenie\n5 - izvlechenie kornya\n6 - vozvedenie v stepen\n"
      "7 - nayti procent ot chisla\n8 - nayti sinus ot ugla\n9 - nayti cosinus ot ugla\n"
      "10 - nayti tangens ot ugla\n11 - nayti cotangens ot ugla\n";
  const std::string ask_b = "vvedite chyslo ili velicinu ugla, s kotorym vy budete proizvodyt deystvie\n";
  EXPECT_EQ(run(source, "1\n2\n3"),
            menu + ask_b + "vvedite chyslo, kotoroye vy hotyte dobavyt\nresultat=5.00000\n");
  EXPECT_EQ(run(source, "2\n10\n4"),
            menu + ask_b + "vvedite chyslo, kotoroye vy hotyte otnyat\nresultat=6.00000\n");
  EXPECT_EQ(run(source, "3\n2.5\n4"),
            menu + ask_b + "vvedite chyslo, kotoroye vy hotyte domnozhyt\nresultat=10.00000\n");
  EXPECT_EQ(run(source, "4\n7\n2"),
            menu + ask_b + "vvedite chyslo, na kotoroye vy hotyte podelyt\nresultat=3.50000\n");
  EXPECT_EQ(run(source, "5\n16"), menu + ask_b + "resultat=4.00000\n");
  // exp(10*ln 2) = 1024
  EXPECT_EQ(run(source, "6\n2\n10"),
            menu + ask_b + "vvedite stepen, v kotoruyu vy hotyte vozvesty chyslo\nresultat=1024.00000\n");
  // 200/100*15
  EXPECT_EQ(run(source, "7\n200\n15"),
            menu + ask_b + "vvedite kol-vo procentov ot chisla\nresultat=30.00000\n");
  EXPECT_EQ(run(source, "9\n0"), menu + ask_b + "resultat=1.00000\n");
  // cos(1)/sin(1) = 0.5403023/0.8414710 = 0.6420926
  EXPECT_EQ(run(source, "11\n1"), menu + ask_b + "resultat=0.64209\n");
  // Operation numbers outside 1..11 stop before asking for a number.
  EXPECT_EQ(run(source, "12"), menu + "nepravilnoe znachenie chisla\n");
  EXPECT_EQ(run(source, "0"), menu + "nepravilnoe znachenie chisla\n");
}

}  // namespace
