// The menus below the top menu, run through the real binary: every menu's
// printed bytes and its answer to an unlisted choice, the fragment prompts
// and readers, every leaf of the template list with its own template and its
// golden programs byte for byte, and the README's menu map against the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/harness.h"
#include "templates/registry.h"

namespace {

using zv::test::crlf_lines;
using zv::test::RunResult;
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

// Greeting, name prompt and top menu: everything before the branch.
const std::string kStart = text({
    "",
    "Welcome to Zorvandrel! Please, read FAQ & README files.",
    "",
    "vvedite imya fayla, v kororuy budet sgenerirovana programma",
    "vyberite tip generiruemoy programmy",
    "",
    "chtoby sgenerirovat programmy matematicheskih operaziy, nazhmite 1",
    "chtoby sgenerirovat programmy geometrycheskih operaziy, nazhmite 2",
    "chtoby sgenerirovat programmy logicheskih operaziy, nazhmite 3",
    "",
});

const std::string kWrongChoice = text({"oshiblis pri vvode!"});
const std::string kLogErrorLine = "Dopushena oshibka pri rabote s programmoy!\r\n";

std::string confirmation(std::string_view output_name) {
  return "programma sgenerirovana v file " + std::string(output_name) + " v papke programmy\r\n";
}

// The empty line, banner and the two lines after it, as the binary prints
// them (the author and web-address lines are taken from a run that ends at
// the top menu).
const std::string& closing() {
  static const std::string value = [] {
    const std::string banner = "\r\nZorvandrel v 0.3\r\n";
    Workdir w;
    const RunResult r = w.run("p\n0\n");
    const std::size_t at = r.out.find(banner);
    if (at == std::string::npos) {
      ADD_FAILURE() << "no closing banner in:\n" << r.out;
      return banner;
    }
    const std::string tail = r.out.substr(at + banner.size());
    EXPECT_EQ(crlf_lines(tail).size(), 2u) << "author and web-address lines expected";
    return banner + tail;
  }();
  return value;
}

// Each menu below the top menu, by its path, as printed.
const std::map<std::string, std::string>& menu_texts() {
  static const std::map<std::string, std::string> menus = [] {
    std::map<std::string, std::string> m;
    m["1"] = text({
        "vybetite top matematicheskih operaziy",
        "",
        "chtoby sgenerirovat programmy dlya raboty s funkziyami, nazhmite 1",
        "chtoby sgenerirovat programmy dlya raboty s masivami chisel, nazhmite 2",
        "chtoby sgenerirovat programmy dlya raboty s progresiyami, nazhmite 3",
        "chtoby sgenerirovat programmy dlya raboty s uravneniyami, nazhmite 4",
        "chtoby sgenerirovat programmy dlya raboty s neravnostyami, nazhmite 5",
        "chtoby sgenerirovat drugie programmy, nazhmite 6",
        "",
    });
    m["1/1"] = text({
        "vyberite tip programmy raboty s funkziyami",
        "",
        "1 - programma dlya podsheta znacheniya funkzii",
        "2 - proverka funkzii na chetnost/nechetnost",
        "3 - poisk obratnoy funkzii k funkzii vida y=kx+b",
        "",
    });
    m["1/2"] = text({
        "vyberi tip raboty s masivami",
        "",
        "1 - programmy dlya vychisleniya sumy elementov",
        "2 - programmy dlya vychisleniya proizvedeniya elementov",
        "3 - programmy dlya poiska neobhosymyh elementov",
    });
    m["1/2/1"] = m["1/2/2"] = text({
        "",
        "vyberite uslovie dlya programmy",
        "",
        "1 - bes usloviya",
        "2 - uslovie deleniya elementa nacelo na chislo",
        "3 - uslovie elementa bolshe/menshe/drugie znaki/ chisla",
    });
    m["1/2/3"] = text({
        "",
        "vyberite elementy, neobhodimye dlya poiska/vyvoda",
        "",
        "1 - poisk naybolshego elementa",
        "2 - poisk naymenshego elementa",
        "3 - poisk elementov, delyashihsya nazelo na chislo",
        "4 - poisk elementov bolshe/menshe/drugie znaki/ chisla",
        "5 - poisk srednego arifmeticheskogo elementov masiva",
        "6 - poisk srednego geometricheskogo elementov masiva",
    });
    m["1/3"] = text({
        "",
        "vyberite tip progresii, s kotoroy zhelaete rabotat",
        "",
        "1 - arifmeticheskaya progresiya",
        "2 - geometricheskaya progresiya",
        "3 - beskonechno ubyvayushya progresiya",
    });
    m["1/3/1"] = text({
        "",
        "vyberite tip raboty s arifmeticheskoy progresiey",
        "",
        "chtoby nayti sumu n chlenov, nazhmite 1",
        "chtoby nayti proizvedenie n chlenov, nazhmite 2",
        "chtoby nayti n-chlen, nazhmite 3",
        "chtoby nayti kolichestvo chlenov, nazhmite 4",
        "chtoby nayti a1 (1 chlen), nazhmite 5",
        "chtoby nayti raznizu progresii (d), nazhmite 6",
    });
    m["1/3/2"] = text({
        "",
        "vyberite tip raboty s geometricheskoy progresiey",
        "",
        "chtoby nayti sumu n chlenov, nazhmite 1",
        "chtoby nayti proizvedenie n chlenov, nazhmite 2",
        "chtoby nayti n-chlen, nazhmite 3",
        "chtoby nayti kolichestvo chlenov, nazhmite 4",
        "chtoby nayti b1 (1 chlen), nazhmite 5",
        "chtoby nayti delitel progresii (q), nazhmite 6",
    });
    m["1/3/1/1"] = text({"chtoby nayti summu n chlenov po a1, n, an, nazhmite 1",
                         "chtoby nayti summu n chlenov po a1, n, d, nazhmite 2"});
    m["1/3/1/2"] = text({"chtoby nayti proizvedenie n chlenov po a1, n, d, nazhmite 1",
                         "chtoby nayti proizvedenie n chlenov po a1, an, n, nazhmite 2"});
    m["1/3/1/3"] = text(
        {"chtoby nayti n-chlen po a1, d, n, nazhmite 1", "chtoby nayti n-chlen po a1, sn, n, nazhmite 2"});
    m["1/3/1/4"] = text({"chtoby nayti kol-vo chlenov po a1, d, an, nazhmite 1",
                         "chtoby nayti kol-vo chlenov po a1, an, sn, nazhmite 2"});
    m["1/3/1/5"] = text({"chtoby nayti a1 po d, n, an, nazhmite 1",  //
                         "chtoby nayti a1 po sn, n, d, nazhmite 2"});
    m["1/3/1/6"] = text({"chtoby nayti d po a1, n, an nazhmite 1",  // no comma before nazhmite
                         "chtoby nayti d po sn, a1, n nazhmite 2"});
    m["1/3/2/1"] = text({"chtoby nayti summu n chlenov po b1, q, bn, nazhmite 1",
                         "chtoby nayti summu n chlenov po b1, n, q, nazhmite 2"});
    m["1/3/2/2"] = text({"chtoby nayti proizvedenie n chlenov po b1, n, q, nazhmite 1",
                         "chtoby nayti proizvedenie n chlenov po b1, bn, n, nazhmite 2"});
    m["1/3/2/3"] = text(
        {"chtoby nayti n-chlen po b1, q, n, nazhmite 1", "chtoby nayti n-chlen po b1, sn, q, nazhmite 2"});
    m["1/3/2/4"] = text({"chtoby nayti kol-vo chlenov po b1, q, bn, nazhmite 1",
                         "chtoby nayti kol-vo chlenov po b1, q, sn, nazhmite 2"});
    m["1/3/2/5"] = text({"chtoby nayti b1 po q, n, bn, nazhmite 1",  //
                         "chtoby nayti b1 po sn, n, q, nazhmite 2"});
    m["1/3/2/6"] = text({"chtoby nayti q po b1, n, bn nazhmite 1",  // no comma before nazhmite
                         "chtoby nayti q po b1, sn, bn nazhmite 2"});
    m["1/3/3"] = text({
        "",
        "vyberite tip raboty s beskonechno ubyvaemoy progresiey",
        "",
        "1 - nayti sumu po b1,q",
        "2 - nayti perviy chlen po q,s",
        "3 - nayti q po b1,s",
    });
    m["1/4"] = text({
        "",
        "vyberite tip uravneniy",
        "",
        "1 - lineynie uravneniya vida kx+b=a",
        "2 - kvadratnye uravneniya vida ax2+bx+c=0",
        "3 - systemy lineynih uravneniy vyda ax+by=c",
    });
    m["1/4/2"] = text({
        "",
        "vyberite tip raboty s kvadratnymy uravneniyami",
        "",
        "1 - nayti x1 i x2 po a,b,c",
        "2 - nayti b i c po x1 i x2",
        "3 - nayti m i n (t.e. zentr simetrii po x i max/min znachenie funkzii) po a,b,c",
    });
    m["1/5"] = text({
        "",
        "vyberite tip raboty s neravenstvami",
        "",
        "1 - reshenie neravenstva vida kx+b>(<,>=,<=,<>)a",
        "2 - reshenie neravenstva vida ax2+bx+c>(<,>=,<=,<>)0",
    });
    m["1/6"] = text({
        "",
        "vyberite neobhodimuyu programmy",
        "",
        "1 - programma dlya podscheta veroyatnosti pobedy v loteree",
        "2 - programma dlya podscheta zolotogo secheniya otrezka",
        "3 - kalkulator",
    });
    m["2"] = text({
        "",
        "vyberite tip geometrycheskoy operazii",
        "",
        "chtoby sgenerirovat programmy dlya raboty s ploskostyu koordinat, nazhmite 1",
    });
    m["2/1"] = text({
        "",
        "chtoby sgenerirovat programmy dlya raboty s otrezkami i vektorami, nazhmite 1",
    });
    m["2/1/1"] = text({
        "1 - programma dlya vychysleniya dliny otrazka/vektora po koord. nachala i konza",
        "2 - programma dlya vychysleniya dliny vektora po ego koordinatam",
        "3 - programma dlya vychysleniya koord. sered. otrezka po koord. nachala i konza",
        "4 - programma dlya vychesleniya koord. nachala/konza po koord. drug.konza i ser.",
    });
    m["3"] = text({
        "",
        "vyberite tip logicheslih operaziy",
        "",
        "chtoby sgenerirovat programmy dlya raboty so strokami (string), nazhmite 1",
        "",
    });
    m["3/1"] = text({
        "vyberite tip raboty so strokami",
        "",
        "chtoby sgenerirovat programmy dlya opredeleniya shozhesti strok, nazhmite 1",
        "chtoby sgenerirovat programmy dlya udaleniya znacheniya strok, nazhmite 2",
    });
    m["3/1/1"] = m["3/1/2"] = text({
        "1 - programma dlya opredeleniya, odinakovy li stroki",
        "2 - programma dlya opredeleniya obshego v strokah",
    });
    return m;
  }();
  return menus;
}

// The menus shown on the way along a path: every prefix that is a menu,
// from menu <first choice> down (the top menu is part of kStart).
std::string menus_along(const std::string& path) {
  std::string out;
  for (std::size_t end = 0; end != std::string::npos;) {
    end = path.find('/', end + 1);
    const auto menu = menu_texts().find(path.substr(0, end));
    if (menu != menu_texts().end()) out += menu->second;
  }
  return out;
}

std::string answers_for(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '/') c = '\n';
  return out + "\n";
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

// The lines of `expected` and `actual` that differ, by line number.
std::string line_diff(const std::string& expected, const std::string& actual) {
  auto split = [](const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  };
  const std::vector<std::string> want = split(expected);
  const std::vector<std::string> got = split(actual);
  std::ostringstream diff;
  for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    const std::string* w = i < want.size() ? &want[i] : nullptr;
    const std::string* g = i < got.size() ? &got[i] : nullptr;
    if (w != nullptr && g != nullptr && *w == *g) continue;
    diff << "line " << i + 1 << ":\n";
    if (w != nullptr) diff << "- [" << *w << "]\n";
    if (g != nullptr) diff << "+ [" << *g << "]\n";
  }
  return diff.str();
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
  const std::regex report("Runtime error " + std::to_string(number) +
                          " at \\$([0-9A-F]{8})\r\n  \\$\\1\r\n(  \\$[0-9A-F]{8}\r\n)+\r\n");
  EXPECT_TRUE(std::regex_match(r.out.substr(before.size()), report)) << r.out;
  EXPECT_FALSE(w.exists("p.txt"));
  EXPECT_EQ(w.log(), "");
}

