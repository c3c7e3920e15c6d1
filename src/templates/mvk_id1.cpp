// Template 1: value of the user's function at a typed x.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_1(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_1");
  t.line("program mvk_id_1;");
  t.line(" var x,y:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite x", quote, ");");
  t.line(" readln(x);");
  t.line(" y:=", state.function_text, ";");
  t.line(" writeln(", quote, "znachenie funkzii ", quote, ",y:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
