// Template 48: the chance of winning a lottery with m numbers out of n.
// The tickets needed are the combinations C(n, m), counted in a real: after
// step i, c holds C(n-m+i, i), a whole number. A draw of m<1 or m>n is
// refused.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_48(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_48");
  t.line("program mvk_id_48;");
  t.line(" var i,m,n:integer; c,x:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite kol-vo nomerov v viygrushnoy kombinazii i obshee kol-vo nomerov", quote, ");");
  t.line(" readln(m,n); c:=1;");
  t.line(" if (m<1) or (m>n) then begin writeln(", quote, "ERROR!!! 0<m<=n!", quote, "); readln; halt; end;");
  t.line(" for i:=1 to m do begin c:=c*(n-m+i)/i; end;");
  t.line(" x:=100/c;");
  t.line(" writeln(", quote, "veroyatnost vyigrusha=", quote, ",x:1:10,", quote, "%", quote, ");");
  t.line(" writeln(", quote, "kol-vo biletov, neobhodimoe dlya vyigrysha ", quote, ",c:1:0);");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
