// The logic branch: menus 3, 3/1, 3/1/1 and 3/1/2 and their four leaves,
// all of which write empty templates (57-60). No fragment is read.
#include "driver/dialogue.h"

namespace zv {

using namespace templates;

// Menu 3: kind of logical operation; 1 is its only choice.
void Dialogue::logic() {
  print();
  print("vyberite tip logicheslih operaziy");
  print();
  print("chtoby sgenerirovat programmy dlya raboty so strokami (string), nazhmite 1");
  print();
  X = menu_answer();
  if (X == 1) strings();
  else wrong_choice();
}

// Menu 3/1: strings.
void Dialogue::strings() {
  print("vyberite tip raboty so strokami");
  print();
  print("chtoby sgenerirovat programmy dlya opredeleniya shozhesti strok, nazhmite 1");
  print("chtoby sgenerirovat programmy dlya udaleniya znacheniya strok, nazhmite 2");
  Y = menu_answer();
  if (Y == 1) string_similarity();
  else if (Y == 2) string_removal();
  else wrong_choice();
}

// Menu 3/1/1: similarity of strings. Same two lines as menu 3/1/2; no title,
// no empty line, and no error line: another choice ends the path silently.
void Dialogue::string_similarity() {
  print("1 - programma dlya opredeleniya, odinakovy li stroki");
  print("2 - programma dlya opredeleniya obshego v strokah");
  Z = menu_answer();
  if (Z == 1) generate(mvk_id_57);
  else if (Z == 2) generate(mvk_id_58);
}

// Menu 3/1/2: removing values of strings. Same lines and silence as 3/1/1.
void Dialogue::string_removal() {
  print("1 - programma dlya opredeleniya, odinakovy li stroki");
  print("2 - programma dlya opredeleniya obshego v strokah");
  Z1 = menu_answer();
  if (Z1 == 1) generate(mvk_id_59);
  else if (Z1 == 2) generate(mvk_id_60);
}

}  // namespace zv
