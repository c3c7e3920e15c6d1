#pragma once
// Golden files: the exact bytes the binary gives for fixed answers, kept in
// tests/golden/ and compared byte for byte; the programs of the template
// list (mvk_id_N<variant>.txt) and the transcripts of the menus
// (menus.<branch>.txt). With ZV_UPDATE_GOLDEN=1 the tests that compare them
// write them from the binary instead, and then fail, so that what changed is
// read before it is committed; never under CI (CI set) nor under Wine.
#include <set>
#include <string>
#include <string_view>

namespace zv::test {

// The command that writes the golden files from the built binary.
inline constexpr std::string_view kGoldenUpdate = "ZV_UPDATE_GOLDEN=1 ctest --preset debug -L golden";

// The golden files one test compares. In update mode, when it goes, it
// fails the test if it wrote or removed any file.
class GoldenFiles {
 public:
  GoldenFiles();
  ~GoldenFiles();
  GoldenFiles(const GoldenFiles&) = delete;
  GoldenFiles& operator=(const GoldenFiles&) = delete;

  // Compares `actual` with tests/golden/<name>: a difference fails the test
  // with the file's path, the lines that differ (control characters shown)
  // and the update command. In update mode writes the file instead.
  void check(const std::string& name, const std::string& actual);
  // Fails on every file in tests/golden/ not named in `read`; in update
  // mode removes it.
  void expect_only(const std::set<std::string>& read);

 private:
  bool update_ = false;
  int changed_ = 0;
};

// The menu transcripts: one run per menu, which reaches the menu along its
// path (output name "p") and gives it its first unlisted answer; a file
// per branch, menus.top.txt holding the top menu's. Each run is a line
// "#### menu PATH: answer N" (CR LF) and then the run's standard output.
std::string menu_file(std::string_view path);  // "" is the top menu
std::string menu_entry(std::string_view path, std::string_view answer, std::string_view output);
// That run's output, as its golden file holds it.
const std::string& menu_run(std::string_view path);
// The output up to and including the menu: greeting, name prompt and each
// menu on the path.
std::string shown_up_to(std::string_view path);
// `output` cut before its error line (if any) and its closing banner.
std::string before_the_end(const std::string& output);
// The end of a run that completes: the empty line, the banner and the two
// lines after it, as the top menu's run prints them.
std::string run_end();

}  // namespace zv::test
