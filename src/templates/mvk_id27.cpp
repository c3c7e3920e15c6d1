// Template 27: sum of the first n terms of a geometric progression from b1, n
// and q, with q to the power n written as exp(n*ln(q)).
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_27(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_27");
  t.line("program mvk_id_27;");
  t.line(" var b1,sn,q:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,n,q", quote, ");");
  t.line(" readln(b1,n,q);");
  t.line(" sn:=b1*(exp(n*ln(q))-1)/(q-1);");
  t.line(" writeln(", quote, "suma n chlenov=", quote, ",sn:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
