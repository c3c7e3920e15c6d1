#include "log/generation_log.h"

namespace zv::log {

namespace {

// Bind, open for appending (an existing file only), write the pieces and the
// line end, close; every step checked.
template <class... Pieces>
void append_line(console::Runtime& rt, const Pieces&... pieces) {
  console::TextStream LOGFILE;
  rt.open_append(LOGFILE, kLogName);
  rt.io_check();
  ((rt.write_text(LOGFILE, pieces), rt.io_check()), ...);
  rt.write_line_end(LOGFILE);
  rt.io_check();
  rt.close(LOGFILE);
  rt.io_check();
}

}  // namespace

void LOGWRITE(console::Runtime& rt, const DialogueState& state) {
  append_line(rt, std::string_view("sgenerirovana programma "), state.template_id.view(),
              std::string_view(" v file "), state.output_name.view());
}

void LOGWRITE2(console::Runtime& rt) {
  append_line(rt, std::string_view("Dopushena oshibka pri rabote s programmoy!"));
}

}  // namespace zv::log
