// Template 44: the vertex m, n of the parabola y=ax2+bx+c and the direction of
// its branches.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_44(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_44");
  t.line("program mvk_id_44;");
  t.line(" var a,b,c,m,n,d:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a,b,c", quote, ");");
  t.line(" readln(a,b,c);");
  t.line(" m:=-b/(2*a);");
  t.line(" d:=sqr(b)-4*a*c;");
  t.line(" n:=-d/(4*a);");
  t.line(" if a>0 then begin writeln(", quote, "vetki paraboly napravleny vverh", quote, ");");
  t.line(" writeln(", quote, "m=", quote, ",m:1:2); writeln(", quote, "n-min.znach.=", quote, ",n:1:2); end;");
  t.line(" if a<0 then begin writeln(", quote, "vetki paraboly napravleny vniz", quote, ");");
  t.line(" writeln(", quote, "m=", quote, ",m:1:2); writeln(", quote, "n-max.znach.=", quote, ",n:1:2); end;");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
