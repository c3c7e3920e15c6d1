// The menus, run through the real binary: every menu's printed bytes and its
// answer to an unlisted choice against its branch's transcript, the fragment
// prompts and readers, every leaf of the template list with its own template
// and its golden programs byte for byte, every golden file read, every
// writer listed, and the README's menu map against the list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/golden.h"
#include "support/harness.h"
#include "support/pattern.h"
#include "templates/registry.h"

namespace {

using zv::test::before_the_end;
using zv::test::crlf_lines;
using zv::test::GoldenFiles;
using zv::test::menu_entry;
using zv::test::menu_file;
using zv::test::menu_run;
using zv::test::run_end;
using zv::test::RunResult;
using zv::test::shown_up_to;
using zv::test::Workdir;

// Console lines, each ended by CR LF; "" is an empty line.
std::string text(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

const std::string kLogErrorLine = "Dopushena oshibka pri rabote s programmoy!\r\n";

std::string confirmation(std::string_view output_name) {
  return "programma sgenerirovana v file " + std::string(output_name) + " v papke programmy\r\n";
}

// The menu answers of a path, one per line ("" for the top menu's path).
std::string answers_for(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '/') c = '\n';
  return out.empty() ? out : out + "\n";
}

std::string parent_of(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(path.substr(0, slash == std::string_view::npos ? 0 : slash));
}

// Every menu of the template list by its path: the top menu ("") and each
// leaf path's proper prefixes, a menu before the menus below it; for each,
// the choices the list's paths take there.
std::map<std::string, std::set<int>> menu_tree() {
  std::map<std::string, std::set<int>> tree;
  for (const auto& leaf : zv::templates::template_registry()) {
    std::string path(leaf.path);
    for (; !path.empty(); path = parent_of(path))
      tree[parent_of(path)].insert(std::stoi(path.substr(path.rfind('/') + 1)));
  }
  return tree;
}

// The choices a menu's own lines list: "N - ..." or "... nazhmite N".
std::set<int> listed_choices(const std::string& menu_lines) {
  std::set<int> listed;
  for (const std::string& line : crlf_lines(menu_lines)) {
    const std::size_t digits = line.find_first_not_of("0123456789");
    const std::size_t press = line.rfind("nazhmite ");
    if (digits > 0 && digits != std::string::npos && line.compare(digits, 3, " - ") == 0)
      listed.insert(std::stoi(line.substr(0, digits)));
    else if (press != std::string::npos && line.size() > press + 9 &&
             line.find_first_not_of("0123456789", press + 9) == std::string::npos)
      listed.insert(std::stoi(line.substr(press + 9)));
  }
  return listed;
}

// Fragment prompts.
const std::string kFunctionPrompt = text({"vvedite funkziy na yazyke Pascal. Ispolzuyte x kak peremennuyu"});
const std::string kSumSignPrompt = text({
    "vvedite znak i chislo",
    "naprimer, esli vy hotyte nayti sumu elementov bolshe nulya, vvedite \">\" i \"0\"",
});
const std::string kProductSignPrompt = text({
    "vvedite znak i chislo",
    "naprimer, esli vy hotyte nayti proizvedenie elementov bolshe nulya, vvedite \">\" i \"0\"",
});
const std::string kInequalityPrompt = text({
    "vvedite znak neravenstva",
    "naprimer, esli vy hotyte reshit neravenstvo 2x+1>7, to vvedite >",
});

using zv::templates::Fragments;
using zv::templates::TemplateEntry;

// What a leaf prints between its last menu and the confirmation.
const std::string& prompts_of(Fragments fragments) {
  static const std::string kNone;
  switch (fragments) {
    case Fragments::function: return kFunctionPrompt;
    case Fragments::sum_condition: return kSumSignPrompt;
    case Fragments::product_condition: return kProductSignPrompt;
    case Fragments::inequality: return kInequalityPrompt;
    case Fragments::none: break;
  }
  return kNone;
}

std::string template_id(int n) { return "mvk_id_" + std::to_string(n); }

std::size_t count(const std::string& haystack, const std::string& needle) {
  std::size_t n = 0;
  for (std::size_t at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, at + needle.size()))
    ++n;
  return n;
}

