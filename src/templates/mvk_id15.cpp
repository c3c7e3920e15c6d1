// Template 15: sum of the first n terms of an arithmetic progression from a1, n
// and d.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_15(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_15");
  t.line("program mvk_id_15;");
  t.line(" var a1,d,sn:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a1,n,d", quote, ");");
  t.line(" readln(a1,n,d);");
  t.line(" sn:=n/2*(2*a1+d*(n-1));");
  t.line(" writeln(", quote, "sn=", quote, ",sn:1:0);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
