// Template 54: the length of a vector from its coordinates.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_54(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_54");
  t.line("program mvk_id_54;");
  t.line(" var x,y,l:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite x,y - koordinaty vekrota", quote, ");");
  t.line(" readln(x,y);");
  t.line(" l:=sqrt(sqr(x)+sqr(y));");
  t.line(" writeln(", quote, "dlina vektora=", quote, ",l:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
