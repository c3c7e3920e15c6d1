// Template 42: the roots of the quadratic equation ax2+bx+c=0.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_42(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_42");
  t.line("program mvk_id_42;");
  t.line(" var a,b,c,d,x1,x2:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a,b,c", quote, ");");
  t.line(" readln(a,b,c);");
  t.line(" d:=sqr(b)-4*a*c;");
  t.line(" if d<0 then begin writeln(", quote, "resheniy net", quote, "); end;");
  t.line(" if d=0 then begin x1:=-b/(2*a); writeln(", quote, "x1=x2=", quote, ",x1:1:2); end;");
  t.line(" if d>0 then begin");
  t.line("  x1:=(-b+sqrt(d))/(2*a); x2:=(-b-sqrt(d))/(2*a);");
  t.line("  writeln(", quote, "x1=", quote, ",x1:1:2,", quote, " x2=", quote, ",x2:1:2);");
  t.line(" end;");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
