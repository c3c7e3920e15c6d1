// Template 29: product of the first n terms of a geometric progression from b1,
// bn and n: the ratio comes first, then the same loop as template 28. The read
// and "p:=1;" share line 5.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_29(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_29");
  t.line("program mvk_id_29;");
  t.line(" var b1,q,bn,p:real; i,n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,bn,n", quote, ");");
  t.line(" readln(b1,bn,n); p:=1;");
  t.line(" q:=exp(1/(n-1)*ln(bn/b1));");
  t.line(" for i:=1 to n do begin");
  t.line("  p:=p*b1; b1:=b1*q; end;");
  t.line(" writeln(", quote, "proizvedenie n chlenov=", quote, ",p:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
