// Template 46: the linear inequality kx+b (sign) a, with the sign the user
// typed. The sign stands inside a string literal of the generated program, so
// its apostrophes are doubled there. For the five comparison signs the program
// prints the mirrored sign when k is negative (-2x+1>7 means x<-3).
#include <string_view>

#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

namespace {

// The sign that x takes when both sides are divided by a negative k; empty
// for a text that is not one of the five comparison signs.
std::string_view mirrored(std::string_view sign) {
  if (sign == ">") return "<";
  if (sign == "<") return ">";
  if (sign == ">=") return "<=";
  if (sign == "<=") return ">=";
  if (sign == "<>") return "<>";
  return {};
}

}  // namespace

void mvk_id_46(console::Runtime& rt, DialogueState& state) {
  const ShortString& quote = state.quote;
  const std::string_view mirror = mirrored(state.inequality_sign);
  TemplateFile t(rt, state, "mvk_id_46");
  t.line("program mvk_id_46;");
  t.line(" var k,x,b,a:real;");
  t.line("begin");
  t.line(" writeln(", quote, "vvedite k,b,a (kx+b=a)", quote, ");");
  t.line(" readln(k,b,a);");
  t.line(" if k=0 then begin writeln(", quote, "ERROR!!! k<>0!", quote, "); readln; halt; end;");
  t.line(" x:=(a-b)/k;");
  if (!mirror.empty()) {
    t.line(" if k>0 then writeln(", quote, "x", in_literal(state.inequality_sign), quote,
           ",x:1:2) else writeln(", quote, "x", mirror, quote, ",x:1:2);");
  } else {
    t.line(" writeln(", quote, "x", in_literal(state.inequality_sign), quote, ",x:1:2);");
  }
  t.line(" readln;");
  t.line("end.");
  t.close();
}

}  // namespace zv::templates
