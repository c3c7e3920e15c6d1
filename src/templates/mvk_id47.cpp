// Template 47: the quadratic inequality ax2+bx+c (sign) 0. The writer picks
// the lines that print the answer by the exact sign typed (no trimming): each
// of the five comparison signs has its own three answer lines, one for d<0,
// d=0 and d>0, and the program refuses an a that is not positive. Any other
// sign gets no answer lines and an empty d=0 block, so the program still
// compiles and runs, printing nothing.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_47(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  const ShortString& sign = state.inequality_sign;
  const bool greater = sign == ">";
  const bool less = sign == "<";
  const bool greater_equal = sign == ">=";
  const bool less_equal = sign == "<=";
  const bool not_equal = sign == "<>";
  const bool answered = greater || less || greater_equal || less_equal || not_equal;

  TemplateFile t(rt, state, "mvk_id_47");
  t.line("program mvk_id_47;");
  t.line(" var d,a,x1,x2,b,c:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite a,b,c", quote, ");");
  t.line(" readln(a,b,c);");
  if (answered) {
    t.line(" if a<=0 then begin writeln(", quote, "ERROR!!! a>0!", quote, "); readln; halt; end;");
  }
  t.line(" d:=sqr(b)-4*a*c;");
  t.line(" if d<0 then");
  // d<0: every x, or no solution.
  if (greater) t.line(" writeln(", quote, "x - lyuboy", quote, ");");
  if (less) t.line(" writeln(", quote, "resheniy net", quote, ");");
  if (greater_equal) t.line(" writeln(", quote, "x - lyuboy", quote, ");");
  if (less_equal) t.line(" writeln(", quote, "resheniy net", quote, ");");
  if (not_equal) t.line(" writeln(", quote, "x - lyuboy", quote, ");");
  t.line(" if d=0 then begin");
  // d=0: the double root; these lines close the block.
  if (greater) t.line(" x1:=-b/(2*a); writeln(", quote, "x<>", quote, ",x1:1:2); end;");
  if (less) t.line(" writeln(", quote, "resheniy net", quote, "); end;");
  if (greater_equal) t.line(" writeln(", quote, "x lyuboy", quote, "); end;");
  if (less_equal) t.line(" x1:=-b/(2*a); writeln(", quote, "x=", quote, ",x1:1:2); end;");
  if (not_equal) t.line(" x1:=-b/(2*a); writeln(", quote, "x<>", quote, ",x1:1:2); end;");
  if (!answered) t.line(" end;");
  t.line(" if d>0 then begin");
  t.line("  x1:=(-b+sqrt(d))/(2*a); x2:=(-b-sqrt(d))/(2*a);");
  // d>0: two bounds around the roots x1 > x2.
  if (greater) t.line("  writeln(", quote, "x>", quote, ",x1:1:2,", quote, " x<", quote, ",x2:1:2);");
  if (less) t.line("  writeln(", quote, "x>", quote, ",x2:1:2,", quote, " x<", quote, ",x1:1:2);");
  if (greater_equal) t.line("  writeln(", quote, "x>=", quote, ",x1:1:2,", quote, " x<=", quote, ",x2:1:2);");
  if (less_equal) t.line("  writeln(", quote, "x>=", quote, ",x2:1:2,", quote, " x<=", quote, ",x1:1:2);");
  if (not_equal) t.line("  writeln(", quote, "x<>", quote, ",x1:1:2,", quote, " x<>", quote, ",x2:1:2);");
  t.line(" end;");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
