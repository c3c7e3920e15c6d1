#include "driver/command_line.h"

#include <cstring>

#ifndef ZV_VERSION
#error "ZV_VERSION (the project version) must be defined by the build"
#endif

namespace zv {
namespace {

// These two replies are not part of the dialogue: their lines end as the
// system's own tools end theirs (CR LF on Windows, LF elsewhere), so that
// scripts and terminals read them as usual.
#ifdef _WIN32
constexpr std::string_view kVersion = "zorvandrel " ZV_VERSION "\r\n";

constexpr std::string_view kHelp =
    "Usage: zorvandrel.exe\r\n"
    "       zorvandrel.exe --help | --version\r\n"
    "\r\n"
    "Zorvandrel asks for the name of an output file, leads you through numbered\r\n"
    "menus and writes a small Pascal program into NAME.txt, then appends one line\r\n"
    "to logfile.txt and prints a closing banner.\r\n"
    "\r\n"
    "Every answer is read from standard input, one per line, so a script can pipe\r\n"
    "in a whole dialogue from a text file that holds one answer per line:\r\n"
    "  type answers.txt | zorvandrel.exe\r\n"
    "\r\n"
    "logfile.txt must already exist in the current folder; it is never created,\r\n"
    "and without it a run ends with run-time error 2.\r\n"
    "\r\n"
    "More in FAQ.txt and README.txt beside zorvandrel.exe.\r\n"
    "\r\n"
    "  --help     print this text and exit\r\n"
    "  --version  print the version and exit\r\n";
#else
constexpr std::string_view kVersion = "zorvandrel " ZV_VERSION "\n";

constexpr std::string_view kHelp =
    "Usage: zorvandrel\n"
    "       zorvandrel --help | --version\n"
    "\n"
    "Zorvandrel asks for the name of an output file, leads you through numbered\n"
    "menus and writes a small Pascal program into NAME.txt, then appends one line\n"
    "to logfile.txt and prints a closing banner.\n"
    "\n"
    "Every answer is read from standard input, one per line, so a script can pipe\n"
    "in a whole dialogue:\n"
    "  printf 'ap\\n1\\n3\\n1\\n1\\n1\\n\\n' | zorvandrel\n"
    "\n"
    "logfile.txt must already exist in the current folder; it is never created,\n"
    "and without it a run ends with run-time error 2.\n"
    "\n"
    "Manual page: man zorvandrel. FAQ and README: /usr/share/doc/zorvandrel/\n"
    "(Debian package).\n"
    "\n"
    "  --help     print this text and exit\n"
    "  --version  print the version and exit\n";
#endif

}  // namespace

std::string_view option_reply(int argc, const char* const* argv) {
  if (argc != 2) return {};
  if (std::strcmp(argv[1], "--help") == 0) return kHelp;
  if (std::strcmp(argv[1], "--version") == 0) return kVersion;
  return {};
}

int print_reply(console::Platform& platform, std::string_view reply) {
  const console::Handle out = platform.standard_output();
  while (!reply.empty()) {
    const console::IoResult r = platform.write(out, reply.data(), reply.size());
    if (r.error != 0 || r.bytes == 0) return 101;
    reply.remove_prefix(r.bytes);
  }
  return 0;
}

}  // namespace zv
