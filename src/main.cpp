// Zorvandrel: wires the platform, the console runtime and the dialogue.
#include "console/platform.h"
#include "console/runtime.h"
#include "driver/dialogue.h"

int main() {
  zv::console::Runtime rt(zv::console::system_platform());
  zv::Dialogue dialogue(rt);
  zv::console::CallSite from_start(rt);
  dialogue.run();
}
