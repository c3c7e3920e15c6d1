// Template 52: geometric mean of a typed list.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_52(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_52");
  t.line("program mvk_id_52;");
  t.line(" var a:array[1..100] of real;");
  t.line("     i,n:integer;");
  t.line("     p,pr:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite kol-vo elementov masiva", quote, ");");
  t.line(" readln(n); p:=1;");
  t.line(" for i:=1 to n do begin");
  t.line("  writeln(", quote, "vvedite a[", quote, ",i,", quote, "]", quote, ");");
  t.line("  readln(a[i]);");
  t.line("  p:=p*a[i];");
  t.line(" end;");
  t.line(" pr:=exp(1/n*ln(p));");
  t.line(" writeln(", quote, "srednee geometricheskoe=", quote, ",pr:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
