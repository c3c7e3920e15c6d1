#pragma once
// Every text value of the dialogue is a short string: 0 to 255 bytes held
// inline, no heap. Longer input and longer concatenations are cut at 255.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zv {

class ShortString {
 public:
  static constexpr std::size_t capacity = 255;

  constexpr ShortString() = default;
  constexpr ShortString(std::string_view text) { assign(text); }  // NOLINT: implicit on purpose

  constexpr void assign(std::string_view text) {
    len_ = 0;
    append(text);
  }
  constexpr void append(std::string_view text) {
    const std::size_t room = capacity - len_;
    const std::size_t n = std::min(room, text.size());
    for (std::size_t i = 0; i < n; ++i) data_[len_ + i] = text[i];
    len_ = static_cast<std::uint8_t>(len_ + n);
  }
  constexpr void push_back(char c) {
    if (len_ < capacity) data_[len_++] = c;
  }
  constexpr void clear() { len_ = 0; }

  constexpr std::string_view view() const { return {data_, len_}; }
  constexpr operator std::string_view() const { return view(); }  // NOLINT
  constexpr std::size_t size() const { return len_; }
  constexpr bool empty() const { return len_ == 0; }
  constexpr const char* data() const { return data_; }

  friend constexpr bool operator==(const ShortString& a, std::string_view b) { return a.view() == b; }

 private:
  std::uint8_t len_ = 0;
  char data_[capacity] = {};
};

}  // namespace zv
