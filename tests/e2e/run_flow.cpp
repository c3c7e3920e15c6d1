// The run as a whole through the real binary: greeting, output name, top
// menu, log, banner, and how each failure ends the run.
#include <gtest/gtest.h>

#include <string>

#include "support/golden.h"
#include "support/harness.h"
#include "support/pattern.h"

namespace zv::test {
namespace {

// Greeting, name prompt and top menu, as the top menu's transcript holds them.
std::string start() { return shown_up_to(""); }
const std::string kBanner =
    "\r\n"
    "Zorvandrel v 0.3\r\n"
    "avtory - komanda razrabotchikov Zorvandrel\r\n"
    "nash sayt v internete - www.zorvandrel.example\r\n";
const std::string kLogError = "Dopushena oshibka pri rabote s programmoy!\r\n";
// The path 2/1/1/4 writes the empty template 56 without any fragment.
const std::string kEmptyTemplatePath = "2\n1\n1\n4\n";

// A report: the first line with the number, the error location again, then
// `callers` return places, then an empty line; all at the end of the output.
::testing::AssertionResult EndsWithReport(const std::string& out, int number, int callers) {
  std::string pattern = "Runtime error " + std::to_string(number) + " at \\$([0-9A-F]{8})\r\n  \\$\\1\r\n";
  for (int i = 0; i < callers; ++i) pattern += "  \\$[0-9A-F]{8}\r\n";
  pattern += "\r\n$";
  if (search(out, pattern)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "no report " << number << " with " << callers << " caller lines at the end of:\n"
         << out;
}

TEST(RunFlow, WrongTopChoiceWholeDialogue) {
  for (const char* answer : {"0", "4", "-1", "32767", "-32768"}) {
    Workdir dir;
    const RunResult r = dir.run(std::string("ap\n") + answer + "\n\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, start() + "oshyblys pri vvode!\r\n" + kBanner) << answer;
    EXPECT_EQ(dir.log(), kLogError);
    EXPECT_FALSE(dir.exists("ap.txt"));
  }
}

TEST(RunFlow, GeneratedRunWholeDialogueAndLog) {
  Workdir dir;
  dir.write("logfile.txt", "earlier line\r\n");
  const RunResult r = dir.run("ap\n" + kEmptyTemplatePath + "\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_TRUE(r.out.starts_with(start()));
  EXPECT_TRUE(r.out.ends_with("programma sgenerirovana v file ap.txt v papke programmy\r\n" + kBanner))
      << r.out;
  EXPECT_EQ(dir.log(), "earlier line\r\nsgenerirovana programma mvk_id_56 v file ap.txt\r\n");
  EXPECT_TRUE(dir.exists("ap.txt"));
  EXPECT_EQ(dir.read("ap.txt"), "");
}

TEST(RunFlow, LogGrowsOneLinePerRunAndContinuesAnUnendedLine) {
  Workdir dir;
  dir.write("logfile.txt", "no line end");
  dir.run("a\n0\n");
  dir.run("b\n" + kEmptyTemplatePath);
  dir.run("c\n5\n");
  EXPECT_EQ(dir.log(),
            "no line end" + kLogError + "sgenerirovana programma mvk_id_56 v file b.txt\r\n" + kLogError);
}

TEST(RunFlow, TopChoiceReadingRules) {
  Workdir dir;
  // The answer comes after empty and blank lines; words after it are ignored.
  RunResult r = dir.run("ap\n\n   \n2 and more words\n5\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find("vyberite tip geometrycheskoy operazii"), std::string::npos);
  // Input that ends at the prompt reads as 0: a wrong answer, and the run completes.
  r = dir.run("ap\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, start() + "oshyblys pri vvode!\r\n" + kBanner);
  r = dir.run("");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, start() + "oshyblys pri vvode!\r\n" + kBanner);
}

TEST(RunFlow, OutputNameRules) {
  {
    Workdir dir;  // an empty line names ".txt"
    const RunResult r = dir.run("\n" + kEmptyTemplatePath);
    EXPECT_NE(r.out.find("programma sgenerirovana v file .txt v papke programmy\r\n"), std::string::npos);
    EXPECT_TRUE(dir.exists(".txt"));
  }
  for (std::size_t n : {251u, 252u, 253u, 254u, 255u, 300u}) {
    Workdir dir;
    const std::string typed(n, 'n');
    const std::string kept = std::string(std::min<std::size_t>(n, 255), 'n');
    const std::string name = (kept + ".txt").substr(0, 255);
    const RunResult r = dir.run(typed + "\n" + kEmptyTemplatePath);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_NE(r.out.find("v file " + name + " v papke"), std::string::npos) << n;
    EXPECT_EQ(dir.log(), "sgenerirovana programma mvk_id_56 v file " + name + "\r\n") << n;
  }
  {
    Workdir dir;  // blanks are kept; an existing ".txt" gets a second one
    dir.run("  a b \n" + kEmptyTemplatePath);
    EXPECT_TRUE(dir.exists("  a b .txt"));
    dir.run("x.txt\n" + kEmptyTemplatePath);
    EXPECT_TRUE(dir.exists("x.txt.txt"));
  }
  {
    Workdir dir;  // an existing longer file is truncated; "\" separates directories
    std::filesystem::create_directory(dir.path() / "sub");
    dir.write("sub/g.txt", std::string(5000, '#'));
    const RunResult r = dir.run("sub\\g\n2\n1\n1\n1\n");
    EXPECT_EQ(r.exit_code, 0) << r.out;
    const std::string text = dir.read("sub/g.txt");
    EXPECT_TRUE(text.starts_with("program mvk_id_53;\r\n")) << text.substr(0, 40);
    EXPECT_TRUE(text.ends_with("end.\r\n"));
    EXPECT_EQ(text.find('#'), std::string::npos);
  }
}

TEST(RunFlow, OutputFileErrorsEndTheRunInsideTheWriter) {
  struct Case {
    std::string name;
    int number;
  };
  for (const Case& c :
       {Case{"missing/dir/f", 3}, Case{"what?", 123}, Case{"a*b", 123}, Case{"a<b", 123}, Case{"a|b", 123},
        Case{"q\"", 123}, Case{std::string("nul\0byte", 8), 123}, Case{"tab\there", 123}, Case{"adir", 5}}) {
    Workdir dir;
    std::filesystem::create_directory(dir.path() / "adir.txt");
    const RunResult r = dir.run(c.name + "\n" + kEmptyTemplatePath);
    EXPECT_EQ(r.exit_code, c.number) << c.name;
    EXPECT_TRUE(EndsWithReport(r.out, c.number, 2)) << c.name;
    EXPECT_EQ(r.out.find("programma sgenerirovana"), std::string::npos);
    EXPECT_EQ(dir.log(), "");
    EXPECT_FALSE(dir.exists("nul.txt"));
  }
}

TEST(RunFlow, LogErrors) {
  {
    Workdir dir(false);  // no log: the template is written and confirmed, then error 2
    const RunResult r = dir.run("ap\n" + kEmptyTemplatePath);
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.out.find("programma sgenerirovana v file ap.txt v papke programmy\r\nRuntime error 2 at"),
              std::string::npos);
    EXPECT_TRUE(EndsWithReport(r.out, 2, 2));
    EXPECT_EQ(r.out.find("Zorvandrel v 0.3"), std::string::npos);
    EXPECT_TRUE(dir.exists("ap.txt"));
    EXPECT_FALSE(dir.exists("logfile.txt"));  // never created
  }
  {
    Workdir dir(false);  // an abandoned path meets the missing log too
    const RunResult r = dir.run("ap\n7\n");
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_TRUE(EndsWithReport(r.out, 2, 2));
  }
  {
    Workdir dir(false);  // the log is a directory
    std::filesystem::create_directory(dir.path() / "logfile.txt");
    const RunResult r = dir.run("ap\n0\n");
    EXPECT_EQ(r.exit_code, 5);
    EXPECT_TRUE(EndsWithReport(r.out, 5, 2));
  }
}

TEST(RunFlow, LogReadOnlyOrLockedElsewhere) {
  ZV_SKIP_UNDER_WINE("drops root with setpriv and locks with flock(1); WindowsNative covers a held log");
  {
    Workdir dir;  // the log is read-only
    std::filesystem::permissions(dir.path() / "logfile.txt", std::filesystem::perms::owner_read |
                                                                 std::filesystem::perms::group_read |
                                                                 std::filesystem::perms::others_read);
    const RunResult r = dir.run("ap\n0\n", true);
    EXPECT_EQ(r.exit_code, 5) << r.out;
    EXPECT_TRUE(EndsWithReport(r.out, 5, 2));
    EXPECT_EQ(dir.log(), "");
  }
  {
    Workdir dir;  // the log is held open (locked) by another program
    const RunResult r = dir.run_shell("flock -n logfile.txt {zv}", "ap\n0\n");
    EXPECT_EQ(r.exit_code, 5) << r.out;
    EXPECT_TRUE(EndsWithReport(r.out, 5, 2));
  }
  {
    Workdir dir;  // the output file is held: it is cut only once the lock is taken
    dir.write("ap.txt", "kept\r\n");
    const RunResult r = dir.run_shell("flock -n ap.txt {zv}", "ap\n" + kEmptyTemplatePath);
    EXPECT_EQ(r.exit_code, 5) << r.out;
    EXPECT_TRUE(EndsWithReport(r.out, 5, 2));
    EXPECT_EQ(dir.read("ap.txt"), "kept\r\n");
    EXPECT_EQ(dir.log(), "");
  }
}

// The log is only ever appended to: an output name that leads to it, by any
// path or link, ends the run inside the writer before anything is cut.
TEST(RunFlow, OutputNameThatLeadsToTheLogIsRefused) {
  for (const std::string name : {"logfile", "./logfile", "sub/../logfile", "link", "hard"}) {
    Workdir dir;
    dir.write("logfile.txt", "earlier line\r\n");
    std::filesystem::create_directory(dir.path() / "sub");
    std::filesystem::create_symlink("logfile.txt", dir.path() / "link.txt");
    std::filesystem::create_hard_link(dir.path() / "logfile.txt", dir.path() / "hard.txt");
    const RunResult r = dir.run(name + "\n" + kEmptyTemplatePath + "\n");
    EXPECT_EQ(r.exit_code, 5) << name << "\n" << r.out;
    EXPECT_TRUE(EndsWithReport(r.out, 5, 2)) << name;
    EXPECT_EQ(r.out.find("programma sgenerirovana"), std::string::npos) << name;
    EXPECT_EQ(dir.log(), "earlier line\r\n") << name;
  }
  Workdir dir(false);  // no log yet: the name makes the program file, which then takes the line
  const RunResult r = dir.run("logfile\n2\n1\n1\n2\n\n");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  const std::string log = dir.log();
  EXPECT_TRUE(log.starts_with("program mvk_id_54;\r\n")) << log;
  EXPECT_TRUE(log.ends_with("end.\r\nsgenerirovana programma mvk_id_54 v file logfile.txt\r\n")) << log;
}

TEST(RunFlow, MenuAnswerErrorsStopEverything) {
  struct Case {
    std::string answer;
    int number;
  };
  for (const Case& c : {Case{"32768", 201}, Case{"-32769", 201}, Case{"99999", 201}, Case{"-2147483648", 201},
                        Case{"2147483648", 106}, Case{"1.0", 106}, Case{"one", 106}, Case{"0x", 106}}) {
    Workdir dir;
    const RunResult r = dir.run("ap\n" + c.answer + "\n\n");
    EXPECT_EQ(r.exit_code, c.number) << c.answer;
    EXPECT_EQ(r.out.substr(0, start().size()), start());
    EXPECT_TRUE(EndsWithReport(r.out.substr(start().size()), c.number, 1)) << c.answer;
    EXPECT_EQ(dir.log(), "");  // no log line, no banner
  }
}

TEST(RunFlow, ReportsAreDeterministic) {
  Workdir a, b;
  EXPECT_EQ(a.run("ap\n99999\n").out, b.run("ap\n77777\n").out);
  EXPECT_EQ(a.run("ap\n" + kEmptyTemplatePath).out, a.run("ap\n" + kEmptyTemplatePath).out);
}

TEST(RunFlow, EndOfInputByteEndsAllReading) {
  Workdir dir;
  const RunResult r = dir.run("ap\x1a\n2\n1\n1\n4\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, start() + "oshyblys pri vvode!\r\n" + kBanner);
  EXPECT_EQ(dir.log(), kLogError);
}

TEST(RunFlow, StandardOutputFailures) {
  Workdir dir;
  RunResult r = dir.run_shell("{zv} > /dev/full; echo $? > rc; true", "ap\n0\n");
  EXPECT_EQ(dir.read("rc"), "101\n");
  // A reader that has gone: error 101, not death by a signal.
  r = dir.run_shell("{zv} >&{gone}; echo $? > rc", std::string(100000, '\n'));
  EXPECT_EQ(dir.read("rc"), "101\n");
}

}  // namespace
}  // namespace zv::test
