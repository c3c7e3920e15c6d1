#pragma once
// The generation log, "logfile.txt" in the current directory: one line per
// completed run, appended; the file is never created, truncated or read.
#include "console/runtime.h"
#include "state/dialogue_state.h"

namespace zv::log {

// The log's name: no output file may overwrite it.
inline constexpr char kLogName[] = "logfile.txt";

// "sgenerirovana programma " + template_id + " v file " + output_name
void LOGWRITE(console::Runtime& rt, const DialogueState& state);
// "Dopushena oshibka pri rabote s programmoy!"
void LOGWRITE2(console::Runtime& rt);

}  // namespace zv::log
