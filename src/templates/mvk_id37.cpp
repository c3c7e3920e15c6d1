// Template 37: ratio of a geometric progression from b1, sn and bn.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_37(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_37");
  t.line("program mvk_id_37;");
  t.line(" var b1,sn,bn,q:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,sn,bn", quote, ");");
  t.line(" readln(b1,sn,bn);");
  t.line(" q:=(sn-b1)/(sn-bn);");
  t.line(" writeln(", quote, "delitel q=", quote, ",q:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
