#pragma once
// Forced into every source of the web build. Emscripten's C++ library (the
// libc++ of clang 14) has no std::bit_cast; the compiler's builtin does the
// same. With a library that has it, this file adds nothing.
#include <bit>
#include <type_traits>
#include <version>

#if !defined(__cpp_lib_bit_cast)
namespace std {

template <class To, class From>
requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> &&
         is_trivially_copyable_v<From>) constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}

}  // namespace std
#endif
