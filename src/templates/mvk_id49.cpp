// Template 49: the golden section of a segment of length a.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_49(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_49");
  t.line("program mvk_id_49;");
  t.line(" var a,b,c:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite dlinu vsego otrezka", quote, ");");
  t.line(" readln(a);");
  t.line(" b:=0.618*a;");
  t.line(" c:=0.382*a;");
  t.line(" writeln(", quote, "dlina 1 otrezka=", quote, ",b:1:2);");
  t.line(" writeln(", quote, "dlina 2 otrezka=", quote, ",c:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
