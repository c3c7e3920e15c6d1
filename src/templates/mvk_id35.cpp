// Template 35: first term of a geometric progression from sn, n and q.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_35(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_35");
  t.line("program mvk_id_35;");
  t.line(" var q,sn,b1:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite sn,n,q", quote, ");");
  t.line(" readln(sn,n,q);");
  t.line(" b1:=sn*(q-1)/(exp(n*ln(q))-1);");
  t.line(" writeln(", quote, "b1=", quote, ",b1:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
