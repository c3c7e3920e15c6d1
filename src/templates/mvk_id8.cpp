// Template 8: product of the elements divisible by a typed divisor.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_8(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_8");
  t.line("program mvk_id_8;");
  t.line(" var k,i,p,d:integer;");
  t.line("     a:array[0..10000] of integer;");
  t.line("begin");
  t.line(" p:=1;");
  t.line(" writeln(", quote, "vvedite kol-vo elementov i delitel", quote, ");");
  t.line(" readln(i,d);");
  t.line(" for k:=1 to i do begin");
  t.line("  writeln(", quote, "vvedite ", quote, ",k,", quote, " element masiva", quote, ");");
  t.line("  readln(a[i]);");
  t.line("  if a[i] mod d=0 then p:=p*a[i];");
  t.line(" end;");
  t.line(" writeln(", quote, "proizvedenie elementov=", quote, ",p:1);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
