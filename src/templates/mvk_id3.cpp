// Template 3: inverse of y=kx+b for typed k and b.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_3(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_3");
  t.line("program mvk_id_3;");
  t.line(" var k,b,z1,z2:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite k,b dlya funkzii y=kx+b", quote, ");");
  t.line(" readln(k,b);");
  t.line(" z1:=1/k; z2:=-b/k;");
  t.line(" writeln(", quote, "obratnaya funkzia - y=", quote, ",z1:1:2,", quote, "*x+", quote, ",z2:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
