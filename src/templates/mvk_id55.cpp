// Template 55: the midpoint of a segment from its end points.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_55(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_55");
  t.line("program mvk_id_55;");
  t.line(" var x1,x2,x3,y1,y2,y3:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite x1,y1", quote, ");");
  t.line(" readln(x1,y1);");
  t.line(" writeln(", quote, "vvedite x2,y2", quote, ");");
  t.line(" readln(x2,y2);");
  t.line(" x3:=(x1+x2)/2;");
  t.line(" y3:=(y1+y2)/2;");
  t.line(" writeln(", quote, "koordinaty serediny otrezka=", quote, ",x3:1:2,", quote, "; ", quote, ",y3:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
