// Template 38: sum of an infinitely decreasing geometric progression from b1
// and q; the program stops with its ERROR line unless 0 < |q| < 1.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_38(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_38");
  t.line("program mvk_id_38;");
  t.line(" var s,b1,q:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,q", quote, ");");
  t.line(" readln(b1,q);");
  t.line(" if (abs(q)>=1) or (q=0) then begin writeln; writeln(", quote, "ERROR: |q|<1, q<>0!", quote, "); readln; halt; end;");
  t.line(" s:=b1/(1-q);");
  t.line(" writeln(", quote, "suma progresii=", quote, ",s:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
