// Template 2: tests the user's function for evenness, then oddness, at
// x = 0, 0.25, ... 100 against -x.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_2(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  TemplateFile t(rt, state, "mvk_id_2");
  t.line("program mvk_id_2;");
  t.line(" var y1,y2,x:real;");
  t.line("     a:boolean;");
  t.line("begin");
  t.line(" x:=0;");
  t.line(" while x<=100 do begin");
  t.line(" y1:=", state.function_text, ";");
  t.line(" x:=-x;");
  t.line(" y2:=", state.function_text, ";");
  t.line(" if y1=y2 then a:=true else begin");
  t.line("  writeln(", quote, "funkzia ne yavlaetsya parnoy!", quote, ");");
  t.line("  x:=-1000; end;");
  t.line(" x:=-x; x:=x+0.25;");
  t.line(" end;");
  t.line(" if (a=true) and (x<>1000.25) then writeln(", quote, "funkzia parna!", quote, ");");
  t.line(" x:=0;");
  t.line(" while x<=100 do begin");
  t.line(" y1:=", state.function_text, ";");
  t.line(" x:=-x;");
  t.line(" y2:=", state.function_text, ";");
  t.line(" if y1=-y2 then a:=true else begin");
  t.line("  writeln(", quote, "funkzia ne yavlaetsya neparnoy!", quote, ");");
  t.line("  readln; halt; end;");
  t.line(" x:=-x; x:=x+0.25;");
  t.line(" end;");
  t.line(" if a=true then writeln(", quote, "funkzia neparna!", quote, ");");
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
