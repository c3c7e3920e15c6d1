// Template 31: n-th term of a geometric progression from b1, sn and q.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_31(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_31");
  t.line("program mvk_id_31;");
  t.line(" var b1,sn,q,bn:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite b1,sn,q", quote, ");");
  t.line(" readln(b1,sn,q);");
  t.line(" bn:=(sn*(q-1)+b1)/q;");
  t.line(" writeln(", quote, "bn=", quote, ",bn:1:2);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
