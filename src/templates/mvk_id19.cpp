// Template 19: n-th term of an arithmetic progression from a1, sn and n.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_19(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_19");
  t.line("program mvk_id_19;");
  t.line(" var a1,sn,an:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a1,sn,n", quote, ");");
  t.line(" readln(a1,sn,n);");
  t.line(" an:=(2*sn/n)-a1;");
  t.line(" writeln(", quote, "an=", quote, ",an:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
