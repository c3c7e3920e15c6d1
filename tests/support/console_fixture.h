#pragma once
// An in-process console runtime over the in-memory platform.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "console/runtime.h"
#include "support/memory_platform.h"

namespace zv::test {

class ConsoleTest : public ::testing::Test {
 protected:
  // Starts a runtime whose standard input holds `input`.
  console::Runtime& start(std::string input, bool terminal = false) {
    fake.set_input(std::move(input));
    fake.terminal = terminal;
    rt = std::make_unique<console::Runtime>(fake);
    return *rt;
  }

  // Runs `step` and returns the exit code it ended the process with, or -1
  // when it returned normally.
  int exit_code_of(const std::function<void()>& step) {
    try {
      step();
    } catch (const ProcessExit& e) {
      return e.code;
    }
    return -1;
  }

  MemoryPlatform fake;
  std::unique_ptr<console::Runtime> rt;
};

}  // namespace zv::test
