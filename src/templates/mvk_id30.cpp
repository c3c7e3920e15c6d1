// Template 30: n-th term of a geometric progression from b1, q and n (n is a
// real in this program).
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_30(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_30");
  t.line("program mvk_id_30;");
  t.line(" var b1,n,q,bn:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,q,n", quote, ");");
  t.line(" readln(b1,q,n);");
  t.line(" bn:=b1*exp((n-1)*ln(q));");
  t.line(" writeln(", quote, "bn=", quote, ",bn:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
