// Fuzz target: a whole run in-process on arbitrary standard input, in a
// world chosen by the first two bytes.
//
// Byte 0, XORed with 'a' (so "a" is the plain world), picks:
//   bits 0-2  the log: 0 empty, 1 two old lines, 2 an unended line,
//             3 missing, 4 held by another program, 5 a directory, 6-7 empty;
//   bits 3-4  room on the device: unlimited, none, (byte 1 % 8) * 256 bytes,
//             or byte 1 * 7 bytes;
//   bit 5     standard output takes only byte 1 * 16 bytes;
//   bit 6     standard output is a console;
//   bit 7     standard input arrives (byte 1 % 64) + 1 bytes at a time.
// Byte 1 is that parameter; the rest is standard input. The directories
// "sub" and "d.txt" exist, and "sub/keep.txt" holds a line.
//
// Checked after every run: the exit code is one the program may end with
// and agrees with the world; the log gained one whole line on a completed
// run and nothing otherwise (a cut line only when the device filled); at
// most one output file was created, nothing else changed; the console text
// starts with the greeting, holds only CR LF line ends, and ends with the
// banner or with a report of the exit code, written after every file
// operation; a confirmation line appears exactly when the writer finished.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "console/runtime.h"
#include "driver/dialogue.h"
#include "support/memory_platform.h"
#include "templates/registry.h"

