// Template 58: what two strings have in common. It has no program text:
// the writer creates an empty file and records its id.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_58(console::Runtime& rt, DialogueState& state) {
  TemplateFile t(rt, state, "mvk_id_58");
  t.close();
}

}  // namespace zv::templates
