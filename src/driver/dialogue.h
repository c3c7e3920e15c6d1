#pragma once
// The dialogue driver: one straight pass from the greeting to the closing
// banner. Each menu is a routine that prints its lines, reads its choice into
// its own variable and follows the choice; an unlisted choice ends the path.
#include <cstdint>
#include <string_view>

#include "console/runtime.h"
#include "state/dialogue_state.h"
#include "templates/writers.h"

namespace zv {

class Dialogue {
 public:
  explicit Dialogue(console::Runtime& rt) : rt_(rt) {}

  // Runs the whole dialogue; ends the process (exit 0, or a run-time error).
  [[noreturn]] void run();

  const DialogueState& state() const { return state_; }

 private:
  // Rules shared by every menu (dialogue.cpp).
  void print(std::string_view text);  // one line
  void print();                       // an empty line
  std::int16_t menu_answer(console::Location at = console::here());
  void text_answer(ShortString& into, console::Location at = console::here());
  void wrong_choice();                              // the lower menus' error line
  void generate(templates::TemplateWriter writer);  // the generation step
  [[noreturn]] void end_of_run();

  // Top menu (dialogue.cpp).
  void top_menu();

  // Mathematics branch (mathematics.cpp).
  void mathematics();
  void functions();
  void arrays();
  void array_condition(bool product);
  void array_search();
  void progressions();
  void arithmetic_progression();
  void geometric_progression();
  void decreasing_progression();
  void equations();
  void quadratic_equations();
  void inequalities();
  void other_programs();
  void read_function_text();
  void read_sign_and_number(std::string_view example);
  void read_inequality_sign();
  void progression_pair(std::string_view first, std::string_view second, templates::TemplateWriter for_1,
                        templates::TemplateWriter for_2);

  // Geometry branch (geometry.cpp) and logic branch (logic.cpp).
  void geometry();
  void coordinate_plane();
  void segments_and_vectors();
  void logic();
  void strings();
  void string_similarity();
  void string_removal();

  console::Runtime& rt_;
  DialogueState state_;

  // Menu choices, one variable per menu; menus never shown in the same run
  // share one.
  std::int16_t A = 0;  // top menu
  std::int16_t B = 0, C = 0, D = 0, E = 0, F = 0, G = 0, H = 0, I = 0, J = 0, K = 0, L = 0, M = 0,
               N = 0;                        // mathematics
  std::int16_t U = 0, V = 0, W = 0;          // geometry
  std::int16_t X = 0, Y = 0, Z = 0, Z1 = 0;  // logic
};

}  // namespace zv
