#pragma once
// End-to-end helpers: run the real zorvandrel binary in a temporary
// directory with given stdin bytes, and compile/run generated Pascal with fpc.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace zv::test {

struct RunResult {
  std::string out;     // stdout bytes
  int exit_code = -1;  // process exit code (or 128+signal)
};

// A fresh temporary directory, removed when the object goes.
class Workdir {
 public:
  explicit Workdir(bool with_log = true);  // with_log: create an empty logfile.txt
  ~Workdir();
  Workdir(const Workdir&) = delete;
  Workdir& operator=(const Workdir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Runs zorvandrel here with these stdin bytes. `unprivileged`: as user
  // nobody when the tests run as root (so file permissions apply), with the
  // directory opened to everyone.
  RunResult run(std::string_view stdin_bytes, bool unprivileged = false) const;
  // Runs a shell command line here, `{zv}` standing for the binary; the whole
  // line reads these stdin bytes and writes into the result. `{gone}` stands
  // for an open descriptor (`>&{gone}`) of a pipe whose reader has gone
  // before the line starts: every write to it fails.
  RunResult run_shell(std::string command_line, std::string_view stdin_bytes) const;
  bool exists(const std::string& name) const;
  std::string read(const std::string& name) const;  // whole file, bytes
  void write(const std::string& name, std::string_view bytes) const;
  std::string log() const { return read("logfile.txt"); }

 private:
  std::filesystem::path path_;
};

// Runs the dialogue with output name "prog" and the given answers after the
// name (e.g. "1\n3\n1\n1\n1\n"), checks it completed, and returns the text of
// prog.txt.
std::string generate(std::string_view answers_after_name);

// Splits CR LF terminated text into lines (the terminators removed); fails
// the current test if any line lacks its CR LF.
std::vector<std::string> crlf_lines(const std::string& text);

// True when the tests drive the Windows build: ZV_WINE_EXE names a
// zorvandrel.exe, which every run then starts under `wine` (WINEPREFIX and
// WINEDEBUG come from the environment) instead of the Linux binary.
bool under_wine();
#define ZV_SKIP_UNDER_WINE(reason) \
  if (::zv::test::under_wine()) GTEST_SKIP() << "not under Wine: " << reason
#define ZV_REQUIRE_WINE() \
  if (!::zv::test::under_wine()) GTEST_SKIP() << "runs only against zorvandrel.exe under Wine"

// A whole file's bytes ("" where it cannot be read); a file made or
// overwritten with these bytes.
std::string slurp(const std::filesystem::path& p);
void spill(const std::filesystem::path& p, std::string_view bytes);

// A path as one shell word, in single quotes (the tests' paths hold none).
std::string shell_quoted(const std::filesystem::path& p);

// The shell words that start zorvandrel (Linux binary, or wine + the .exe).
std::string zorvandrel_command();

bool fpc_available();
#define ZV_REQUIRE_FPC() \
  if (!::zv::test::fpc_available()) GTEST_SKIP() << "fpc (fp-compiler) is not installed"

// Compiles a generated Pascal source with fpc in a temporary directory (once
// per distinct source, cached for the process) and runs it with these stdin
// bytes (10 s limit). Returns the program's stdout; fails the test if it does
// not compile.
std::string run_pascal(const std::string& source, std::string_view stdin_bytes);

}  // namespace zv::test
