#include "support/harness.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace zv::test {

namespace fs = std::filesystem;

namespace {

fs::path make_temp_dir(const char* prefix) {
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

// Runs `command` with sh; returns the exit code (128+signal for a signal).
// The whole command line reads /dev/null unless it redirects its own input,
// never the terminal the tests were started from.
int shell(const std::string& command) {
  const int status = std::system(("{ " + command + "\n} < /dev/null").c_str());
  if (status == -1) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void spill(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Appended piece by piece, not "'" + p.string() + "'": GCC 12 with -O2 or
// more inlines that into an insert at the string's front and warns of an
// overlap that cannot happen (a false -Wrestrict, an error with -Werror).
std::string shell_quoted(const fs::path& p) {
  std::string quoted = "'";
  quoted += p.string();
  quoted += '\'';
  return quoted;
}

Workdir::Workdir(bool with_log) : path_(make_temp_dir("zv-e2e-")) {
  if (with_log) spill(path_ / "logfile.txt", "");
}

Workdir::~Workdir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

RunResult Workdir::run(std::string_view stdin_bytes, bool unprivileged) const {
  std::string prefix;
  if (unprivileged && ::geteuid() == 0) {
    fs::permissions(path_, fs::perms::all);
    prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  }
  return run_shell(prefix + "{zv}", stdin_bytes);
}

RunResult Workdir::run_shell(std::string command_line, std::string_view stdin_bytes) const {
  const fs::path in = path_ / ".stdin";
  const fs::path out = path_ / ".stdout";
  spill(in, stdin_bytes);
  std::size_t at = command_line.find("{zv}");
  if (at != std::string::npos) command_line.replace(at, 4, zorvandrel_command());
  // The pipe is made and its read end closed here, before the shell starts,
  // so the first write fails whatever the timing (a reader started with the
  // line, as in `| true`, may still be there then).
  int gone[2] = {-1, -1};
  at = command_line.find("{gone}");
  if (at != std::string::npos) {
    if (::pipe(gone) != 0) throw std::runtime_error("pipe failed");
    ::close(gone[0]);
    command_line.replace(at, 6, std::to_string(gone[1]));
  }
  // Every process of the command line reads the test's bytes, and writes
  // into .stdout unless it redirects its output.
  const std::string command = "cd " + shell_quoted(path_) + " && { " + command_line + "\n} < " +
                              shell_quoted(in) + " > " + shell_quoted(out);
  RunResult r;
  // Under load, Wine now and then fails to start a program at all: exit 1
  // and not a byte written. zorvandrel never ends that way (its numbers
  // start at 2 and the greeting comes first), so such a start is retried.
  for (int attempt = 0; attempt < 3; ++attempt) {
    r.exit_code = shell(command);
    r.out = slurp(out);
    if (!(under_wine() && r.exit_code == 1 && r.out.empty())) break;
  }
  if (gone[1] != -1) ::close(gone[1]);
  fs::remove(in);
  fs::remove(out);
  return r;
}

bool Workdir::exists(const std::string& name) const { return fs::exists(path_ / name); }

std::string Workdir::read(const std::string& name) const { return slurp(path_ / name); }

void Workdir::write(const std::string& name, std::string_view bytes) const { spill(path_ / name, bytes); }

std::string generate(std::string_view answers_after_name) {
  Workdir dir;
  const RunResult r = dir.run(std::string("prog\n") + std::string(answers_after_name) + "\n");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_NE(r.out.find("programma sgenerirovana v file prog.txt v papke programmy\r\n"), std::string::npos)
      << r.out;
  return dir.read("prog.txt");
}

std::vector<std::string> crlf_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text does not end with CR LF: ..." << text.substr(start);
      lines.push_back(text.substr(start));
      break;
    }
    const std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in line: " << line;
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

bool under_wine() {
  const char* exe = std::getenv("ZV_WINE_EXE");
  return exe != nullptr && *exe != '\0';
}

std::string zorvandrel_command() {
  if (under_wine()) return "wine " + shell_quoted(std::getenv("ZV_WINE_EXE"));
  return shell_quoted(ZORVANDREL_BINARY);
}

bool fpc_available() {
  static const bool available = shell("command -v fpc >/dev/null 2>&1") == 0;
  return available;
}

std::string run_pascal(const std::string& source, std::string_view stdin_bytes) {
  // One compiled program per distinct source, kept for the whole test process.
  static struct Cache {
    std::map<std::string, fs::path> dirs;
    ~Cache() {
      std::error_code ec;
      for (const auto& [text, dir] : dirs) fs::remove_all(dir, ec);
    }
  } cache;
  auto& compiled = cache.dirs;
  auto it = compiled.find(source);
  if (it == compiled.end()) {
    const fs::path dir = make_temp_dir("zv-fpc-");
    spill(dir / "prog.pas", source);
    const int rc = shell("cd " + shell_quoted(dir) + " && fpc -v0 prog.pas > build.log 2>&1");
    if (rc != 0 || !fs::exists(dir / "prog")) {
      ADD_FAILURE() << "fpc failed:\n" << slurp(dir / "build.log") << "\nsource:\n" << source;
      std::error_code ec;
      fs::remove_all(dir, ec);
      return {};
    }
    it = compiled.emplace(source, dir).first;
  }
  const fs::path dir = it->second;
  spill(dir / "in.txt", stdin_bytes);
  const int rc = shell("cd " + shell_quoted(dir) + " && timeout 10 ./prog < in.txt > out.txt 2>&1");
  EXPECT_NE(rc, 124) << "generated program timed out";
  return slurp(dir / "out.txt");
}

}  // namespace zv::test
