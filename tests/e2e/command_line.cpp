// The command line: `--help` and `--version` answer and touch nothing; any
// other command line runs the dialogue as if there were none.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/harness.h"

namespace zv::test {
namespace {

std::vector<std::string> entries(const Workdir& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename());
  return names;
}

// The reply, then the exit code, then every byte of standard input, which
// `cat` finds still unread.
TEST(CommandLine, HelpAndVersionAnswerReadNothingAndTouchNoFile) {
  const std::string input = "ap\n1\n3\n1\n1\n1\n\n";
  {
    Workdir dir;
    const RunResult r = dir.run_shell("{ {zv} --version; echo \"exit $?\"; cat; }", input);
    EXPECT_EQ(r.out, "zorvandrel 0.3\r\nexit 0\n" + input);
    EXPECT_EQ(entries(dir), std::vector<std::string>{"logfile.txt"});
    EXPECT_EQ(dir.log(), "");
  }
  {
    Workdir dir(/*with_log=*/false);
    const RunResult r = dir.run_shell("{ {zv} --help; echo \"exit $?\"; cat; }", input);
    const std::size_t end = r.out.find("exit 0\n");
    ASSERT_NE(end, std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(end), "exit 0\n" + input);
    const std::string help = r.out.substr(0, end);
    crlf_lines(help);
    EXPECT_TRUE(help.starts_with("Usage: zorvandrel\r\n       zorvandrel --help | --version\r\n")) << help;
    for (const char* words : {"standard input", "logfile.txt must already exist", "man zorvandrel", "FAQ"})
      EXPECT_NE(help.find(words), std::string::npos) << words;
    EXPECT_TRUE(entries(dir).empty());
  }
}

TEST(CommandLine, AnyOtherCommandLineRunsTheDialogue) {
  Workdir plain;
  const RunResult expected = plain.run("ap\n0\n\n");
  for (const char* args : {"-h", "--help x", "--version=1", "-V", "help", "--HELP", "''"}) {
    Workdir dir;
    const RunResult r = dir.run_shell(std::string("{zv} ") + args, "ap\n0\n\n");
    EXPECT_EQ(r.exit_code, 0) << args;
    EXPECT_EQ(r.out, expected.out) << args;
    EXPECT_EQ(dir.log(), plain.log()) << args;
  }
}

}  // namespace
}  // namespace zv::test
