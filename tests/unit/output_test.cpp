// Output buffering, the system-call budget and the shape of the report.
#include <gtest/gtest.h>

#include "driver/dialogue.h"
#include "support/console_fixture.h"
#include "support/pattern.h"

namespace zv::test {
namespace {

using Op = MemoryPlatform::Op;

// The writes to standard output of one whole run.
std::vector<std::string> stdout_writes(const MemoryPlatform& fake) {
  std::vector<std::string> writes;
  for (const auto& c : fake.calls)
    if (c.op == Op::write && c.handle == MemoryPlatform::kStdout) writes.push_back(c.bytes);
  return writes;
}

class Output : public ConsoleTest {
 protected:
  int run_dialogue(const std::string& input, bool terminal) {
    fake.files["logfile.txt"] = "";
    auto& r = start(input, terminal);
    Dialogue dialogue(r);
    return exit_code_of([&] {
      console::CallSite from_start(r);
      dialogue.run();
    });
  }
};

TEST_F(Output, RedirectedOutputIsWrittenIn256ByteLoads) {
  ASSERT_EQ(run_dialogue("ap\n1\n3\n1\n1\n1\n\n", false), 0);
  const auto writes = stdout_writes(fake);
  const std::size_t n = fake.out.size();
  EXPECT_EQ(writes.size(), (n + 255) / 256);
  for (std::size_t k = 0; k + 1 < writes.size(); ++k) EXPECT_EQ(writes[k].size(), 256u);
  // The program file: whole loads, then the rest at its close.
  std::size_t file_writes = 0;
  for (const auto& c : fake.calls) file_writes += c.op == Op::write && c.name == "ap.txt";
  EXPECT_EQ(file_writes, (fake.files["ap.txt"].size() + 255) / 256);
  // Standard input: one read per refill; all the answers came in one.
  EXPECT_EQ(fake.count(Op::read), 1);
}

TEST_F(Output, ConsoleOutputIsWrittenLineByLine) {
  ASSERT_EQ(run_dialogue("ap\n0\n\n", true), 0);
  const auto writes = stdout_writes(fake);
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = fake.out.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(writes.size(), lines);
  for (const auto& w : writes) EXPECT_TRUE(w.ends_with("\r\n")) << w;
}

TEST_F(Output, LongLinesOnAConsoleGoOutWhenTheBufferFills) {
  auto& r = start("", true);
  r.write_text(r.output(), std::string(600, 'a'));
  r.write_line_end(r.output());
  const auto writes = stdout_writes(fake);
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[0].size(), 256u);
  EXPECT_EQ(writes[1].size(), 256u);
  EXPECT_EQ(writes[2], std::string(88, 'a') + "\r\n");
}

TEST_F(Output, ShortWritesAreContinued) {
  struct Trickle final : console::Platform {
    std::string out;
    console::Handle standard_input() override { return 0; }
    console::Handle standard_output() override { return 1; }
    console::OpenResult open_write(const char*, const char*) override { return {}; }
    console::OpenResult open_append(const char*) override { return {}; }
    console::IoResult read(console::Handle, void*, std::size_t) override { return {0, 0, true}; }
    console::IoResult write(console::Handle, const void* d, std::size_t n) override {
      out.append(static_cast<const char*>(d), 1);  // one byte at a time
      (void)n;
      return {1, 0, false};
    }
    std::uint32_t close(console::Handle) override { return 0; }
    bool is_terminal(console::Handle) override { return false; }
    [[noreturn]] void exit_process(int code) override { throw ProcessExit{code}; }
  } trickle;
  console::Runtime r(trickle);
  r.write_text(r.output(), "hello");
  r.write_line_end(r.output());
  EXPECT_EQ(exit_code_of([&] { r.finish(); }), 0);
  EXPECT_EQ(trickle.out, "hello\r\n");
}

// A write that takes nothing yet reports no error would be tried for ever.
TEST_F(Output, WriteThatTakesNothingIsAFailedWrite) {
  auto& r = start("");
  fake.fail_call = 0;
  fake.fail_error = 0;  // "success", 0 bytes
  r.write_text(r.output(), std::string(256, 'a'));
  EXPECT_EQ(r.pending_io_error(), 101);
  EXPECT_EQ(fake.count(Op::write), 1);
}

// The report shows the whole number; the exit code is its low byte, or 255
// where that byte is 0.
TEST_F(Output, ExitCodeOfAFailedRunIsNeverZero) {
  auto& r = start("");
  EXPECT_EQ(exit_code_of([&] { r.runtime_error(512, 0x00401234u); }), 255);
  EXPECT_TRUE(fake.out.starts_with("Runtime error 512 at $00401234\r\n")) << fake.out;
}

// A name longer than 255 bytes is cut, as every text is.
TEST_F(Output, LongFileNameIsCutAt255) {
  auto& r = start("");
  console::TextStream file;
  r.open_write(file, std::string(400, 'n'));
  EXPECT_EQ(r.pending_io_error(), 0);
  EXPECT_EQ(fake.files.count(std::string(255, 'n')), 1u);
}

TEST_F(Output, ReportNamesOneCallerInTheDriverAndTwoInsideAWriterOrTheLog) {
  const std::string driver_report(
      "Runtime error 201 at \\$([0-9A-F]{8})\r\n  \\$\\1\r\n  \\$[0-9A-F]{8}\r\n\r\n$");
  EXPECT_EQ(run_dialogue("ap\n40000\n", false), 201);
  EXPECT_TRUE(search(fake.out, driver_report)) << fake.out;

  const std::string nested_report(
      "Runtime error 2 at \\$([0-9A-F]{8})\r\n  \\$\\1\r\n  \\$[0-9A-F]{8}\r\n  \\$[0-9A-F]{8}\r\n\r\n$");
  fake = MemoryPlatform{};
  auto& r = start("ap\n0\n");
  Dialogue dialogue(r);  // no logfile.txt
  EXPECT_EQ(exit_code_of([&] {
              console::CallSite from_start(r);
              dialogue.run();
            }),
            2);
  EXPECT_TRUE(search(fake.out, nested_report)) << fake.out;
}

// A console window of the program's own closes with it: after the report,
// what was typed ahead is dropped, one line asks for Enter and the run
// waits for it, with the same exit code. Anywhere else the report ends it.
TEST_F(Output, OwnConsoleWindowWaitsForEnterAfterTheReport) {
  for (const bool own : {false, true}) {
    fake = MemoryPlatform{};
    fake.own_console = own;
    EXPECT_EQ(run_dialogue("ap\none\n1\n\n", true), 106);
    EXPECT_EQ(fake.out.ends_with("\r\n\r\nnazhmite Enter, chtoby zakryt okno\r\n"), own) << fake.out;
    const std::size_t n = fake.calls.size();
    ASSERT_EQ(fake.calls[n - 1].op == Op::wait_for_enter, own);
    if (!own) continue;
    EXPECT_EQ(fake.calls[n - 2].bytes, "nazhmite Enter, chtoby zakryt okno\r\n");
    EXPECT_EQ(fake.calls[n - 3].op, Op::discard_typed_ahead);
    EXPECT_EQ(fake.calls[n - 1].handle, MemoryPlatform::kStdin);
    EXPECT_EQ(rt->input().position, rt->input().end);  // "1" was typed ahead
    // A run that completes waits for Enter after its banner, as always.
    fake = MemoryPlatform{};
    fake.own_console = true;
    EXPECT_EQ(run_dialogue("ap\n0\n\n", true), 0);
    EXPECT_EQ(fake.count(Op::wait_for_enter) + fake.count(Op::discard_typed_ahead), 0);
  }
}

TEST_F(Output, PendingErrorStopsEveryOperation) {
  auto& r = start("");
  fake.fail_call = 0;  // the first hand-over fails
  r.write_text(r.output(), std::string(256, 'a'));
  EXPECT_EQ(r.pending_io_error(), 101);
  const std::size_t calls = fake.calls.size();
  r.write_text(r.output(), std::string(300, 'b'));
  console::TextStream file;
  r.open_write(file, "x.txt");
  r.close(file);
  EXPECT_EQ(r.read_integer(), 0);
  EXPECT_EQ(r.read_line().view(), "");
  EXPECT_EQ(fake.calls.size(), calls);
  EXPECT_EQ(fake.files.count("x.txt"), 0u);
  EXPECT_EQ(exit_code_of([&] { r.io_check(); }), 101);
}

}  // namespace
}  // namespace zv::test
