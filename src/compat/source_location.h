#pragma once
// std::source_location for toolchains whose library lacks it: forced into
// every source of the fuzz build (clang 14 has no __builtin_source_location,
// so libstdc++ 12's <source_location> declares nothing there), and found as
// <source_location> by the web build (web/program/compat). The stand-in gives the
// class the same members from clang's older call-site builtins, so the places
// in a run-time error report are the same. With a compiler that has the
// builtin, the library's own class is used and this file adds nothing.
#include <version>

#if defined(__clang__) && !__has_builtin(__builtin_source_location) && !defined(__cpp_lib_source_location)
#include <cstdint>

namespace std {

struct source_location {
  static constexpr source_location current(const char* file = __builtin_FILE(),
                                           const char* function = __builtin_FUNCTION(),
                                           uint_least32_t line = __builtin_LINE(),
                                           uint_least32_t column = __builtin_COLUMN()) noexcept {
    source_location at;
    at.file_ = file;
    at.function_ = function;
    at.line_ = line;
    at.column_ = column;
    return at;
  }

  constexpr source_location() noexcept = default;
  constexpr const char* file_name() const noexcept { return file_; }
  constexpr const char* function_name() const noexcept { return function_; }
  constexpr uint_least32_t line() const noexcept { return line_; }
  constexpr uint_least32_t column() const noexcept { return column_; }

 private:
  const char* file_ = "";
  const char* function_ = "";
  uint_least32_t line_ = 0;
  uint_least32_t column_ = 0;
};

}  // namespace std

#endif
