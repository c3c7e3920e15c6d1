// Template 50: a menu-driven calculator of eleven operations. The program is
// named "kalkulator", yet the writer records its own id, mvk_id_50.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_50(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_50");
  t.line("program kalkulator;");
  t.line("var b,c,d,i:real;");
  t.line("    a:integer;");
  t.line("begin");
  t.line("writeln(", quote, "vyberite deystvie, kotoroe vy hotyte provesty", quote, ");");
  t.line("writeln(", quote, "1 - skladyvanie", quote, ");");
  t.line("writeln(", quote, "2 - otnimanie", quote, ");");
  t.line("writeln(", quote, "3 - umnozhenit", quote, ");");
  t.line("writeln(", quote, "4 - delenie", quote, ");");
  t.line("writeln(", quote, "5 - izvlechenie kornya", quote, ");");
  t.line("writeln(", quote, "6 - vozvedenie v stepen", quote, ");");
  t.line("writeln(", quote, "7 - nayti procent ot chisla", quote, ");");
  t.line("writeln(", quote, "8 - nayti sinus ot ugla", quote, ");");
  t.line("writeln(", quote, "9 - nayti cosinus ot ugla", quote, ");");
  t.line("writeln(", quote, "10 - nayti tangens ot ugla", quote, ");");
  t.line("writeln(", quote, "11 - nayti cotangens ot ugla", quote, ");");
  t.line("readln(a);");
  t.line("if (a>11) or (a<1) then begin writeln(", quote, "nepravilnoe znachenie chisla", quote, "); readln; halt; end;");
  t.line("writeln(", quote, "vvedite chyslo ili velicinu ugla, s kotorym vy budete proizvodyt deystvie", quote, ");");
  t.line("readln(b);");
  t.line("if a=1 then begin");
  t.line("writeln(", quote, "vvedite chyslo, kotoroye vy hotyte dobavyt", quote, ");");
  t.line("readln(c);");
  t.line("d:=b+c;");
  t.line("end;");
  t.line("if a=2 then");
  t.line("begin");
  t.line("writeln(", quote, "vvedite chyslo, kotoroye vy hotyte otnyat", quote, ");");
  t.line("readln(c);");
  t.line("d:=b-c;");
  t.line("end;");
  t.line("if a=3 then");
  t.line("begin");
  t.line("writeln(", quote, "vvedite chyslo, kotoroye vy hotyte domnozhyt", quote, ");");
  t.line("readln(c);");
  t.line("d:=b*c;");
  t.line("end;");
  t.line("if a=4 then");
  t.line("begin");
  t.line("writeln(", quote, "vvedite chyslo, na kotoroye vy hotyte podelyt", quote, ");");
  t.line("readln(c);");
  t.line("d:=b/c;");
  t.line("end;");
  t.line("if a=5 then d:=sqrt(b);");
  t.line("if a=6 then");
  t.line("begin");
  t.line("writeln(", quote, "vvedite stepen, v kotoruyu vy hotyte vozvesty chyslo", quote, ");");
  t.line("readln(i);");
  t.line("d:=exp(i*ln(b));");
  t.line("end;");
  t.line("if a=7 then");
  t.line("begin");
  t.line("writeln(", quote, "vvedite kol-vo procentov ot chisla", quote, ");");
  t.line("readln(c);");
  t.line("d:=b/100*c;");
  t.line("end;");
  t.line("if a=8 then d:=sin(b);");
  t.line("if a=9 then d:=cos(b);");
  t.line("if a=10 then d:=sin(b)/cos(b);");
  t.line("if a=11 then d:=cos(b)/sin(b);");
  t.line("writeln(", quote, "resultat=", quote, ",d:1:5);");
  t.line("readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
