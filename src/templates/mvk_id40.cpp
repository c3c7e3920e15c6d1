// Template 40: ratio of an infinitely decreasing geometric progression from b1
// and s. The program prints q alone, or its ERROR line when |q| >= 1 and goes
// on; the if line ends without a semicolon, as the else follows.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_40(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_40");
  t.line("program mvk_id_40;");
  t.line(" var s,b1,q:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,s", quote, ");");
  t.line(" readln(b1,s);");
  t.line(" q:=1-b1/s;");
  t.line(" if abs(q)>=1 then writeln(", quote, "ERROR: nevernoe uslovie, |q|<1!", quote, ")");
  t.line(" else writeln(q:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
