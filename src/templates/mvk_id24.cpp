// Template 24: difference of an arithmetic progression from a1, n and an.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_24(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_24");
  t.line("program mvk_id_24;");
  t.line(" var a1,d,an:real; n:integer;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a1,n,an", quote, ");");
  t.line(" readln(a1,n,an);");
  t.line(" d:=(an-a1)/(n-1);");
  t.line(" writeln(", quote, "razniza progresii=", quote, ",d:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