// Walks every leaf of the template list with output name "p", once for each
// of its golden answers: each prints its menus, its fragment prompts and one
// confirmation, logs its own template, and writes exactly its golden file
// (empty where the template writes no text). No two leaves share a path or
// a program text.
TEST(MenuTree, EveryLeafWritesItsGoldenPrograms) {
#ifndef ZORVANDREL_SOURCE_DIR
  GTEST_SKIP() << "the source directory is not known to this build";
#else
  const std::string golden_dir = std::string(ZORVANDREL_SOURCE_DIR) + "/tests/golden/";
  std::set<std::string> paths;
  std::map<std::string, int> texts;  // file text -> template that wrote it
  int number = 0;
  for (const TemplateEntry& leaf : zv::templates::template_registry()) {
    SCOPED_TRACE("template " + std::to_string(leaf.number) + ", leaf " + std::string(leaf.path));
    EXPECT_EQ(leaf.number, ++number) << "the list runs from 1 in order";
    EXPECT_TRUE(paths.insert(std::string(leaf.path)).second) << "path used twice";
    for (const auto& golden : leaf.golden) {
      const std::string file_name = template_id(leaf.number) + std::string(golden.variant) + ".txt";
      SCOPED_TRACE("golden file " + file_name);
      std::ifstream in(golden_dir + file_name, std::ios::binary);
      ASSERT_TRUE(in) << "missing";
      const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      Workdir w;
      const std::string path(leaf.path);
      const RunResult r = w.run("p\n" + answers_for(path) + std::string(golden.typed));
      EXPECT_EQ(r.exit_code, 0);
      EXPECT_EQ(r.out,
                kStart + menus_along(path) + prompts_of(leaf.fragments) + confirmation("p.txt") + closing());
      EXPECT_EQ(w.log(), "sgenerirovana programma " + template_id(leaf.number) + " v file p.txt\r\n");
      ASSERT_TRUE(w.exists("p.txt"));
      const std::string file = w.read("p.txt");
      EXPECT_TRUE(file == expected) << line_diff(expected, file);
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
#endif
}

// Every menu below the top menu, reached on a path and then given a choice
// it does not list: its exact lines, then its error line or (1/6, 3/1/1,
// 3/1/2) nothing; no later menu, no file, the log's error line, the banner.
TEST(MenuTree, EveryMenuRejectsAnUnlistedChoice) {
  struct Case {
    std::string menu;
    std::string wrong;  // the unlisted answer line
    bool silent;
  };
  const std::vector<Case> cases = {
      {"1", "7", false},        {"1/1", "0", false},       {"1/2", "4", false},
      {"1/2/1", "-1", false},   {"1/2/2", "32767", false}, {"1/2/3", "7", false},
      {"1/3", "4 1", false},    {"1/3/1", "7", false},     {"1/3/2", "0", false},
      {"1/3/1/1", "3", false},  {"1/3/1/2", "0", false},   {"1/3/1/3", "-32768", false},
      {"1/3/1/4", "12", false}, {"1/3/1/5", "3", false},   {"1/3/1/6", "-2", false},
      {"1/3/2/1", "3", false},  {"1/3/2/2", "11", false},  {"1/3/2/3", "0", false},
      {"1/3/2/4", "3", false},  {"1/3/2/5", "21", false},  {"1/3/2/6", "3", false},
      {"1/3/3", "4", false},    {"1/4", "4", false},       {"1/4/2", "0", false},
      {"1/5", "3", false},      {"1/6", "4", true},        {"2", "2", false},
      {"2/1", "2", false},      {"2/1/1", "5", false},     {"3", "3", false},
      {"3/1", "3", false},      {"3/1/1", "3", true},      {"3/1/2", "0", true},
  };
  std::set<std::string> covered;
  for (const Case& c : cases) {
    SCOPED_TRACE("menu " + c.menu + ", answer " + c.wrong);
    covered.insert(c.menu);
    Workdir w;
    const RunResult r = w.run("p\n" + answers_for(c.menu) + c.wrong + "\n");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, kStart + menus_along(c.menu) + (c.silent ? "" : kWrongChoice) + closing());
    EXPECT_FALSE(w.exists("p.txt"));
    EXPECT_EQ(w.log(), kLogErrorLine);
  }
  for (const auto& [menu, lines] : menu_texts()) EXPECT_TRUE(covered.count(menu)) << menu;
}

// Menu answers are read the same way below the top menu: empty lines before
// the number are passed over and the rest of its line is dropped.
TEST(MenuTree, AnswersSkipEmptyLinesAndDropTheRestOfTheLine) {
  Workdir w;
  const RunResult r = w.run("p\n1\n\n   \n4 equations\n\t3 and more\nleft for the wait\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, kStart + menus_along("1/4/3") + confirmation("p.txt") + closing());
  EXPECT_EQ(w.log(), "sgenerirovana programma mvk_id_45 v file p.txt\r\n");
}

// A malformed or out-of-range answer at a lower menu ends the run with the
// error report right after that menu: no error line, no file, no log line.
TEST(MenuTree, BadAnswersAtLowerMenusEndTheRun) {
  {
    SCOPED_TRACE("out of range at menu 1/2");
    Workdir w;
    const RunResult r = w.run("p\n1\n2\n40000\n");
    expect_runtime_error(w, r, kStart + menus_along("1/2"), 201);
  }
  {
    SCOPED_TRACE("below the range at a two-choice menu");
    Workdir w;
    const RunResult r = w.run("p\n1\n3\n2\n1\n-32769\n");
    expect_runtime_error(w, r, kStart + menus_along("1/3/2/1"), 201);
  }
  {
    SCOPED_TRACE("malformed at menu 2/1");
    Workdir w;
    const RunResult r = w.run("p\n2\n1x\n");
    expect_runtime_error(w, r, kStart + menus_along("2"), 106);
  }
  {
    SCOPED_TRACE("malformed at the silent menu 3/1/2");
    Workdir w;
    const RunResult r = w.run("p\n3\n1\n2\ntwo\n");
    expect_runtime_error(w, r, kStart + menus_along("3/1/2"), 106);
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
    expect_runtime_error(w, r, kStart + menus_along("1/2/2/3") + kProductSignPrompt, c.error);
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
// same pairs as the template list.
TEST(MenuMap, ReadmeAgreesWithTheMenus) {
#ifndef ZORVANDREL_SOURCE_DIR
  GTEST_SKIP() << "the source directory is not known to this build";
#else
  std::ifstream in(std::string(ZORVANDREL_SOURCE_DIR) + "/README.md", std::ios::binary);
  ASSERT_TRUE(in) << "README.md not found";
  std::stringstream readme;
  readme << in.rdbuf();
  const std::string all = readme.str();
  const std::string begin = "<!-- menu-map:begin -->";
  const std::string end = "<!-- menu-map:end -->";
  const std::size_t from = all.find(begin);
  const std::size_t to = all.find(end);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  ASSERT_LT(from, to);
  std::istringstream map(all.substr(from + begin.size(), to - from - begin.size()));

  std::map<std::string, int> expected;
  for (const TemplateEntry& leaf : zv::templates::template_registry())
    expected[std::string(leaf.path)] = leaf.number;

  // A row: | path | `mvk_id_N` | what the program does |
  const std::regex row(R"(^\|\s*([0-9/]+)\s*\|\s*`?mvk_id_([0-9]+)`?\s*\|.*\|\s*\r?$)");
  std::map<std::string, int> listed;
  for (std::string line; std::getline(map, line);) {
    std::smatch m;
    if (!std::regex_match(line, m, row)) continue;
    EXPECT_TRUE(listed.emplace(m[1], std::stoi(m[2])).second) << "listed twice: " << m[1];
  }
  EXPECT_EQ(listed, expected);
#endif
}

}  // namespace
