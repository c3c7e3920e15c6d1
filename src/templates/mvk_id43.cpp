// Template 43: b and c of x2+bx+c=0 from its roots x1 and x2.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_43(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_43");
  t.line("program mvk_id_43;");
  t.line(" var b,c,x1,x2:real;");
  t.line("begin");
  t.line("writeln(", quote, "vvedite x1,x2", quote, ");");
  t.line(" readln(x1,x2);");
  t.line(" b:=-(x1+x2);");
  t.line(" c:=x1*x2;");
  t.line(" writeln(", quote, "b=", quote, ",b:1:2); writeln(", quote, "c=", quote, ",c:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
