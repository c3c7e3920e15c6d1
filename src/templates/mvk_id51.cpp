// Template 51: arithmetic mean of a typed list.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_51(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_51");
  t.line("program mvk_id_51;");
  t.line(" var a:array[1..100] of real;");
  t.line("     i,n:integer;");
  t.line("     s,sr:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite kol-vo elementov masiva", quote, ");");
  t.line(" readln(n); s:=0;");
  t.line(" for i:=1 to n do begin");
  t.line("  writeln(", quote, "vvedite a[", quote, ",i,", quote, "]", quote, ");");
  t.line("  readln(a[i]);");
  t.line("  s:=s+a[i];");
  t.line(" end;");
  t.line(" sr:=s/n;");
  t.line(" writeln(", quote, "srednee arifmeticheskoe=", quote, ",sr:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
