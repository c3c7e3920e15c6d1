// Template 53: the length of a segment (vector) from its end points.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_53(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_53");
  t.line("program mvk_id_53;");
  t.line(" var x1,y1,x2,y2,l:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite x1,y1", quote, ");");
  t.line(" readln(x1,y1);");
  t.line(" writeln(", quote, "vvedite x2,y2", quote, ");");
  t.line(" readln(x2,y2);");
  t.line(" l:=sqrt(sqr(x2-x1)+sqr(y2-y1));");
  t.line(" writeln(", quote, "dlina otrezka(vektora)=", quote, ",l:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
