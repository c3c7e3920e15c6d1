// The geometry branch: menus 2, 2/1 and 2/1/1 and their four leaves
// (templates 53-56). No fragment is read on the way.
#include "driver/dialogue.h"

namespace zv {

using namespace templates;

// Menu 2: kind of geometric operation; 1 is its only choice.
void Dialogue::geometry() {
  print();
  print("vyberite tip geometrycheskoy operazii");
  print();
  print("chtoby sgenerirovat programmy dlya raboty s ploskostyu koordinat, nazhmite 1");
  U = menu_answer();
  if (U == 1) coordinate_plane();
  else wrong_choice();
}

// Menu 2/1: the coordinate plane; 1 is its only choice.
void Dialogue::coordinate_plane() {
  print();
  print("chtoby sgenerirovat programmy dlya raboty s otrezkami i vektorami, nazhmite 1");
  V = menu_answer();
  if (V == 1) segments_and_vectors();
  else wrong_choice();
}

// Menu 2/1/1: segments and vectors; no title, no empty line. Leaf 4 writes
// the empty template 56.
void Dialogue::segments_and_vectors() {
  print("1 - programma dlya vychysleniya dliny otrazka/vektora po koord. nachala i konza");
  print("2 - programma dlya vychysleniya dliny vektora po ego koordinatam");
  print("3 - programma dlya vychysleniya koord. sered. otrezka po koord. nachala i konza");
  print("4 - programma dlya vychesleniya koord. nachala/konza po koord. drug.konza i ser.");
  W = menu_answer();
  if (W == 1) generate(mvk_id_53);
  else if (W == 2) generate(mvk_id_54);
  else if (W == 3) generate(mvk_id_55);
  else if (W == 4) generate(mvk_id_56);
  else wrong_choice();
}

}  // namespace zv
