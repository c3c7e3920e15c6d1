// Template 26: sum of the first n terms of a geometric progression from b1, q
// and bn.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_26(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_26");
  t.line("program mvk_id_26;");
  t.line(" var b1,bn,sn,q:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,q,bn", quote, ");");
  t.line(" readln(b1,q,bn);");
  t.line(" sn:=(bn*q-b1)/(q-1);");
  t.line(" writeln(", quote, "suma n chlenov=", quote, ",sn:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
