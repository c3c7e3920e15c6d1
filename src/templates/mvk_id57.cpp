// Template 57: whether two strings are the same. It has no program text:
// the writer creates an empty file and records its id.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_57(console::Runtime& rt, DialogueState& state) {
  TemplateFile t(rt, state, "mvk_id_57");
  t.close();
}

}  // namespace zv::templates
