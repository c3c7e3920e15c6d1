// Template 12: list of the elements divisible by a typed divisor.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_12(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_12");
  t.line("program mvk_id_12;");
  t.line(" var i,n,d:integer;");
  t.line("     a:array[1..100] of integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite kol-vo elementov i delitel", quote, ");");
  t.line(" readln(n,d);");
  t.line(" for i:=1 to n do begin");
  t.line("  writeln(", quote, "vvedite ", quote, ",i,", quote, " element", quote, ");");
  t.line("  readln(a[i]);");
  t.line(" end; writeln;");
  t.line(" writeln(", quote, "elementy, delyashiesya na delitel:", quote, ");");
  t.line(" for i:=1 to n do begin");
  t.line("  if a[i] mod d=0 then writeln(a[i]);");
  t.line(" end;");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
