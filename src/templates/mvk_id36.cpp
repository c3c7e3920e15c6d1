// Template 36: ratio of a geometric progression from b1, n and bn.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_36(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_36");
  t.line("program mvk_id_36;");
  t.line(" var k,b1,bn,q:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,n,bn", quote, ");");
  t.line(" readln(b1,n,bn);");
  t.line(" k:=bn/b1;");
  t.line(" q:=exp((1/(n-1))*ln(k));");
  t.line(" writeln(", quote, "delitel q=", quote, ",q:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
