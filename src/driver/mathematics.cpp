// The mathematics branch: menu 1 and the 26 menus below it, the three
// fragment readers, and the 52 leaves (templates 1-52).
#include "driver/dialogue.h"

namespace zv {

using namespace templates;

namespace {

// The example lines of the sign-and-number prompt. The search for elements
// (leaf 1/2/3/4) shows the product's line too.
constexpr std::string_view kSumExample =
    "naprimer, esli vy hotyte nayti sumu elementov bolshe nulya, vvedite \">\" i \"0\"";
constexpr std::string_view kProductExample =
    "naprimer, esli vy hotyte nayti proizvedenie elementov bolshe nulya, vvedite \">\" i \"0\"";

}  // namespace

// Menu 1: kind of mathematical program.
void Dialogue::mathematics() {
  print("vybetite top matematicheskih operaziy");
  print();
  print("chtoby sgenerirovat programmy dlya raboty s funkziyami, nazhmite 1");
  print("chtoby sgenerirovat programmy dlya raboty s masivami chisel, nazhmite 2");
  print("chtoby sgenerirovat programmy dlya raboty s progresiyami, nazhmite 3");
  print("chtoby sgenerirovat programmy dlya raboty s uravneniyami, nazhmite 4");
  print("chtoby sgenerirovat programmy dlya raboty s neravnostyami, nazhmite 5");
  print("chtoby sgenerirovat drugie programmy, nazhmite 6");
  print();
  B = menu_answer();
  if (B == 1) functions();
  else if (B == 2) arrays();
  else if (B == 3) progressions();
  else if (B == 4) equations();
  else if (B == 5) inequalities();
  else if (B == 6) other_programs();
  else wrong_choice();
}

// Menu 1/1: functions.
void Dialogue::functions() {
  print("vyberite tip programmy raboty s funkziyami");
  print();
  print("1 - programma dlya podsheta znacheniya funkzii");
  print("2 - proverka funkzii na chetnost/nechetnost");
  print("3 - poisk obratnoy funkzii k funkzii vida y=kx+b");
  print();
  C = menu_answer();
  if (C == 1) {
    read_function_text();
    generate(mvk_id_1);
  } else if (C == 2) {
    read_function_text();
    generate(mvk_id_2);
  } else if (C == 3) {
    generate(mvk_id_3);
  } else {
    wrong_choice();
  }
}

// Menu 1/2: arrays. No empty line after the last choice line.
void Dialogue::arrays() {
  print("vyberi tip raboty s masivami");
  print();
  print("1 - programmy dlya vychisleniya sumy elementov");
  print("2 - programmy dlya vychisleniya proizvedeniya elementov");
  print("3 - programmy dlya poiska neobhosymyh elementov");
  D = menu_answer();
  if (D == 1) array_condition(false);
  else if (D == 2) array_condition(true);
  else if (D == 3) array_search();
  else wrong_choice();
}

// Menus 1/2/1 (sum) and 1/2/2 (product): the same lines, the same variable.
void Dialogue::array_condition(bool product) {
  print();
  print("vyberite uslovie dlya programmy");
  print();
  print("1 - bes usloviya");
  print("2 - uslovie deleniya elementa nacelo na chislo");
  print("3 - uslovie elementa bolshe/menshe/drugie znaki/ chisla");
  E = menu_answer();
  if (E == 1) {
    generate(product ? mvk_id_7 : mvk_id_4);
  } else if (E == 2) {
    generate(product ? mvk_id_8 : mvk_id_5);
  } else if (E == 3) {
    read_sign_and_number(product ? kProductExample : kSumExample);
    generate(product ? mvk_id_9 : mvk_id_6);
  } else {
    wrong_choice();
  }
}

// Menu 1/2/3: search in an array.
void Dialogue::array_search() {
  print();
  print("vyberite elementy, neobhodimye dlya poiska/vyvoda");
  print();
  print("1 - poisk naybolshego elementa");
  print("2 - poisk naymenshego elementa");
  print("3 - poisk elementov, delyashihsya nazelo na chislo");
  print("4 - poisk elementov bolshe/menshe/drugie znaki/ chisla");
  print("5 - poisk srednego arifmeticheskogo elementov masiva");
  print("6 - poisk srednego geometricheskogo elementov masiva");
  F = menu_answer();
  if (F == 1) {
    generate(mvk_id_10);
  } else if (F == 2) {
    generate(mvk_id_11);
  } else if (F == 3) {
    generate(mvk_id_12);
  } else if (F == 4) {
    read_sign_and_number(kProductExample);
    generate(mvk_id_13);
  } else if (F == 5) {
    generate(mvk_id_51);
  } else if (F == 6) {
    generate(mvk_id_52);
  } else {
    wrong_choice();
  }
}

// Menu 1/3: kind of progression.
void Dialogue::progressions() {
  print();
  print("vyberite tip progresii, s kotoroy zhelaete rabotat");
  print();
  print("1 - arifmeticheskaya progresiya");
  print("2 - geometricheskaya progresiya");
  print("3 - beskonechno ubyvayushya progresiya");
  G = menu_answer();
  if (G == 1) arithmetic_progression();
  else if (G == 2) geometric_progression();
  else if (G == 3) decreasing_progression();
  else wrong_choice();
}

// Menu 1/3/1: arithmetic progression; each choice opens a two-choice menu.
void Dialogue::arithmetic_progression() {
  print();
  print("vyberite tip raboty s arifmeticheskoy progresiey");
  print();
  print("chtoby nayti sumu n chlenov, nazhmite 1");
  print("chtoby nayti proizvedenie n chlenov, nazhmite 2");
  print("chtoby nayti n-chlen, nazhmite 3");
  print("chtoby nayti kolichestvo chlenov, nazhmite 4");
  print("chtoby nayti a1 (1 chlen), nazhmite 5");
  print("chtoby nayti raznizu progresii (d), nazhmite 6");
  H = menu_answer();
  if (H == 1)
    progression_pair("chtoby nayti summu n chlenov po a1, n, an, nazhmite 1",
                     "chtoby nayti summu n chlenov po a1, n, d, nazhmite 2", mvk_id_14, mvk_id_15);
  else if (H == 2)
    progression_pair("chtoby nayti proizvedenie n chlenov po a1, n, d, nazhmite 1",
                     "chtoby nayti proizvedenie n chlenov po a1, an, n, nazhmite 2", mvk_id_16, mvk_id_17);
  else if (H == 3)
    progression_pair("chtoby nayti n-chlen po a1, d, n, nazhmite 1",
                     "chtoby nayti n-chlen po a1, sn, n, nazhmite 2", mvk_id_18, mvk_id_19);
  else if (H == 4)
    progression_pair("chtoby nayti kol-vo chlenov po a1, d, an, nazhmite 1",
                     "chtoby nayti kol-vo chlenov po a1, an, sn, nazhmite 2", mvk_id_20, mvk_id_21);
  else if (H == 5)
    progression_pair("chtoby nayti a1 po d, n, an, nazhmite 1", "chtoby nayti a1 po sn, n, d, nazhmite 2",
                     mvk_id_22, mvk_id_23);
  else if (H == 6)  // this pair has no comma before "nazhmite"
    progression_pair("chtoby nayti d po a1, n, an nazhmite 1", "chtoby nayti d po sn, a1, n nazhmite 2",
                     mvk_id_24, mvk_id_25);
  else wrong_choice();
}

// Menu 1/3/2: geometric progression; each choice opens a two-choice menu.
void Dialogue::geometric_progression() {
  print();
  print("vyberite tip raboty s geometricheskoy progresiey");
  print();
  print("chtoby nayti sumu n chlenov, nazhmite 1");
  print("chtoby nayti proizvedenie n chlenov, nazhmite 2");
  print("chtoby nayti n-chlen, nazhmite 3");
  print("chtoby nayti kolichestvo chlenov, nazhmite 4");
  print("chtoby nayti b1 (1 chlen), nazhmite 5");
  print("chtoby nayti delitel progresii (q), nazhmite 6");
  H = menu_answer();
  if (H == 1)
    progression_pair("chtoby nayti summu n chlenov po b1, q, bn, nazhmite 1",
                     "chtoby nayti summu n chlenov po b1, n, q, nazhmite 2", mvk_id_26, mvk_id_27);
  else if (H == 2)
    progression_pair("chtoby nayti proizvedenie n chlenov po b1, n, q, nazhmite 1",
                     "chtoby nayti proizvedenie n chlenov po b1, bn, n, nazhmite 2", mvk_id_28, mvk_id_29);
  else if (H == 3)
    progression_pair("chtoby nayti n-chlen po b1, q, n, nazhmite 1",
                     "chtoby nayti n-chlen po b1, sn, q, nazhmite 2", mvk_id_30, mvk_id_31);
  else if (H == 4)
    progression_pair("chtoby nayti kol-vo chlenov po b1, q, bn, nazhmite 1",
                     "chtoby nayti kol-vo chlenov po b1, q, sn, nazhmite 2", mvk_id_32, mvk_id_33);
  else if (H == 5)
    progression_pair("chtoby nayti b1 po q, n, bn, nazhmite 1", "chtoby nayti b1 po sn, n, q, nazhmite 2",
                     mvk_id_34, mvk_id_35);
  else if (H == 6)  // this pair has no comma before "nazhmite"
    progression_pair("chtoby nayti q po b1, n, bn nazhmite 1", "chtoby nayti q po b1, sn, bn nazhmite 2",
                     mvk_id_36, mvk_id_37);
  else wrong_choice();
}

// The twelve two-choice menus 1/3/1/k and 1/3/2/k: two lines, no title, no
// empty line; both choices are leaves.
void Dialogue::progression_pair(std::string_view first, std::string_view second, TemplateWriter for_1,
                                TemplateWriter for_2) {
  print(first);
  print(second);
  I = menu_answer();
  if (I == 1) generate(for_1);
  else if (I == 2) generate(for_2);
  else wrong_choice();
}

// Menu 1/3/3: infinitely decreasing progression.
void Dialogue::decreasing_progression() {
  print();
  print("vyberite tip raboty s beskonechno ubyvaemoy progresiey");
  print();
  print("1 - nayti sumu po b1,q");
  print("2 - nayti perviy chlen po q,s");
  print("3 - nayti q po b1,s");
  J = menu_answer();
  if (J == 1) generate(mvk_id_38);
  else if (J == 2) generate(mvk_id_39);
  else if (J == 3) generate(mvk_id_40);
  else wrong_choice();
}

// Menu 1/4: equations. Choices 1 and 3 are leaves.
void Dialogue::equations() {
  print();
  print("vyberite tip uravneniy");
  print();
  print("1 - lineynie uravneniya vida kx+b=a");
  print("2 - kvadratnye uravneniya vida ax2+bx+c=0");
  print("3 - systemy lineynih uravneniy vyda ax+by=c");
  K = menu_answer();
  if (K == 1) generate(mvk_id_41);
  else if (K == 2) quadratic_equations();
  else if (K == 3) generate(mvk_id_45);
  else wrong_choice();
}

// Menu 1/4/2: quadratic equations.
void Dialogue::quadratic_equations() {
  print();
  print("vyberite tip raboty s kvadratnymy uravneniyami");
  print();
  print("1 - nayti x1 i x2 po a,b,c");
  print("2 - nayti b i c po x1 i x2");
  print("3 - nayti m i n (t.e. zentr simetrii po x i max/min znachenie funkzii) po a,b,c");
  L = menu_answer();
  if (L == 1) generate(mvk_id_42);
  else if (L == 2) generate(mvk_id_43);
  else if (L == 3) generate(mvk_id_44);
  else wrong_choice();
}

// Menu 1/5: inequalities.
void Dialogue::inequalities() {
  print();
  print("vyberite tip raboty s neravenstvami");
  print();
  print("1 - reshenie neravenstva vida kx+b>(<,>=,<=,<>)a");
  print("2 - reshenie neravenstva vida ax2+bx+c>(<,>=,<=,<>)0");
  M = menu_answer();
  if (M == 1) {
    read_inequality_sign();
    generate(mvk_id_46);
  } else if (M == 2) {
    read_inequality_sign();
    generate(mvk_id_47);
  } else {
    wrong_choice();
  }
}

// Menu 1/6: other programs. This menu has no error line: any other choice
// ends the path silently.
void Dialogue::other_programs() {
  print();
  print("vyberite neobhodimuyu programmy");
  print();
  print("1 - programma dlya podscheta veroyatnosti pobedy v loteree");
  print("2 - programma dlya podscheta zolotogo secheniya otrezka");
  print("3 - kalkulator");
  N = menu_answer();
  if (N == 1) generate(mvk_id_48);
  else if (N == 2) generate(mvk_id_49);
  else if (N == 3) generate(mvk_id_50);
}

// Leaves 1/1/1 and 1/1/2: the function expression, one whole line as typed.
void Dialogue::read_function_text() {
  print("vvedite funkziy na yazyke Pascal. Ispolzuyte x kak peremennuyu");
  text_answer(state_.function_text);
}

// Leaves 1/2/1/3, 1/2/2/3 and 1/2/3/4: the sign is the whole next line (its
// line end left unread), the number the next token after it, normally on
// the following line; the rest of the number's line is discarded.
void Dialogue::read_sign_and_number(std::string_view example) {
  print("vvedite znak i chislo");
  print(example);
  state_.condition_sign = rt_.read_line();
  rt_.io_check();
  const console::Extended number = rt_.read_real();
  rt_.io_check();
  state_.condition_number = number.to_double();
  rt_.skip_line_end();
  rt_.io_check();
}

// Leaves 1/5/1 and 1/5/2: the inequality sign, one whole line as typed.
void Dialogue::read_inequality_sign() {
  print("vvedite znak neravenstva");
  print("naprimer, esli vy hotyte reshit neravenstvo 2x+1>7, to vvedite >");
  text_answer(state_.inequality_sign);
}

}  // namespace zv
