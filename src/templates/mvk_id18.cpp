// Template 18: n-th term of an arithmetic progression from a1, d and n.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_18(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_18");
  t.line("program mvk_id_18;");
  t.line(" var a1,d,an:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a1,d,n", quote, ");");
  t.line(" readln(a1,d,n);");
  t.line(" an:=a1+d*(n-1);");
  t.line(" writeln(", quote, "an=", quote, ",an:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
