// Template 9: product of the elements that meet the user's sign and number.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_9(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_9");
  t.line("program mvk_id_9;");
  t.line(" var k,i,p:integer;");
  t.line("     a:array[0..10000] of integer;");
  t.line("begin");
  t.line(" p:=1;");
  t.line(" writeln(", quote, "vvedite kol-vo elementov", quote, ");");
  t.line(" readln(i);");
  t.line(" for k:=1 to i do begin");
  t.line("  writeln(", quote, "vvedite ", quote, ",k,", quote, " element masiva", quote, ");");
  t.line("  readln(a[i]);");
  t.line("  if a[i]", state.condition_sign, state.condition_number, " then p:=p*a[i];");
  t.line(" end;");
  t.line(" writeln(", quote, "proizvedenie elementov=", quote, ",p:1);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
