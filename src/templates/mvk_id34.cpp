// Template 34: first term of a geometric progression from q, n and bn.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_34(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_34");
  t.line("program mvk_id_34;");
  t.line(" var q,bn,b1:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite q,n,bn", quote, ");");
  t.line(" readln(q,n,bn);");
  t.line(" b1:=bn/exp((n-1)*ln(q));");
  t.line(" writeln(", quote, "b1=", quote, ",b1:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
