// Template 45: the system of linear equations ax+by=c, dx+ey=f.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_45(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_45");
  t.line("program mvk_id_45;");
  t.line(" var a,b,c,d,e,f,x,y:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite koefizienty a,b,c uravneniya ax+by=c", quote, ");");
  t.line(" readln(a,b,c);");
  t.line(" writeln(", quote, "vvedite koefizienty d,e,f uravneniya dx+ey=f", quote, ");");
  t.line(" readln(d,e,f);");
  t.line(" x:=(f*b-e*c)/(d*b-e*a);");
  t.line(" y:=(f*a-d*c)/(e*a-d*b);");
  t.line(" writeln(", quote, "x=", quote, ",x:1:2);");
  t.line(" writeln(", quote, "y=", quote, ",y:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