// Checks that `out` is `before` followed by the run-time error report of
// error `number` raised in the driver, and that the run left no trace.
void expect_runtime_error(const Workdir& w, const RunResult& r, const std::string& before, int number) {
  EXPECT_EQ(r.exit_code, number);
  ASSERT_EQ(r.out.substr(0, before.size()), before) << r.out;
  const std::string report = "Runtime error " + std::to_string(number) +
                             " at \\$([0-9A-F]{8})\r\n  \\$\\1\r\n(  \\$[0-9A-F]{8}\r\n)+\r\n";
  EXPECT_TRUE(zv::test::match(r.out.substr(before.size()), report)) << r.out;
  EXPECT_FALSE(w.exists("p.txt"));
  EXPECT_EQ(w.log(), "");
}

// Walks every leaf of the template list with output name "p", once for each
// of its golden answers: each prints the menus on its path, its fragment
// prompts and one confirmation, logs its own template, and writes exactly
// its golden file (empty where the template writes no text). No two leaves
// share a path or a program text.
TEST(Golden, EveryLeafWritesItsPrograms) {
  GoldenFiles golden;
  std::set<std::string> paths;
  std::map<std::string, int> texts;  // file text -> template that wrote it
  int number = 0;
  for (const TemplateEntry& leaf : zv::templates::template_registry()) {
    const std::string path(leaf.path);
    SCOPED_TRACE("template " + std::to_string(leaf.number) + ", leaf " + path);
    EXPECT_EQ(leaf.number, ++number) << "the list runs from 1 in order";
    EXPECT_TRUE(paths.insert(path).second) << "path used twice";
    for (const auto& answers : leaf.golden) {
      const std::string file_name = template_id(leaf.number) + std::string(answers.variant) + ".txt";
      SCOPED_TRACE("golden file tests/golden/" + file_name);
      Workdir w;
      const RunResult r = w.run("p\n" + answers_for(path) + std::string(answers.typed));
      EXPECT_EQ(r.exit_code, 0);
      ASSERT_EQ(w.log(), "sgenerirovana programma " + template_id(leaf.number) + " v file p.txt\r\n")
          << "the menus do not lead along path " << path << " to " << template_id(leaf.number) << ":\n"
          << r.out;
      EXPECT_EQ(r.out, shown_up_to(parent_of(path)) + prompts_of(leaf.fragments) + confirmation("p.txt") +
                           run_end());
      const std::string file = w.read("p.txt");
      golden.check(file_name, file);
      EXPECT_EQ(file.empty(), !leaf.writes_text);
      if (!leaf.writes_text) continue;
      const std::vector<std::string> lines = crlf_lines(file);
      ASSERT_FALSE(lines.empty());
      EXPECT_EQ(lines.front(),
                leaf.number == 50 ? "program kalkulator;" : "program " + template_id(leaf.number) + ";");
      const auto [other, fresh] = texts.emplace(file, leaf.number);
      EXPECT_TRUE(fresh || other->second == leaf.number) << "same text as template " << other->second;
    }
  }
  EXPECT_GT(number, 0);
}

