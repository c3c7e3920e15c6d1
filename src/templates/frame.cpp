#include "templates/frame.h"

#include "templates/number_format.h"

namespace zv::templates {

TemplateFile::TemplateFile(console::Runtime& rt, DialogueState& state, std::string_view id)
    : rt_(rt), id_(id) {
  // A name that leads to the guarded file (the log, which is only ever
  // appended to) is refused before anything in that file changes.
  rt_.open_write(file_, state.output_name, state.guarded_name);
  check();
  state.template_id.assign(id);
}

// The check after each operation; the place is worked out only for a report.
void TemplateFile::check() {
  if (rt_.pending_io_error() != 0) rt_.io_check(location());
}

// Each piece of each line of each template is a place of its own in a report.
console::Location TemplateFile::location() const {
  std::uint32_t code = 0;
  for (char c : id_) code = code * 31 + static_cast<unsigned char>(c);
  return console::location_of(id_, (code & 0xFFFu) << 20 | line_number_ << 8 | piece_number_);
}

void TemplateFile::piece(std::string_view text) {
  ++piece_number_;
  rt_.write_text(file_, text);
  check();
}

void TemplateFile::piece(double number) { piece(format_number(number).view()); }

void TemplateFile::piece(InLiteral field) {
  // Written in runs up to each apostrophe, the apostrophe twice.
  std::string_view rest = field.field.view();
  for (std::size_t at = rest.find('\''); at != std::string_view::npos; at = rest.find('\'')) {
    piece(rest.substr(0, at + 1));
    piece("'");
    rest.remove_prefix(at + 1);
  }
  if (!rest.empty()) piece(rest);
}

void TemplateFile::end_line() {
  ++piece_number_;
  rt_.write_line_end(file_);
  check();
}

void TemplateFile::close() {
  ++line_number_;
  piece_number_ = 0;
  rt_.close(file_);
  check();
}

}  // namespace zv::templates
