// Template 32: number of terms of a geometric progression from b1, q and bn,
// printed without decimals. The program declares a variable c it never uses.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_32(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_32");
  t.line("program mvk_id_32;");
  t.line(" var c,k,b1,q,bn,n:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,q,bn", quote, ");");
  t.line(" readln(b1,q,bn);");
  t.line(" k:=bn/b1;");
  t.line(" n:=ln(k)/ln(q)+1;");
  t.line(" writeln(", quote, "kol-vo chlenov=", quote, ",n:1:0);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
