#pragma once
// The one list of the templates: for each, its number, its writer, the
// menu answers that reach it, whether it writes program text, what the leaf
// reads before writing, and the fixed answers whose programs are kept byte
// for byte under tests/golden/. The driver's menus stay the code that runs;
// the tests and the fuzz targets walk this list instead of keeping their own.
#include <span>
#include <string_view>

#include "templates/writers.h"

namespace zv::templates {

// What a leaf reads after its last menu answer, before the writer runs.
enum class Fragments {
  none,
  function,           // a function of x (templates 1 and 2)
  sum_condition,      // a sign and a number, with the sum's example line
  product_condition,  // a sign and a number, with the product's example line
  inequality,         // an inequality sign (templates 46 and 47)
};

// One golden program: the lines typed after the menu answers, and how the
// file under tests/golden/ that holds the program they give is told from the
// template's other golden files: "mvk_id_<number><variant>.txt".
struct GoldenAnswers {
  std::string_view variant;  // "" for a template's only file
  std::string_view typed;
};

struct TemplateEntry {
  int number;
  TemplateWriter writer;
  std::string_view path;  // the menu answers, top menu first: "1/2/1/3"
  bool writes_text;       // false: the output file is created and left empty
  Fragments fragments;
  // One entry per choice of lines that the answers make, so that every line
  // the writer can write is in some golden file.
  std::span<const GoldenAnswers> golden;
};

// Every template, by number from 1.
std::span<const TemplateEntry> template_registry();

}  // namespace zv::templates
