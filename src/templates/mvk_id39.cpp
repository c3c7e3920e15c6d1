// Template 39: first term of an infinitely decreasing geometric progression
// from q and s; the same ratio test and stop as template 38.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_39(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_39");
  t.line("program mvk_id_39;");
  t.line(" var s,b1,q:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite q,s", quote, ");");
  t.line(" readln(q,s);");
  t.line(" if (abs(q)>=1) or (q=0) then begin writeln; writeln(", quote, "ERROR: |q|<1, q<>0!", quote, "); readln; halt; end;");
  t.line(" b1:=s*(1-q);");
  t.line(" writeln(", quote, "b1=", quote, ",b1:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
