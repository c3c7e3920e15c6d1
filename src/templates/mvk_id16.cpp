// Template 16: product of the first n terms of an arithmetic progression from
// a1, n and d. The program counts the n terms, so a constant or decreasing
// progression multiplies exactly n of them too.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_16(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_16");
  t.line("program mvk_id_16;");
  t.line(" var an,a1,d,p:real; i,n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a1,n,d", quote, ");");
  t.line(" readln(a1,n,d);");
  t.line(" p:=1; an:=a1+d*(n-1);");
  t.line(" for i:=1 to n do");
  t.line("  begin p:=p*a1; a1:=a1+d; end;");
  t.line(" writeln(", quote, "proizvedenie ", quote, ",n,", quote, " chlenov=", quote, ",p:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
