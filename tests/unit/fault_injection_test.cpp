// A whole run in-process over the in-memory platform, with each single
// platform call made to fail in turn: the run must end with the right
// number, the report must be the last output, and nothing may be written
// after the failing call.
#include <gtest/gtest.h>

#include "driver/dialogue.h"
#include "support/memory_platform.h"
#include "support/pattern.h"

namespace zv::test {
namespace {

using Op = MemoryPlatform::Op;

// Template 2 writes the function four times: with a long function the
// program text spans several 256-byte loads.
const std::string kFunction = "x*x+" + std::string(200, '1') + "*x*x*x*x";
const std::string kInput = "prog\n1\n1\n2\n" + kFunction + "\n\n";

struct Outcome {
  int exit_code = -1;
  MemoryPlatform fake;
};

void run(Outcome& o, const std::string& input, int fail_call, std::uint32_t error, std::size_t partial = 0) {
  o.fake.set_input(input);
  o.fake.files["logfile.txt"] = "old\r\n";
  o.fake.fail_call = fail_call;
  o.fake.fail_error = error;
  o.fake.partial = partial;
  console::Runtime rt(o.fake);
  Dialogue dialogue(rt);
  try {
    console::CallSite from_start(rt);
    dialogue.run();
  } catch (const ProcessExit& e) {
    o.exit_code = e.code;
  }
}

// Bytes that reached one target through the calls before `upto`.
std::string written_before(const MemoryPlatform& fake, int upto, console::Handle handle) {
  std::string bytes;
  for (int i = 0; i < upto; ++i) {
    const auto& c = fake.calls[static_cast<std::size_t>(i)];
    if (c.op == Op::write && c.handle == handle) bytes += c.bytes;
  }
  return bytes;
}

const std::string kReportAtEnd(
    "Runtime error ([0-9]+) at \\$([0-9A-F]{8})\r\n  \\$\\2\r\n(  \\$[0-9A-F]{8}\r\n)+\r\n$");

TEST(FaultInjection, CleanRunShape) {
  Outcome clean;
  run(clean, kInput, -1, 0);
  ASSERT_EQ(clean.exit_code, 0);
  EXPECT_GT(clean.fake.files["prog.txt"].size(), 3 * 256u);
  EXPECT_EQ(clean.fake.files["logfile.txt"], "old\r\nsgenerirovana programma mvk_id_2 v file prog.txt\r\n");
  // Output file: one open, whole loads, one close; the log: open, one write, close.
  EXPECT_EQ(clean.fake.count(Op::open_write), 1);
  EXPECT_EQ(clean.fake.count(Op::open_append), 1);
  EXPECT_EQ(clean.fake.count(Op::close), 2);
}

TEST(FaultInjection, EachCallFailsInTurn) {
  Outcome clean;
  run(clean, kInput, -1, 0);
  ASSERT_EQ(clean.exit_code, 0);
  const auto& calls = clean.fake.calls;
  int injected = 0;
  for (int i = 0; i < static_cast<int>(calls.size()); ++i) {
    const MemoryPlatform::Call call = calls[static_cast<std::size_t>(i)];
    SCOPED_TRACE("failing call " + std::to_string(i) + " of kind " +
                 std::to_string(static_cast<int>(call.op)) + " on " + std::to_string(call.handle));
    Outcome o;
    // Opens fail with "access denied", reads with a read fault, writes with
    // "disk full" after half of their bytes got through, closes with a late
    // "disk full".
    const std::uint32_t error = call.op == Op::read                                       ? 30
                                : call.op == Op::open_write || call.op == Op::open_append ? 5
                                                                                          : 112;
    const std::size_t partial = call.op == Op::write ? call.bytes.size() / 2 : 0;
    run(o, kInput, i, error, partial);
    ++injected;
    const auto& after = o.fake.calls;

    // A failed close lost what was handed over: a failed write.
    const int expected = call.op == Op::read                                       ? 161
                         : call.op == Op::open_write || call.op == Op::open_append ? 5
                                                                                   : 101;
    EXPECT_EQ(o.exit_code, expected);

    // Nothing but the release of the failing file and the report's
    // hand-overs to standard output follows.
    for (std::size_t k = static_cast<std::size_t>(i) + 1; k < after.size(); ++k) {
      const bool releases_failing_file =
          k == static_cast<std::size_t>(i) + 1 && after[k].op == Op::close && after[k].handle == call.handle;
      EXPECT_TRUE(releases_failing_file ||
                  (after[k].op == Op::write && after[k].handle == MemoryPlatform::kStdout))
          << "call " << k << " kind " << static_cast<int>(after[k].op) << " on " << after[k].handle << ": "
          << after[k].name << after[k].bytes;
    }
    const bool stdout_failed = call.op == Op::write && call.handle == MemoryPlatform::kStdout;
    if (stdout_failed) {
      // Standard output keeps what got through; the report is still tried
      // on its own stream (a lasting fault swallows it too) and comes last.
      const std::string before =
          written_before(o.fake, i, MemoryPlatform::kStdout) + call.bytes.substr(0, partial);
      ASSERT_TRUE(o.fake.out.starts_with(before));
      const std::string rest = o.fake.out.substr(before.size());
      const auto m = match(rest, kReportAtEnd);
      ASSERT_TRUE(m) << rest;
      EXPECT_EQ((*m)[1], "101");
    } else {
      const auto m = search(o.fake.out, kReportAtEnd);
      ASSERT_TRUE(m) << o.fake.out;
      EXPECT_EQ((*m)[1], std::to_string(expected));
      // Everything the dialogue printed before the failure comes first.
      EXPECT_TRUE(o.fake.out.starts_with(written_before(clean.fake, i, MemoryPlatform::kStdout)));
    }
    // Files hold exactly the whole loads handed over before the failure
    // (plus what the failing write got through).
    const std::string program = o.fake.files.count("prog.txt") ? o.fake.files["prog.txt"] : "<none>";
    const std::string log = o.fake.files["logfile.txt"];
    // Whole program and log texts once their closes are behind the failure;
    // before that, exactly what the calls handed over.
    auto expected_file = [&](const std::string& name, const std::string& start) {
      std::string bytes = start;
      for (int k = 0; k <= i; ++k) {
        const auto& c = calls[static_cast<std::size_t>(k)];
        if (c.op == Op::write && c.name == name) {
          bytes += k < i ? c.bytes : c.bytes.substr(0, partial);
        }
      }
      return bytes;
    };
    const bool program_opened = [&] {
      for (int k = 0; k < i; ++k)
        if (calls[static_cast<std::size_t>(k)].op == Op::open_write) return true;
      return false;
    }();
    if (program_opened) {
      EXPECT_EQ(program, expected_file("prog.txt", ""));
      if (program.size() < clean.fake.files["prog.txt"].size()) {
        EXPECT_EQ(program.size() % 256, call.op == Op::write ? partial % 256 : 0u);
      }
    } else {
      EXPECT_EQ(program, "<none>");
    }
    EXPECT_EQ(log, expected_file("logfile.txt", "old\r\n"));
  }
  EXPECT_EQ(injected, static_cast<int>(calls.size()));
  EXPECT_GE(injected, 15);  // reads, several loads of the program, opens, closes, stdout
}

// The program file's close fails inside the writer (the report names the
// writer's caller and the start), the log's inside the log routine; either
// way nothing after it is shown or logged.
TEST(FaultInjection, FailedClosesEndTheRunWith101) {
  Outcome clean;
  run(clean, kInput, -1, 0);
  std::vector<int> closes;
  for (std::size_t k = 0; k < clean.fake.calls.size(); ++k)
    if (clean.fake.calls[k].op == Op::close) closes.push_back(static_cast<int>(k));
  ASSERT_EQ(closes.size(), 2u);
  const std::string two_callers(
      "Runtime error 101 at \\$([0-9A-F]{8})\r\n  \\$\\1\r\n  \\$[0-9A-F]{8}\r\n  \\$[0-9A-F]{8}\r\n\r\n$");
  for (const int i : closes) {
    Outcome o;
    run(o, kInput, i, 112);
    EXPECT_EQ(o.exit_code, 101);
    EXPECT_TRUE(search(o.fake.out, two_callers)) << o.fake.out;
    EXPECT_EQ(o.fake.out.find("Zorvandrel v 0.3"), std::string::npos);
    if (i == closes[0]) {  // no confirmation, no log line
      EXPECT_EQ(o.fake.out.find("programma sgenerirovana"), std::string::npos);
      EXPECT_EQ(o.fake.files["logfile.txt"], "old\r\n");
    }
  }
}

TEST(FaultInjection, OpenErrorsKeepTheirNumbers) {
  Outcome clean;
  run(clean, kInput, -1, 0);
  int open_write_index = -1;
  for (std::size_t k = 0; k < clean.fake.calls.size(); ++k)
    if (clean.fake.calls[k].op == Op::open_write) open_write_index = static_cast<int>(k);
  ASSERT_GE(open_write_index, 0);
  struct Case {
    std::uint32_t system;
    int number;
  };
  for (const Case& c :
       {Case{2, 2}, Case{3, 3}, Case{4, 4}, Case{19, 150}, Case{31, 162}, Case{32, 5}, Case{145, 5},
        Case{183, 5}, Case{123, 123}, Case{0x10105, 0x105 & 0xFF}, Case{512, 255}}) {
    Outcome o;
    run(o, kInput, open_write_index, c.system);
    EXPECT_EQ(o.exit_code, c.number) << c.system;
    EXPECT_EQ(o.fake.files.count("prog.txt"), 0u);
  }
}

}  // namespace
}  // namespace zv::test
