// Template 23: first term of an arithmetic progression from sn, n and d.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_23(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_23");
  t.line("program mvk_id_23;");
  t.line(" var sn,a1,d:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite sn,n,d", quote, ");");
  t.line(" readln(sn,n,d);");
  t.line(" a1:=(2*sn/n-d*(n-1))/2;");
  t.line(" writeln(", quote, "a1=", quote, ",a1:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
