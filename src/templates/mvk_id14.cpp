// Template 14: sum of the first n terms of an arithmetic progression from a1, n
// and an.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_14(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_14");
  t.line("program mvk_id_14;");
  t.line(" var a1,an,sn:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a1,n,an", quote, ");");
  t.line(" readln(a1,n,an);");
  t.line(" sn:=n/2*(a1+an);");
  t.line(" writeln(", quote, "sn=", quote, ",sn:1:0);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
