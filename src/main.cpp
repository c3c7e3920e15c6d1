// Zorvandrel: wires the platform, the console runtime and the dialogue.
#include "console/platform.h"
#include "console/runtime.h"
#include "driver/command_line.h"
#include "driver/dialogue.h"

int main(int argc, char** argv) {
  // `--help` and `--version` answer before anything of the run is set up.
  if (const auto reply = zv::option_reply(argc, argv); !reply.empty())
    return zv::print_reply(zv::console::system_platform(), reply);
  zv::console::Runtime rt(zv::console::system_platform());
  zv::Dialogue dialogue(rt);
  zv::console::CallSite from_start(rt);
  dialogue.run();
}
