#pragma once
// The one record of a run: the driver fills it, the template writers and
// the generation log read it. Every text field starts empty, the number at 0.
#include "console/short_string.h"

namespace zv {

struct DialogueState {
  ShortString output_name;      // typed name + ".txt", cut at 255
  ShortString quote;            // one apostrophe, set first thing in a run
  ShortString function_text;    // templates 1 and 2
  ShortString condition_sign;   // templates 6, 9 and 13
  ShortString inequality_sign;  // templates 46 and 47
  ShortString template_id;      // set by the writer that ran; empty: none ran
  double condition_number = 0;  // templates 6, 9 and 13
  // The existing file that no output file may overwrite (the log's name),
  // set by the driver; none when null.
  const char* guarded_name = nullptr;
};

}  // namespace zv
