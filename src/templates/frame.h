#pragma once
// The writing frame every template writer follows: bind the output file to
// output_name, create or truncate it, record the writer's identifier, write
// the lines (pieces left to right, then CR LF), close.
#include <cstdint>
#include <string_view>

#include "console/runtime.h"
#include "console/short_string.h"
#include "state/dialogue_state.h"

namespace zv::templates {

// A text field written with each apostrophe doubled, for a field spliced
// inside a Pascal string literal.
struct InLiteral {
  const ShortString& field;
};
inline InLiteral in_literal(const ShortString& field) { return {field}; }

class TemplateFile {
 public:
  // Opens state.output_name for writing and records `id` in template_id.
  TemplateFile(console::Runtime& rt, DialogueState& state, std::string_view id);
  TemplateFile(const TemplateFile&) = delete;
  TemplateFile& operator=(const TemplateFile&) = delete;

  // One output line: literal text, text fields and condition_number (a
  // double, written in the number format), then the line terminator.
  template <class... Pieces>
  void line(const Pieces&... pieces) {
    ++line_number_;
    piece_number_ = 0;
    (piece(pieces), ...);
    end_line();
  }

  void close();

 private:
  void piece(std::string_view text);
  void piece(const char* text) { piece(std::string_view(text)); }
  void piece(const ShortString& field) { piece(field.view()); }
  void piece(double number);
  void piece(InLiteral field);
  void end_line();
  void check();
  console::Location location() const;

  console::Runtime& rt_;
  console::TextStream file_;
  std::string_view id_;
  std::uint32_t line_number_ = 0;
  std::uint32_t piece_number_ = 0;
};

}  // namespace zv::templates
