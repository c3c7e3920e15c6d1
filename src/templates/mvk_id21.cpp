// Template 21: number of terms of an arithmetic progression from a1, an and sn
// (n is a real here).
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_21(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_21");
  t.line("program mvk_id_21;");
  t.line(" var a1,sn,an,n:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a1,an,sn", quote, ");");
  t.line(" readln(a1,an,sn);");
  t.line(" n:=2*sn/(a1+an);");
  t.line(" writeln(", quote, "kol-vo chlenov=", quote, ",n:1:0);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
