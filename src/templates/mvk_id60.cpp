// Template 60: removing values of strings, second item. It has no program text:
// the writer creates an empty file and records its id.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_60(console::Runtime& rt, DialogueState& state) {
  TemplateFile t(rt, state, "mvk_id_60");
  t.close();
}

}  // namespace zv::templates
