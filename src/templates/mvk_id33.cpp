// Template 33: number of terms of a geometric progression from b1, q and sn,
// printed without decimals.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_33(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_33");
  t.line("program mvk_id_33;");
  t.line(" var k,b1,q,sn,n:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,q,sn", quote, ");");
  t.line(" readln(b1,q,sn);");
  t.line(" k:=(sn*q-sn+b1)/b1;");
  t.line(" n:=ln(k)/ln(q);");
  t.line(" writeln(", quote, "kol-vo chlenov=", quote, ",n:1:0);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
