// The run flow: greeting, output name, top menu, one branch, log, banner.
#include "driver/dialogue.h"

#include "log/generation_log.h"

namespace zv {

void Dialogue::run() {
  state_.quote.assign("'");
  state_.guarded_name = log::kLogName;  // no output file may overwrite the log
  print();
  print("Welcome to Zorvandrel! Please, read FAQ & README files.");
  print();
  print("vvedite imya fayla, v kororuy budet sgenerirovana programma");
  text_answer(state_.output_name);
  state_.output_name.append(".txt");  // cut at 255 like every short string
  top_menu();
  end_of_run();
}

void Dialogue::top_menu() {
  print("vyberite tip generiruemoy programmy");
  print();
  print("chtoby sgenerirovat programmy matematicheskih operaziy, nazhmite 1");
  print("chtoby sgenerirovat programmy geometrycheskih operaziy, nazhmite 2");
  print("chtoby sgenerirovat programmy logicheskih operaziy, nazhmite 3");
  print();
  A = menu_answer();
  if (A != 1 && A != 2 && A != 3) print("oshyblys pri vvode!");
  if (A == 1) mathematics();
  if (A == 2) geometry();
  if (A == 3) logic();
}

void Dialogue::end_of_run() {
  {
    console::CallSite into_log(rt_);
    if (state_.template_id.empty()) {
      log::LOGWRITE2(rt_);
    } else {
      log::LOGWRITE(rt_, state_);
    }
  }
  print();
  print("Zorvandrel v 0.3");
  print("avtory - komanda razrabotchikov Zorvandrel");
  print("nash sayt v internete - www.zorvandrel.example");
  rt_.skip_line_end();  // wait for Enter
  rt_.io_check();
  rt_.finish();
}

// ---- rules shared by every menu --------------------------------------------

void Dialogue::print(std::string_view text) {
  rt_.write_text(rt_.output(), text);
  rt_.io_check();
  print();
}

void Dialogue::print() {
  rt_.write_line_end(rt_.output());
  rt_.io_check();
}

// The menu answer is read as a 32-bit number, range-checked to a 16-bit
// choice; the rest of its line is discarded.
std::int16_t Dialogue::menu_answer(console::Location at) {
  const std::int32_t value = rt_.read_integer();
  rt_.io_check(at);
  const std::int16_t choice = rt_.range_check(value, at);
  rt_.skip_line_end();
  rt_.io_check(at);
  return choice;
}

void Dialogue::text_answer(ShortString& into, console::Location at) {
  into = rt_.read_line();
  rt_.io_check(at);
  rt_.skip_line_end();
  rt_.io_check(at);
}

void Dialogue::wrong_choice() { print("oshiblis pri vvode!"); }

void Dialogue::generate(templates::TemplateWriter writer) {
  {
    console::CallSite into_writer(rt_);
    writer(rt_, state_);
  }
  rt_.write_text(rt_.output(), "programma sgenerirovana v file ");
  rt_.io_check();
  rt_.write_text(rt_.output(), state_.output_name);
  rt_.io_check();
  print(" v papke programmy");
}

}  // namespace zv
