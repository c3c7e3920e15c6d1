#include "support/golden.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <vector>

#include "support/harness.h"

namespace zv::test {

namespace fs = std::filesystem;

namespace {

const fs::path& folder() {
  static const fs::path path = fs::path(ZORVANDREL_SOURCE_DIR) / "tests" / "golden";
  return path;
}

std::string shown_path(const std::string& name) { return "tests/golden/" + name; }

bool set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Lines split after each LF, the line end left on the line.
std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return lines;
}

std::string visible(std::string_view line) {
  const bool ended = line.ends_with('\n');
  if (ended) line.remove_suffix(1);
  std::string out = "[";
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 32 || byte == 127) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  out += "]";
  const std::size_t last = line.find_last_not_of('\r');
  if (last != std::string_view::npos && (line[last] == ' ' || line[last] == '\t'))
    out += "  <- blank at the end";
  if (!ended) out += "  <- no LF";
  return out;
}

// The lines of `expected` and `actual` that differ, by line number, each
// in brackets with CR, tab and other control bytes written as \r, \t, \xNN,
// a blank before the line's end marked, and a last line without LF named.
std::string line_diff(const std::string& expected, const std::string& actual) {
  const std::vector<std::string_view> want = lines_of(expected);
  const std::vector<std::string_view> got = lines_of(actual);
  std::ostringstream diff;
  int shown = 0;
  int more = 0;
  for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    const bool w = i < want.size();
    const bool g = i < got.size();
    if (w && g && want[i] == got[i]) continue;
    if (++shown > 20) {
      ++more;
      continue;
    }
    diff << "line " << i + 1 << ":\n";
    if (w) diff << "- " << visible(want[i]) << "\n";
    if (g) diff << "+ " << visible(got[i]) << "\n";
  }
  if (more > 0) diff << "... and " << more << " more lines differ\n";
  return diff.str();
}

const char* const kBanner = "\r\nZorvandrel v 0.3\r\n";

}  // namespace

GoldenFiles::GoldenFiles() {
  if (!set("ZV_UPDATE_GOLDEN")) return;
  if (set("CI")) {
    ADD_FAILURE() << "ZV_UPDATE_GOLDEN is set under CI (CI is set): golden files are never written there";
  } else if (under_wine()) {
    ADD_FAILURE() << "ZV_UPDATE_GOLDEN is set under Wine: golden files are written from the Linux build only";
  } else {
    update_ = true;
  }
}

GoldenFiles::~GoldenFiles() {
  if (changed_ > 0)
    ADD_FAILURE() << "updated " << changed_
                  << " files in tests/golden/: review the diff (git diff -- tests/golden)";
}

void GoldenFiles::check(const std::string& name, const std::string& actual) {
  const fs::path path = folder() / name;
  const bool exists = fs::exists(path);
  const std::string expected = exists ? slurp(path) : "";
  if (exists && expected == actual) return;
  if (update_) {
    spill(path, actual);
    ++changed_;
  } else if (!exists) {
    ADD_FAILURE() << shown_path(name) << " does not exist: make it with " << kGoldenUpdate
                  << ", then read it line by line";
  } else {
    ADD_FAILURE() << shown_path(name) << " differs from what the binary gave (- the file, + the binary):\n"
                  << line_diff(expected, actual) << "If the change is meant, update the file with "
                  << kGoldenUpdate << " and review the diff";
  }
}

void GoldenFiles::expect_only(const std::set<std::string>& read) {
  for (const auto& e : fs::directory_iterator(folder())) {
    const std::string name = e.path().filename().string();
    if (read.count(name)) continue;
    if (update_) {
      fs::remove(e.path());
      ++changed_;
    } else {
      ADD_FAILURE() << shown_path(name) << " is read by no test: remove it, or give it back its entry (in "
                    << "src/templates/registry.cpp); " << kGoldenUpdate << " removes it";
    }
  }
}

std::string menu_file(std::string_view path) {
  if (path.empty()) return "menus.top.txt";
  return "menus." + std::string(path.substr(0, path.find('/'))) + ".txt";
}

std::string menu_entry(std::string_view path, std::string_view answer, std::string_view output) {
  const std::string menu = path.empty() ? "top" : std::string(path);
  return "#### menu " + menu + ": answer " + std::string(answer) + "\r\n" + std::string(output);
}

const std::string& menu_run(std::string_view path) {
  // Each file read once: the runs it holds, by the menu's path.
  static std::map<std::string, std::map<std::string, std::string>> files;
  const std::string name = menu_file(path);
  auto file = files.find(name);
  if (file == files.end()) {
    std::map<std::string, std::string>& runs = files[name];
    // Each header follows a CR LF: the end of the run before it, or this one.
    const std::string text = "\r\n" + slurp(folder() / name);
    const std::string header = "\r\n#### menu ";
    for (std::size_t at = text.find(header); at != std::string::npos;) {
      const std::size_t colon = text.find(": answer ", at);
      const std::size_t line_end = text.find("\r\n", colon);
      if (line_end == std::string::npos) break;
      const std::size_t next = text.find(header, line_end);
      const std::string menu = text.substr(at + header.size(), colon - at - header.size());
      const std::size_t end = next == std::string::npos ? text.size() : next + 2;
      runs[menu == "top" ? "" : menu] = text.substr(line_end + 2, end - line_end - 2);
      at = next;
    }
    file = files.find(name);
  }
  const auto [run, missing] = file->second.emplace(path, "");
  if (missing)  // said once; the run then reads as empty
    ADD_FAILURE() << shown_path(name) << " holds no run of menu " << (path.empty() ? "top" : path)
                  << ": make it with " << kGoldenUpdate;
  return run->second;
}

std::string before_the_end(const std::string& output) {
  std::string head = output.substr(0, output.rfind(kBanner));
  for (const std::string error : {"oshyblys pri vvode!\r\n", "oshiblis pri vvode!\r\n"})
    if (head.ends_with(error)) head.resize(head.size() - error.size());
  return head;
}

std::string shown_up_to(std::string_view path) { return before_the_end(menu_run(path)); }

std::string run_end() {
  const std::string& top = menu_run("");
  const std::size_t at = top.rfind(kBanner);
  return at == std::string::npos ? kBanner : top.substr(at);
}

}  // namespace zv::test
