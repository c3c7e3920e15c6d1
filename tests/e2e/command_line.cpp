// The command line: `--help` and `--version` answer and touch nothing; any
// other command line runs the dialogue as if there were none. And the manual
// page's exit codes against the README, and the layout of the tree against
// CONTRIBUTING.md.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/harness.h"
#include "support/pattern.h"
#include "templates/registry.h"

namespace zv::test {
namespace {

std::vector<std::string> entries(const Workdir& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename());
  return names;
}

// The reply, then the exit code, then every byte of standard input, which
// `cat` finds still unread. The reply's lines end as the platform's own
// tools end theirs, not with the dialogue's CR LF: LF on Linux, CR LF on
// Windows, whose --help speaks of Windows.
TEST(CommandLine, HelpAndVersionAnswerReadNothingAndTouchNoFile) {
  const std::string input = "ap\n1\n3\n1\n1\n1\n\n";
  const std::string eol = under_wine() ? "\r\n" : "\n";
  {
    Workdir dir;
    const RunResult r = dir.run_shell("{ {zv} --version; echo \"exit $?\"; cat; }", input);
    EXPECT_EQ(r.out, "zorvandrel 0.3" + eol + "exit 0\n" + input);
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
    EXPECT_TRUE(help.ends_with(eol)) << help;
    const auto count = [&help](std::string_view what) {
      std::size_t n = 0;
      for (std::size_t at = help.find(what); at != std::string::npos; at = help.find(what, at + 1)) ++n;
      return n;
    };
    const std::string name = under_wine() ? "zorvandrel.exe" : "zorvandrel";
    EXPECT_TRUE(help.starts_with("Usage: " + name + eol + "       " + name + " --help | --version" + eol))
        << help;
    std::vector<std::string> present = {"standard input", "logfile.txt must already exist"};
    std::vector<std::string> absent;
    if (under_wine()) {
      EXPECT_EQ(count("\r\n"), count("\n")) << help;
      present.insert(present.end(), {"type answers.txt | zorvandrel.exe", "FAQ.txt and README.txt beside"});
      absent = {"man ", "printf", "/usr/share"};
    } else {
      EXPECT_EQ(count("\r"), 0u) << help;
      present.insert(present.end(), {"printf 'ap\\n1", "man zorvandrel", "FAQ"});
      absent = {".exe", "type "};
    }
    for (const std::string& words : present) EXPECT_NE(help.find(words), std::string::npos) << words;
    for (const std::string& words : absent) EXPECT_EQ(help.find(words), std::string::npos) << words;
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

#ifdef ZORVANDREL_SOURCE_DIR
// The lines of a source file from the line `first` up to the next line that
// starts with `next` (exclusive).
std::vector<std::string> section(const std::string& file, const std::string& first, const std::string& next) {
  std::ifstream in(std::string(ZORVANDREL_SOURCE_DIR) + "/" + file, std::ios::binary);
  EXPECT_TRUE(in) << file << " not found";
  std::vector<std::string> lines;
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (inside && line.starts_with(next)) break;
    if (inside) lines.push_back(line);
    if (line == first) inside = true;
  }
  EXPECT_FALSE(lines.empty()) << "no section " << first << " in " << file;
  return lines;
}
#endif

// The manual page's EXIT STATUS lists the codes of the README's table
// (a ".TP" entry ".B 106" or ".B 150\-161" for a row "| 106 |" or "| 150-161 |").
TEST(ManPage, ExitCodesAgreeWithTheReadme) {
#ifndef ZORVANDREL_SOURCE_DIR
  GTEST_SKIP() << "the source directory is not known to this build";
#else
  std::set<std::string> readme;
  for (const std::string& line : section("README.md", "## Exit codes", "## ")) {
    const auto m = match(line, R"(^\|\s*([0-9]+(-[0-9]+)?)\s*\|.*)");
    if (!m) continue;
    EXPECT_TRUE(readme.insert((*m)[1]).second) << "listed twice: " << (*m)[1];
  }
  std::set<std::string> man;
  std::string previous;
  for (const std::string& line : section("doc/zorvandrel.1", ".SH EXIT STATUS", ".SH")) {
    const auto m = previous == ".TP" ? match(line, R"(^\.B ([0-9]+)(\\-([0-9]+))?$)") : std::nullopt;
    if (m) {
      const std::string code = (*m)[3].empty() ? (*m)[1] : (*m)[1] + "-" + (*m)[3];
      EXPECT_TRUE(man.insert(code).second) << "listed twice: " << code;
    }
    previous = line;
  }
  EXPECT_FALSE(readme.empty());
  EXPECT_EQ(man, readme);
#endif
}

// CONTRIBUTING.md's layout section names every file of the program, its
// tests, fuzz targets and benchmark; the template writers as "mvk_idN.cpp".
TEST(Layout, ContributingNamesEverySourceFile) {
#ifndef ZORVANDREL_SOURCE_DIR
  GTEST_SKIP() << "the source directory is not known to this build";
#else
  std::string layout;
  for (const std::string& line : section("CONTRIBUTING.md", "## Layout", "## ")) layout += line + "\n";
  const std::filesystem::path root = ZORVANDREL_SOURCE_DIR;
  int files = 0;
  for (const char* folder : {"src", "tests/support", "fuzz", "bench"}) {
    for (const auto& e : std::filesystem::recursive_directory_iterator(root / folder)) {
      const std::string name = e.path().filename().string();
      const bool seed = e.path().string().find("/corpus/") != std::string::npos;
      if (!e.is_regular_file() || name.starts_with(".") || seed) continue;
      ++files;
      if (match(name, R"(mvk_id[0-9]+\.cpp)")) {  // each with its row: Registry.EveryWriterHasItsRow
        EXPECT_NE(layout.find("`mvk_idN.cpp`"), std::string::npos);
      } else {
        const bool named = layout.find("`" + name + "`") != std::string::npos ||
                           layout.find("/" + name + "`") != std::string::npos;  // or with its folder
        EXPECT_TRUE(named) << folder << "/" << name;
      }
    }
  }
  EXPECT_GT(files, 80);
#endif
}

}  // namespace
}  // namespace zv::test
