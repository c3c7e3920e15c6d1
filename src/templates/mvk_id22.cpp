// Template 22: first term of an arithmetic progression from d, n and an.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_22(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_22");
  t.line("program mvk_id_22;");
  t.line(" var a1,d,an:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite d,n,an", quote, ");");
  t.line(" readln(d,n,an);");
  t.line(" a1:=an-d*(n-1);");
  t.line(" writeln(", quote, "a1=", quote, ",a1:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