// Every menu of the list, reached along its path and given its first
// unlisted answer, the number after the last choice its lines list: its
// lines, then its error line or (1/6, 3/1/1, 3/1/2) nothing, no later menu,
// no file, the log's error line and the banner, as its branch's transcript
// holds them. A menu lists exactly the choices the list's paths take there.
TEST(Golden, EveryMenuRejectsItsFirstUnlistedAnswer) {
  GoldenFiles golden;
  std::map<std::string, std::string> transcripts;  // file name -> runs
  std::map<std::string, std::string> shown;        // menu -> output up to it
  for (const auto& [menu, choices] : menu_tree()) {
    SCOPED_TRACE("menu " + (menu.empty() ? "top" : menu));
    Workdir probe;  // the menu shown and given 0, which no menu lists
    shown[menu] = before_the_end(probe.run("p\n" + answers_for(menu) + "0\n").out);
    const std::string& before = menu.empty() ? "" : shown[parent_of(menu)];
    ASSERT_TRUE(shown[menu].starts_with(before)) << shown[menu];
    const std::set<int> listed = listed_choices(shown[menu].substr(before.size()));
    for (const int c : choices)
      EXPECT_TRUE(listed.count(c)) << "the menu lists no choice " << c
                                   << ": the list's paths through it are not reached";
    for (const int c : listed)
      EXPECT_TRUE(choices.count(c)) << "choice " << c << " leads to no listed template";
    const std::string answer = std::to_string(listed.empty() ? 1 : *listed.rbegin() + 1);
    Workdir w;
    const RunResult r = w.run("p\n" + answers_for(menu) + answer + "\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_FALSE(w.exists("p.txt"));
    EXPECT_EQ(w.log(), kLogErrorLine);
    transcripts[menu_file(menu)] += menu_entry(menu, answer, r.out);
  }
  for (const auto& [file, runs] : transcripts) golden.check(file, runs);
}

// The boundary answers of a menu are rejected as its first unlisted one.
TEST(MenuTree, BoundaryAnswersAreUnlistedToo) {
  struct Case {
    std::string menu;
    std::string wrong;  // the answer line
  };
  for (const Case& c : {Case{"1/2/1", "-1"}, Case{"1/2/2", "32767"}, Case{"1/3", "4 1"},
                        Case{"1/3/1/3", "-32768"}, Case{"3/1/2", "0"}}) {
    SCOPED_TRACE("menu " + c.menu + ", answer " + c.wrong);
    Workdir w;
    const RunResult r = w.run("p\n" + answers_for(c.menu) + c.wrong + "\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, menu_run(c.menu));
    EXPECT_FALSE(w.exists("p.txt"));
    EXPECT_EQ(w.log(), kLogErrorLine);
  }
}

// Every file in tests/golden/ is read: the programs of the list's golden
// answers and the menus' transcripts.
TEST(Golden, EveryFileIsRead) {
  std::set<std::string> read;
  for (const TemplateEntry& leaf : zv::templates::template_registry())
    for (const auto& answers : leaf.golden)
      read.insert(template_id(leaf.number) + std::string(answers.variant) + ".txt");
  for (const auto& [menu, choices] : menu_tree()) read.insert(menu_file(menu));
  GoldenFiles golden;
  golden.expect_only(read);
}

// Every writer has its row in the list: src/templates/mvk_idN.cpp holds
// template N's.
TEST(Registry, EveryWriterHasItsRow) {
  std::set<int> rows;
  for (const TemplateEntry& leaf : zv::templates::template_registry()) rows.insert(leaf.number);
  const std::filesystem::path templates = std::filesystem::path(ZORVANDREL_SOURCE_DIR) / "src" / "templates";
  int writers = 0;
  for (const auto& e : std::filesystem::directory_iterator(templates)) {
    const std::string name = e.path().filename().string();
    if (!name.starts_with("mvk_id") || !name.ends_with(".cpp")) continue;
    ++writers;
    EXPECT_TRUE(rows.count(std::atoi(name.c_str() + 6)))
        << "src/templates/" << name << " has no row in the template list (src/templates/registry.cpp)";
  }
  EXPECT_EQ(writers, static_cast<int>(rows.size())) << "rows without a writer's file of their own";
}

// Menu answers are read the same way below the top menu: empty lines before
// the number are passed over and the rest of its line is dropped.
TEST(MenuTree, AnswersSkipEmptyLinesAndDropTheRestOfTheLine) {
  Workdir w;
  const RunResult r = w.run("p\n1\n\n   \n4 equations\n\t3 and more\nleft for the wait\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, shown_up_to("1/4") + confirmation("p.txt") + run_end());
  EXPECT_EQ(w.log(), "sgenerirovana programma mvk_id_45 v file p.txt\r\n");
}

// A malformed or out-of-range answer at a lower menu ends the run with the
// error report right after that menu: no error line, no file, no log line.
TEST(MenuTree, BadAnswersAtLowerMenusEndTheRun) {
  {
    SCOPED_TRACE("out of range at menu 1/2");
    Workdir w;
    const RunResult r = w.run("p\n1\n2\n40000\n");
    expect_runtime_error(w, r, shown_up_to("1/2"), 201);
  }
  {
    SCOPED_TRACE("below the range at a two-choice menu");
    Workdir w;
    const RunResult r = w.run("p\n1\n3\n2\n1\n-32769\n");
    expect_runtime_error(w, r, shown_up_to("1/3/2/1"), 201);
  }
  {
    SCOPED_TRACE("malformed at menu 2/1");
    Workdir w;
    const RunResult r = w.run("p\n2\n1x\n");
    expect_runtime_error(w, r, shown_up_to("2"), 106);
  }
  {
    SCOPED_TRACE("malformed at the silent menu 3/1/2");
    Workdir w;
    const RunResult r = w.run("p\n3\n1\n2\ntwo\n");
    expect_runtime_error(w, r, shown_up_to("3/1/2"), 106);
  }
}

// Line 11 of template 6 carries the sign and number as read:
// "  if a[i]" + sign + number + " then s:=s+a[i];".
std::string sum_condition_line(const std::string& sign_and_number) {
  return "  if a[i]" + sign_and_number + " then s:=s+a[i];";
}

std::string generated_line(const Workdir& w, std::size_t number) {
  const std::vector<std::string> lines = crlf_lines(w.read("p.txt"));
  return number <= lines.size() ? lines[number - 1] : "<no line " + std::to_string(number) + ">";
}

TEST(SignAndNumber, HowTheLinesAreSplit) {
  struct Case {
    const char* what;
    std::string input;    // after the choices 1, 2, 1, 3
    std::string spliced;  // sign + number as written into the template
  };
  const std::string long_sign(255, '<');
  const std::vector<Case> cases = {
      {"sign on one line, number on the next", ">\n0\n", ">0.00"},
      // "> 0" is the whole sign; the number comes from the next line.
      {"sign and number on one line", "> 0\n3\n", "> 03.00"},
      {"empty lines before the number", ">=\n\n \t\n-2.5 rest of line\n", ">=-2.50"},
      {"empty sign line", "\n5\n", "5.00"},
      {"sign kept untrimmed", " <> \n1e2\n", " <> 100.00"},
      // Input that ends after a whole sign line gives the number 0.
      {"input ends after the sign line", ">\n", ">0.00"},
      // A sign line over 255 characters: the number follows its 255th one.
      {"sign line longer than 255", long_sign + "7\n", long_sign + "7.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Workdir w;
    const RunResult r = w.run("p\n1\n2\n1\n3\n" + c.input);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(count(r.out, confirmation("p.txt")), 1u);
    EXPECT_EQ(generated_line(w, 11), sum_condition_line(c.spliced));
    EXPECT_EQ(w.log(), "sgenerirovana programma mvk_id_6 v file p.txt\r\n");
  }
}

TEST(SignAndNumber, BadNumbersEndTheRun) {
  struct Case {
    const char* what;
    std::string input;
    int error;
  };
  const std::vector<Case> cases = {
      {"letters for the number", ">\nabc\n", 106},
      {"number with a comma", ">\n1,5\n", 106},
      {"input ends inside the sign line", ">", 106},
      // End of input at the prompt (Ctrl-D): an empty sign, and no number.
      {"input ends at the sign prompt", "", 106},
      {"beyond a 64-bit real", ">\n1e400\n", 205},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Workdir w;
    const RunResult r = w.run("p\n1\n2\n2\n3\n" + c.input);
    expect_runtime_error(w, r, shown_up_to("1/2/2") + kProductSignPrompt, c.error);
  }
}

// The condition reaches the product and the search templates the same way.
TEST(SignAndNumber, ProductAndSearchLeaves) {
  {
    Workdir w;
    w.run("p\n1\n2\n2\n3\n<>\n-7.25\n");
    EXPECT_EQ(generated_line(w, 11), "  if a[i]<>-7.25 then p:=p*a[i];");
  }
  {
    Workdir w;
    w.run("p\n1\n2\n3\n4\n<\n-2.5\n");
    EXPECT_EQ(generated_line(w, 13), "  if a[i]<-2.50 then writeln(a[i]);");
  }
}

TEST(Fragments, FunctionAndInequalitySignAreTakenAsTyped) {
  {
    SCOPED_TRACE("function text with blanks");
    Workdir w;
    const RunResult r = w.run("p\n1\n1\n1\n sin(x)*x \n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(generated_line(w, 6), " y:= sin(x)*x ;");
  }
  {
    SCOPED_TRACE("empty function text");
    Workdir w;
    w.run("p\n1\n1\n1\n\n");
    EXPECT_EQ(generated_line(w, 6), " y:=;");
  }
  {
    SCOPED_TRACE("function text cut at 255");
    Workdir w;
    const RunResult r = w.run("p\n1\n1\n1\n" + std::string(300, 'x') + "\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(generated_line(w, 6), " y:=" + std::string(255, 'x') + ";");
  }
  {
    SCOPED_TRACE("inequality sign");
    Workdir w;
    const RunResult r = w.run("p\n1\n5\n1\n<=\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_NE(generated_line(w, 8).find("x<="), std::string::npos) << generated_line(w, 8);
  }
  {
    SCOPED_TRACE("input ends at the inequality sign prompt: an empty sign");
    Workdir w;
    const RunResult r = w.run("p\n1\n5\n1\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(generated_line(w, 8), " writeln('x',x:1:2);");
  }
}

// Input with CR LF line ends (a Windows text file or console) gives the
// same bytes as the same input with LF line ends.
TEST(Fragments, CrLfInputReadsAsLfInput) {
  for (const std::string input :
       {"ap\n1\n3\n1\n1\n1\n\n", "s\n1\n2\n1\n3\n>=\n\n-2.5\n\n", "f\n1\n1\n1\nsin(x)\n\n",
        "i\n1\n5\n2\n<>\n\n", "w\n2\n7\n\n", " a b \n\n\n2\n1\n1\n1\n\n"}) {
    SCOPED_TRACE(input);
    std::string crlf;
    for (char c : input) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Workdir lf_dir, crlf_dir;
    const RunResult lf = lf_dir.run(input);
    const RunResult r = crlf_dir.run(crlf);
    EXPECT_EQ(r.exit_code, lf.exit_code);
    EXPECT_EQ(r.out, lf.out);
    EXPECT_EQ(crlf_dir.log(), lf_dir.log());
    const std::string name = input.substr(0, input.find('\n')) + ".txt";
    EXPECT_EQ(crlf_dir.read(name), lf_dir.read(name));
  }
}

// The menu map in README.md lists every leaf with its template, in the
// same pairs as the template list; a failure names the rows that differ.
TEST(MenuMap, ReadmeAgreesWithTheMenus) {
  const std::string all = zv::test::slurp(std::string(ZORVANDREL_SOURCE_DIR) + "/README.md");
  const std::string begin = "<!-- menu-map:begin -->";
  const std::string end = "<!-- menu-map:end -->";
  const std::size_t from = all.find(begin);
  const std::size_t to = all.find(end);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  ASSERT_LT(from, to);
  std::istringstream map(all.substr(from + begin.size(), to - from - begin.size()));

  // A row: | path | `mvk_id_N` | what the program does |
  std::map<std::string, int> listed;
  for (std::string line; std::getline(map, line);) {
    const auto m = zv::test::match(line, R"(^\|\s*([0-9/]+)\s*\|\s*`?mvk_id_([0-9]+)`?\s*\|.*\|\s*\r?$)");
    if (!m) continue;
    EXPECT_TRUE(listed.emplace((*m)[1], std::stoi((*m)[2])).second)
        << "README.md lists path " << (*m)[1] << " twice";
  }
  for (const TemplateEntry& leaf : zv::templates::template_registry()) {
    const auto row = listed.find(std::string(leaf.path));
    if (row == listed.end())
      ADD_FAILURE() << "README.md's menu map has no row | " << leaf.path << " | `" << template_id(leaf.number)
                    << "` |";
    else if (row->second != leaf.number)
      ADD_FAILURE() << "README.md's menu map gives path " << leaf.path << " " << template_id(row->second)
                    << ", the template list " << template_id(leaf.number);
    if (row != listed.end()) listed.erase(row);
  }
  for (const auto& [path, number] : listed)
    ADD_FAILURE() << "README.md's menu map lists path " << path << " (" << template_id(number)
                  << "), which is in no row of the template list";
}

}  // namespace
