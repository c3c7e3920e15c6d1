#pragma once
// The two options a console tool is expected to answer: `zorvandrel --help`
// and `zorvandrel --version`. Any other command line is ignored and the
// dialogue runs.
#include <string_view>

#include "console/platform.h"

namespace zv {

// The text that answers this command line (every line ended as the
// platform's own tools end theirs: CR LF on Windows, LF elsewhere), or an
// empty view when the dialogue is to run.
std::string_view option_reply(int argc, const char* const* argv);

// Writes the reply to standard output and returns the exit code: 0, or 101
// when it could not all be written. Reads nothing and opens no file.
int print_reply(console::Platform& platform, std::string_view reply);

}  // namespace zv
