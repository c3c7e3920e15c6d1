// Template 56: a start or end point of a segment from the other end and the
// midpoint. It has no program text: the writer creates an empty file and
// records its id.
#include "templates/frame.h"
#include "templates/writers.h"

namespace zv::templates {

void mvk_id_56(console::Runtime& rt, DialogueState& state) {
  TemplateFile t(rt, state, "mvk_id_56");
  t.close();
}

}  // namespace zv::templates