namespace {

using zv::test::MemoryPlatform;
using zv::test::ProcessExit;
using Op = MemoryPlatform::Op;

[[noreturn]] void fail(const char* what, std::string_view detail = {}) {
  std::fprintf(stderr, "run_fuzzer: %s [%.*s]\n", what, static_cast<int>(detail.size()), detail.data());
  std::abort();
}
void expect(bool ok, const char* what, std::string_view detail = {}) {
  if (!ok) fail(what, detail);
}

constexpr std::string_view kLog = "logfile.txt";
constexpr std::string_view kGreeting =
    "\r\nWelcome to Zorvandrel! Please, read FAQ & README files.\r\n\r\n"
    "vvedite imya fayla, v kororuy budet sgenerirovana programma\r\n";
constexpr std::string_view kBanner =
    "\r\nZorvandrel v 0.3\r\navtory - komanda razrabotchikov Zorvandrel\r\n"
    "nash sayt v internete - www.zorvandrel.example\r\n";
constexpr std::string_view kErrorLine = "Dopushena oshibka pri rabote s programmoy!\r\n";

enum LogWorld { kEmpty, kLines, kUnended, kMissing, kHeld, kDirectory };

bool is_hex8(std::string_view s) {
  if (s.size() != 8) return false;
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

// The length of the report of `number` with `callers` return places at the
// end of `out`, or 0 when there is none.
std::size_t report_at_end(std::string_view out, int number, int callers) {
  const std::string head = "Runtime error " + std::to_string(number) + " at $";
  const std::size_t place = 3 + 8 + 2;  // "  $" + 8 digits + CR LF
  const std::size_t length = head.size() + 8 + 2 + place * (1 + callers) + 2;
  if (out.size() < length) return 0;
  std::string_view r = out.substr(out.size() - length);
  if (!r.starts_with(head)) return 0;
  r.remove_prefix(head.size());
  const std::string_view where = r.substr(0, 8);
  if (!is_hex8(where) || r.substr(8, 2) != "\r\n") return 0;
  r.remove_prefix(10);
  if (r.substr(0, place) != "  $" + std::string(where) + "\r\n") return 0;
  for (int k = 0; k <= callers; ++k, r.remove_prefix(place)) {
    if (!r.starts_with("  $") || !is_hex8(r.substr(3, 8)) || r.substr(11, 2) != "\r\n") return 0;
  }
  return r == "\r\n" ? length : 0;
}

// Every CR is followed by LF and every LF follows a CR.
bool only_crlf(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')) return false;
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
  }
  return true;
}

bool forbidden_in_name(std::string_view name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 32 || std::string_view("<>\"|?*").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// The listed template whose identifier is `id`, or null.
const zv::templates::TemplateEntry* listed_template(std::string_view id) {
  if (!id.starts_with("mvk_id_")) return nullptr;
  for (const auto& entry : zv::templates::template_registry()) {
    if (id.substr(7) == std::to_string(entry.number)) return &entry;
  }
  return nullptr;
}

std::optional<std::string> file(const MemoryPlatform& p, std::string_view name) {
  const auto it = p.files.find(std::string(name));
  if (it == p.files.end()) return std::nullopt;
  return it->second;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const unsigned world = data[0] ^ 0x61u;
  const unsigned param = data[1];

  MemoryPlatform p;
  p.input.assign(reinterpret_cast<const char*>(data + 2), size - 2);
  const unsigned log_world = (world & 7u) > 5 ? kEmpty : world & 7u;
  switch (log_world) {
    case kEmpty: p.files["logfile.txt"] = ""; break;
    case kLines: p.files["logfile.txt"] = "first old line\r\nsecond old line\r\n"; break;
    case kUnended: p.files["logfile.txt"] = "no line end"; break;
    case kHeld:
      p.files["logfile.txt"] = "old\r\n";
      p.locked.insert("logfile.txt");
      break;
    case kDirectory: p.directories.insert("logfile.txt"); break;
    default: break;  // missing
  }
  switch ((world >> 3) & 3u) {
    case 1: p.disk_room = 0; break;
    case 2: p.disk_room = (param % 8) * 256; break;
    case 3: p.disk_room = param * 7; break;
    default: break;
  }
  if (world & 0x20u) p.out_room = param * 16;
  p.terminal = (world & 0x40u) != 0;
  if (world & 0x80u) p.chunk = param % 64 + 1;
  p.directories.insert("sub");
  p.directories.insert("d.txt");
  p.files["sub/keep.txt"] = "keep\r\n";
  const auto files_before = p.files;

  int code = -1;
  zv::DialogueState state;
  {
    zv::console::Runtime rt(p);
    zv::Dialogue dialogue(rt);
    try {
      zv::console::CallSite from_start(rt);
      dialogue.run();
    } catch (const ProcessExit& e) {
      code = e.code;
    }
    state = dialogue.state();
  }

  // How the run ended.
  expect(code == 0 || code == 2 || code == 3 || code == 5 || code == 101 || code == 106 || code == 123 ||
             code == 201 || code == 205,
         "exit code", std::to_string(code));
  const std::string name(state.output_name.view());
  const std::string id(state.template_id.view());
  const zv::templates::TemplateEntry* listed = listed_template(id);
  expect(id.empty() || listed != nullptr, "template identifier", id);

  // At most one output file, opened before the log; nothing else touched.
  const int writes_opened = p.count(Op::open_write);
  const int logs_opened = p.count(Op::open_append);
  expect(writes_opened <= 1 && logs_opened <= 1, "files opened more than once");
  std::string target;
  std::size_t open_write_at = 0, open_append_at = 0, last_file_event = 0;
  bool writer_closed = false, writer_cut = false;
  for (std::size_t i = 0; i < p.calls.size(); ++i) {
    const auto& c = p.calls[i];
    const bool console = c.handle == MemoryPlatform::kStdin || c.handle == MemoryPlatform::kStdout;
    if (c.op == Op::open_write) target = c.name, open_write_at = i + 1;
    if (c.op == Op::open_append) open_append_at = i + 1;
    if (open_write_at != 0 && open_append_at == 0) {
      if (c.op == Op::close) writer_closed = true;
      if (c.op == Op::write && !console && c.moved < c.bytes.size()) writer_cut = true;
    }
    if (!console) last_file_event = i + 1;
  }
  const bool writer_finished = writer_closed && !writer_cut;
  if (writes_opened == 1 && logs_opened == 1)
    expect(open_write_at < open_append_at, "log before output file");
  if (writes_opened == 1) {
    expect(target == MemoryPlatform::path_of(name), "output file is not output_name", target);
  }
  expect(!forbidden_in_name(name) || writes_opened == 0, "a forbidden name reached the file system", name);
  expect(id.empty() || writes_opened == 1, "identifier without an output file", id);
  for (const auto& [path, content] : p.files) {
    if (path == target || path == kLog) continue;
    const auto before = files_before.find(path);
    expect(before != files_before.end() && before->second == content, "another file changed", path);
  }

  // The log: one whole line on a completed run, nothing otherwise.
  const std::string line =
      id.empty() ? std::string(kErrorLine) : "sgenerirovana programma " + id + " v file " + name + "\r\n";
  if (target != kLog) {
    const auto old_log = file(p, kLog);
    const auto before = files_before.find("logfile.txt");
    if (before == files_before.end()) {
      expect(!old_log.has_value(), "the log was created");
    } else {
      const std::string& was = before->second;
      expect(old_log.has_value() && old_log->starts_with(was), "earlier log lines changed");
      const std::string added = old_log->substr(was.size());
      if (code == 0) {
        expect(added == line, "completed run did not log its line", added);
      } else if (added == line) {  // only standard output can fail after the log is closed
        expect(code == 101 && p.stdout_cut() && !p.file_cut(), "failed run logged its line", added);
      } else if (!added.empty()) {  // a line cut by a full device
        expect(code == 101 && p.file_cut() && line.starts_with(added), "failed run added to the log", added);
      }
    }
  } else if (const auto before = files_before.find("logfile.txt"); before != files_before.end()) {
    // An output name that leads to the existing log is refused; the log stays as it was.
    expect(code == 5 && !writer_closed && file(p, kLog) == before->second,
           "the output file overwrote the log");
  }

  // The exit code agrees with the world.
  switch (code) {
    case 0:
      expect(log_world == kEmpty || log_world == kLines || log_world == kUnended || target == kLog,
             "completed without a usable log");
      expect(id.empty() || writer_finished, "completed with an unfinished output file");
      break;
    case 2: expect(log_world == kMissing && target != kLog && logs_opened == 1, "error 2 with a log"); break;
    case 3: {
      const std::size_t slash = target.rfind('/');
      expect(
          writes_opened == 1 && slash != std::string::npos && !p.directories.count(target.substr(0, slash)),
          "error 3 with an existing directory", target);
      break;
    }
    case 5:
      expect((writes_opened == 1 && !writer_closed &&
              (p.directories.count(target) || p.locked.count(target) ||
               (target == kLog && files_before.count("logfile.txt")))) ||
                 (logs_opened == 1 && (log_world == kHeld || log_world == kDirectory)),
             "error 5 without a cause", target);
      break;
    case 101: expect(p.file_cut() || p.stdout_cut(), "error 101 without a failed write"); break;
    case 123:
      expect(forbidden_in_name(name) && writes_opened == 0, "error 123 for an acceptable name", name);
      break;
    default: break;
  }

  // The console text, when standard output took all of it.
  if (!p.stdout_cut()) {
    const std::string_view out = p.out;
    expect(out.starts_with(kGreeting), "greeting", out.substr(0, 100));
    expect(only_crlf(out), "a line end other than CR LF in the console text");
    const std::string confirmation = "programma sgenerirovana v file " + name + " v papke programmy\r\n";
    std::size_t confirmations = 0;
    for (std::size_t at = out.find(confirmation); at != std::string_view::npos;
         at = out.find(confirmation, at + 1)) {
      ++confirmations;
    }
    expect(confirmations == (writer_finished ? 1u : 0u), "confirmation line", name);
    if (code == 0) {
      expect(out.ends_with(kBanner), "completed run does not end with the banner",
             out.substr(out.size() > 200 ? out.size() - 200 : 0));
    } else {
      const int callers = code == 106 || code == 201 || code == 205 ? 1 : 2;
      const std::size_t report = report_at_end(out, code, callers);
      expect(report != 0, "failed run does not end with its report",
             out.substr(out.size() > 200 ? out.size() - 200 : 0));
      // Every file operation came before the report.
      std::size_t written = 0;
      for (std::size_t i = 0; i < last_file_event; ++i) {
        if (p.calls[i].op == Op::write && p.calls[i].handle == MemoryPlatform::kStdout)
          written += p.calls[i].moved;
      }
      expect(written <= out.size() - report, "file operation after the report");
    }
  }

  // A finished output file holds the whole program (nothing for a template
  // that writes no text).
  if (writer_finished && target != kLog) {
    const std::string& text = p.files[target];
    if (listed != nullptr && !listed->writes_text) {
      expect(text.empty(), "a template without text wrote text", text);
    } else {
      expect(text.ends_with("\r\nend.\r\n") && only_crlf(text), "program text", text);
    }
  }
  return 0;
}
