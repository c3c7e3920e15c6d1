// Template 17: product of the first n terms of an arithmetic progression from
// a1, an and n. Like template 16 it counts the n terms.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_17(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_17");
  t.line("program mvk_id_17;");
  t.line(" var d,an,a1,p:real; i,n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a1,an,n", quote, ");");
  t.line(" readln(a1,an,n);");
  t.line(" p:=1; d:=(an-a1)/(n-1);");
  t.line(" for i:=1 to n do");
  t.line("  begin p:=p*a1; a1:=a1+d; end;");
  t.line(" writeln(", quote, "proizvedenie ", quote, ",n,", quote, " chlenov=", quote, ",p:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
