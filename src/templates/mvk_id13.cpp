// Template 13: list of the elements that meet the user's sign and number.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_13(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_13");
  t.line("program mvk_id_13;");
  t.line(" var i,n:integer;");
  t.line("     a:array[1..100] of integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite kol-vo elementov", quote, ");");
  t.line(" readln(n);");
  t.line(" for i:=1 to n do begin");
  t.line("  writeln(", quote, "vvedite ", quote, ",i,", quote, " element", quote, ");");
  t.line("  readln(a[i]);");
  t.line(" end; writeln;");
  // The heading repeats the comparison inside a string literal: an apostrophe
  // in the sign is doubled there; the test below keeps the sign as typed.
  t.line(" writeln(", quote, "elementy ", in_literal(state.condition_sign), state.condition_number, quote, ");");
  t.line(" for i:=1 to n do begin");
  t.line("  if a[i]", state.condition_sign, state.condition_number, " then writeln(a[i]);");
  t.line(" end;");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
