// The Windows build under Wine: the errors the system itself gives for
// names, files held open by another program, "\" in names, input on a pipe
// whose writer has gone, a console window of its own kept open after a
// report, and the same bytes as the Linux build for the same keystrokes.
// Skipped unless the suite drives zorvandrel.exe.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/harness.h"

namespace zv::test {
namespace {

namespace fs = std::filesystem;

const std::string kEmptyTemplatePath = "2\n1\n1\n4\n";
const std::string kConfirmation = "programma sgenerirovana v file ";

// probe.exe (support/win32_probe.cpp with the Windows platform source),
// built with mingw-w64 once per test process; empty when that failed.
const fs::path& probe() {
  static struct Probe {
    fs::path dir, exe;
    Probe() {
      dir = fs::temp_directory_path() / ("zv-probe-" + std::to_string(::getpid()));
      fs::create_directories(dir);
      const std::string src = ZORVANDREL_SOURCE_DIR;
      const std::string command =
          "x86_64-w64-mingw32-g++ -std=c++20 -O1 -static -I " + shell_quoted(src + "/src") + " " +
          shell_quoted(src + "/tests/support/win32_probe.cpp") + " " +
          shell_quoted(src + "/src/console/win32_platform.cpp") + " -lversion -o " +
          shell_quoted(dir / "probe.exe") + " < /dev/null > " + shell_quoted(dir / "build.log") + " 2>&1";
      if (std::system(command.c_str()) == 0) exe = dir / "probe.exe";
    }
    ~Probe() {
      std::error_code ec;
      fs::remove_all(dir, ec);
    }
  } built;
  return built.exe;
}

#define ZV_REQUIRE_PROBE()                                                             \
  ZV_REQUIRE_WINE();                                                                   \
  if (probe().empty())                                                                 \
  GTEST_SKIP() << "x86_64-w64-mingw32-g++ (g++-mingw-w64-x86-64) could not build the " \
                  "probe program"

std::string probe_says(const Workdir& dir, const std::string& args) {
  return dir.run_shell("wine " + shell_quoted(probe()) + " " + args, "").out;
}

// Another program holding `name` open while it lives: "hold" opens it as
// zorvandrel.exe does (writing, no sharing), "view" only reads and shares all.
class Holder {
 public:
  Holder(const Workdir& dir, const std::string& how, const std::string& name)
      : marker_(dir.path() / ".held") {
    const std::string command = "cd " + shell_quoted(dir.path()) + " && exec wine " + shell_quoted(probe()) +
                                " " + how + " " + shell_quoted(name) + " .held > /dev/null 2>&1";
    pipe_ = ::popen(command.c_str(), "w");
    for (int i = 0; i < 400 && pipe_ != nullptr && !fs::exists(marker_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  ~Holder() { release(); }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

  bool holding() const { return fs::exists(marker_); }
  void release() {
    if (pipe_ != nullptr) ::pclose(pipe_);  // its input ends, it lets go
    pipe_ = nullptr;
    std::error_code ec;
    fs::remove(marker_, ec);
  }

 private:
  fs::path marker_;
  FILE* pipe_ = nullptr;
};

RunResult run_linux_build(const Workdir& dir, std::string_view stdin_bytes) {
  return dir.run_shell(shell_quoted(ZORVANDREL_BINARY), stdin_bytes);
}

TEST(WindowsNative, TheSystemRefusesNamesItself) {
  ZV_REQUIRE_PROBE();
  Workdir dir;
  fs::create_directory(dir.path() / "adir.txt");
  // The platform's own opens, as zorvandrel.exe makes them: system error numbers.
  struct Case {
    std::string args;
    std::string error;
  };
  for (const Case& c :
       {Case{"open 'a?b.txt'", "123"}, Case{"open 'a*b.txt'", "123"}, Case{"open 'a<b.txt'", "123"},
        Case{"open 'missing\\d\\f.txt'", "3"}, Case{"open missing/d/f.txt", "3"}, Case{"open adir.txt", "5"},
        Case{"append absent.txt", "2"}, Case{"append 'missing\\absent.txt'", "3"},
        Case{"append adir.txt", "5"}, Case{"open fresh.txt", "0"}}) {
    EXPECT_EQ(probe_says(dir, c.args), c.error + "\r\n") << c.args;  // printf in text mode
  }
  EXPECT_TRUE(dir.exists("fresh.txt"));

  // The same through a whole run: a missing directory named with "\".
  const RunResult r = dir.run("missing\\dir\\f\n" + kEmptyTemplatePath);
  EXPECT_EQ(r.exit_code, 3) << r.out;
  EXPECT_NE(r.out.find("Runtime error 3 at $"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find(kConfirmation), std::string::npos);
}

TEST(WindowsNative, BackslashSeparatesDirectories) {
  ZV_REQUIRE_WINE();
  Workdir dir;
  fs::create_directories(dir.path() / "sub" / "deeper");
  const RunResult r = dir.run("sub\\deeper/g\n2\n1\n1\n2\n\n");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_NE(r.out.find(kConfirmation + "sub\\deeper/g.txt v papke programmy\r\n"), std::string::npos);
  EXPECT_TRUE(dir.read("sub/deeper/g.txt").starts_with("program mvk_id_54;\r\n"));
  EXPECT_EQ(dir.log(), "sgenerirovana programma mvk_id_54 v file sub\\deeper/g.txt\r\n");
}

TEST(WindowsNative, FileHeldOpenByAnotherProgram) {
  ZV_REQUIRE_PROBE();
  for (const char* how : {"hold", "view"}) {
    Workdir dir;  // the log: the program is written and confirmed, then error 5
    dir.write("logfile.txt", "earlier\r\n");
    Holder holder(dir, how, "logfile.txt");
    ASSERT_TRUE(holder.holding()) << how;
    const RunResult r = dir.run("ap\n" + kEmptyTemplatePath + "\n");
    EXPECT_EQ(r.exit_code, 5) << how << r.out;
    EXPECT_NE(r.out.find(kConfirmation + "ap.txt v papke programmy\r\nRuntime error 5 at $"),
              std::string::npos)
        << how << r.out;
    EXPECT_EQ(r.out.find("Zorvandrel v 0.3"), std::string::npos);
    holder.release();
    EXPECT_EQ(dir.log(), "earlier\r\n");
    // Once the other program has let go, the same run completes.
    EXPECT_EQ(dir.run("ap\n" + kEmptyTemplatePath + "\n").exit_code, 0);
    EXPECT_EQ(dir.log(), "earlier\r\nsgenerirovana programma mvk_id_56 v file ap.txt\r\n");
  }
  {
    Workdir dir;  // the output file: error 5 at its creation, and it is not truncated
    dir.write("ap.txt", "keep me\r\n");
    Holder holder(dir, "view", "ap.txt");
    ASSERT_TRUE(holder.holding());
    const RunResult r = dir.run("ap\n" + kEmptyTemplatePath + "\n");
    EXPECT_EQ(r.exit_code, 5) << r.out;
    EXPECT_NE(r.out.find("Runtime error 5 at $"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(kConfirmation), std::string::npos);
    holder.release();
    EXPECT_EQ(dir.read("ap.txt"), "keep me\r\n");
    EXPECT_EQ(dir.log(), "");
  }
}

// Device names follow Windows' own rules: "con" (con.txt) is the console,
// which a file open refuses; "nul" swallows the program, and the run
// confirms and logs it as written.
TEST(WindowsNative, DeviceNamesFollowWindowsRules) {
  ZV_REQUIRE_WINE();
  {
    Workdir dir;
    const RunResult r = dir.run("con\n" + kEmptyTemplatePath + "\n");
    EXPECT_EQ(r.exit_code, 6) << r.out;
    EXPECT_NE(r.out.find("Runtime error 6 at $"), std::string::npos) << r.out;
    EXPECT_EQ(dir.log(), "");
  }
  {
    Workdir dir;
    const RunResult r = dir.run("nul\n1\n3\n1\n1\n1\n\n");
    EXPECT_EQ(r.exit_code, 0) << r.out;
    EXPECT_NE(r.out.find(kConfirmation + "nul.txt v papke programmy\r\n"), std::string::npos) << r.out;
    EXPECT_EQ(dir.log(), "sgenerirovana programma mvk_id_14 v file nul.txt\r\n");
    EXPECT_FALSE(dir.exists("nul.txt"));
  }
}

// The output file is opened without truncating and cut once held, so a
// hidden system file is overwritten like any other, its old bytes gone.
TEST(WindowsNative, HiddenSystemFileIsOverwritten) {
  ZV_REQUIRE_PROBE();
  Workdir dir;
  dir.write("ap.txt", std::string(5000, 'o'));
  ASSERT_EQ(probe_says(dir, "hide ap.txt"), "0\r\n");
  const RunResult r = dir.run("ap\n" + kEmptyTemplatePath + "\n");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_EQ(dir.read("ap.txt"), "");  // template 56 is empty
  EXPECT_EQ(dir.log(), "sgenerirovana programma mvk_id_56 v file ap.txt\r\n");
}

// Lines are handed over one by one only on a console; a character device
// that is no console (NUL) counts as redirected, as /dev/null does on Linux.
// The console is the program's own (the second digit) only when no other
// program is on it: Wine gives a program alone on a terminal one, as
// Explorer does; in cmd.exe's console, or on pipes, it is shared.
TEST(WindowsNative, OnlyAConsoleCountsAsATerminal) {
  ZV_REQUIRE_PROBE();
  Workdir dir;
  fs::copy_file(probe(), dir.path() / "probe.exe");
  const std::string ask = "wine probe.exe terminal answer.txt";
  const bool have_script = std::system("command -v script < /dev/null > /dev/null 2>&1") == 0;
  struct Case {
    std::string command;
    std::string answer;
  };
  for (const Case& c :
       {Case{ask + " > plain.txt", "00"}, Case{ask + " > /dev/null", "00"},
        Case{"true | " + ask + " | cat > /dev/null", "00"},
        Case{"script -qec " + shell_quoted(ask) + " /dev/null > /dev/null", "11"},
        Case{"script -qec 'wine cmd /c probe.exe terminal answer.txt' /dev/null > /dev/null", "10"}}) {
    if (c.command.starts_with("script") && !have_script) GTEST_SKIP() << "script (util-linux) is missing";
    fs::remove(dir.path() / "answer.txt");
    dir.run_shell(c.command + "; true", "");
    EXPECT_EQ(dir.read("answer.txt"), c.answer) << c.command;
  }
}

// Runs `command` alone on a pseudo-terminal that passes keys on as typed;
// Wine gives a program there a console of its own. Each step's keys are
// typed once its text is on the screen and while the program still runs;
// a text that does not come within a minute, or a program that ended before
// its keys, gives exit code -1.
RunResult on_terminal(const Workdir& dir, std::vector<std::string> command,
                      const std::vector<std::pair<std::string, std::string>>& steps) {
  int screen = -1;
  const pid_t pid = ::forkpty(&screen, nullptr, nullptr, nullptr);
  if (pid == 0) {
    termios raw{};
    ::tcgetattr(STDIN_FILENO, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (::chdir(dir.path().c_str()) == 0) ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  RunResult r;
  auto read_screen = [&](int milliseconds) {
    pollfd ready{screen, POLLIN, 0};
    char buffer[4096];
    const ssize_t n = ::poll(&ready, 1, milliseconds) > 0 ? ::read(screen, buffer, sizeof buffer) : 0;
    if (n > 0) r.out.append(buffer, static_cast<std::size_t>(n));
    return n > 0;
  };
  int status = 0;
  bool ended = false;
  std::size_t typed = 0;
  for (const auto& [text, keys] : steps) {
    for (int idle = 0; r.out.find(text) == std::string::npos && idle < 600; ++idle) read_screen(100);
    ended = ::waitpid(pid, &status, WNOHANG) == pid;
    if (ended || r.out.find(text) == std::string::npos) break;
    typed += ::write(screen, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
  }
  for (int idle = 0; !ended && idle < 600; ++idle) {
    read_screen(100);
    ended = ::waitpid(pid, &status, WNOHANG) == pid;
  }
  if (!ended) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  while (read_screen(0)) {
  }
  ::close(screen);
  r.exit_code = ended && typed == steps.size() && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// Started with a console of its own (from Explorer; here alone on a terminal
// under Wine), a run that ends on a run-time error keeps its window after
// the report until Enter, and still exits with the error's number. Started
// from cmd.exe, whose console stays, it ends at the report as everywhere.
TEST(WindowsNative, OwnConsoleWindowStaysOpenUntilEnter) {
  ZV_REQUIRE_WINE();
  const std::string report = "Runtime error 106 at $";
  const std::string press_enter = "nazhmite Enter, chtoby zakryt okno\r\n";
  Workdir dir;
  fs::copy_file(std::getenv("ZV_WINE_EXE"), dir.path() / "zv.exe");
  std::vector<std::pair<std::string, std::string>> steps = {{"sgenerirovana programma\r\n", "ap\r"},
                                                            {"nazhmite 3\r\n", "one\r"}};
  const RunResult shared = on_terminal(dir, {"wine", "cmd", "/c", "zv.exe"}, steps);
  EXPECT_EQ(shared.exit_code, 106) << shared.out;
  EXPECT_NE(shared.out.find(report), std::string::npos) << shared.out;
  EXPECT_EQ(shared.out.find(press_enter), std::string::npos) << shared.out;
  steps.emplace_back(press_enter, "\r");
  const RunResult alone = on_terminal(dir, {"wine", "zv.exe"}, steps);
  EXPECT_EQ(alone.exit_code, 106) << alone.out;
  EXPECT_LT(alone.out.find(report), alone.out.find(press_enter)) << alone.out;
}

// A Windows program feeding the input through a pipe and then closing it:
// the reads that follow see the end of input, as from a file.
TEST(WindowsNative, InputPipeClosedByItsWriterIsEndOfInput) {
  ZV_REQUIRE_PROBE();
  for (const std::string& input :
       {std::string("ap\n"), "ap\n" + kEmptyTemplatePath, std::string("ap\n1\n2\n1\n3\n>")}) {
    Workdir win_dir, linux_dir;
    const RunResult w = win_dir.run_shell(
        "wine " + shell_quoted(probe()) + " feed " + shell_quoted(std::getenv("ZV_WINE_EXE")), input);
    const RunResult l = run_linux_build(linux_dir, input);
    EXPECT_EQ(w.exit_code, l.exit_code) << input;
    EXPECT_EQ(w.out, l.out) << input;
    EXPECT_EQ(win_dir.log(), linux_dir.log()) << input;
  }
}

// Typed numbers, menu answers and names that exercise reading, the number
// format and the reports: both builds give the same bytes and exit codes.
TEST(WindowsNative, SameBytesAsTheLinuxBuild) {
  ZV_REQUIRE_WINE();
  std::vector<std::string> inputs;
  // Template 6 splices the sign and the number (1/2/1/3).
  for (const char* number : {"2.675",
                             "1.005",
                             "0.045",
                             "99.995",
                             "0.9999999999999995",
                             "123456789012345678",
                             "999999999999999.25",
                             "1e35",
                             "1e36",
                             "-1.5e40",
                             "1.7976931348623157e308",
                             "1.7976931348623158e308",
                             "1e400",
                             "1e-400",
                             "4.9e-324",
                             "-0",
                             ".5",
                             "5.",
                             "1E+3",
                             "1e",
                             "$10"})
    inputs.push_back(std::string("n\n1\n2\n1\n3\n>=\n") + number + "\n\n");
  for (const char* answer : {"$FFFFFFFF", "%1", "&1", "0x1", "32768", "2147483648", "one"})
    inputs.push_back(std::string("n\n") + answer + "\n\n");
  inputs.push_back(std::string(300, 'x') + "\n" + kEmptyTemplatePath + "\n");
  inputs.push_back("what?\n" + kEmptyTemplatePath);
  inputs.push_back("n\x1a\n1\n");
  for (const std::string& input : inputs) {
    Workdir win_dir, linux_dir;
    win_dir.write("logfile.txt", "x\r\n");
    linux_dir.write("logfile.txt", "x\r\n");
    const RunResult w = win_dir.run(input);
    const RunResult l = run_linux_build(linux_dir, input);
    EXPECT_EQ(w.exit_code, l.exit_code) << input;
    EXPECT_EQ(w.out, l.out) << input;
    EXPECT_EQ(win_dir.log(), linux_dir.log()) << input;
    EXPECT_EQ(win_dir.exists("n.txt"), linux_dir.exists("n.txt")) << input;
    if (linux_dir.exists("n.txt")) {
      EXPECT_EQ(win_dir.read("n.txt"), linux_dir.read("n.txt")) << input;
    }
  }
}

}  // namespace
}  // namespace zv::test
