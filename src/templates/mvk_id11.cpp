// Template 11: smallest element and its position.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_11(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_11");
  t.line("program mvk_id_11;");
  t.line(" var min,i,n,i1:integer;");
  t.line("     a:array[1..100] of integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite kol-vo elementov", quote, ");");
  t.line(" readln(n);");
  t.line(" for i:=1 to n do begin");
  t.line("  writeln(", quote, "vvedite ", quote, ",i,", quote, " element", quote, ");");
  t.line("  readln(a[i]);");
  t.line(" end;");
  // i1 starts at 1, so a smallest first element reports its own position.
  t.line(" min:=a[1]; i1:=1; for i:=1 to n do begin");
  t.line("  if min>a[i] then begin min:=a[i]; i1:=i; end;");
  t.line(" end;");
  t.line(" writeln(", quote, "naymenshiy element=", quote, ",min,", quote, " indeks=", quote, ",i1);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
