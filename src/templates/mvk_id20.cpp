// Template 20: number of terms of an arithmetic progression from a1, d and an
// (n is a real here).
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_20(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_20");
  t.line("program mvk_id_20;");
  t.line(" var a1,d,an,n:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a1,d,an", quote, ");");
  t.line(" readln(a1,d,an);");
  t.line(" n:=(an-a1+d)/d;");
  t.line(" writeln(", quote, "kol-vo chlenov=", quote, ",n:1:0);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
