// Template 41: the linear equation kx+b=a.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_41(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_41");
  t.line("program mvk_id_41;");
  t.line(" var k,x,b,a:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite k,b,a", quote, ");");
  t.line(" readln(k,b,a);");
  t.line(" if (k=0) and (b=a) then begin writeln(", quote, "x - lyboy", quote, "); readln; halt; end;");
  t.line(" if (k=0) and (b<>a) then begin writeln(", quote, "net resheniy", quote, "); readln; halt; end;");
  t.line(" x:=(a-b)/k; writeln(", quote, "x=", quote, ",x:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
