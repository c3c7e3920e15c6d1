// Template 25: difference of an arithmetic progression from sn, a1 and n.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_25(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_25");
  t.line("program mvk_id_25;");
  t.line(" var a1,d,sn:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite sn,a1,n", quote, ");");
  t.line(" readln(sn,a1,n);");
  t.line(" d:=((2*sn/n)-(2*a1))/(n-1);");
  t.line(" writeln(", quote, "razniza progresii=", quote, ",d:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
