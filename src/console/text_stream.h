#pragma once
// A buffered, line-oriented text stream over one OS handle.
#include <cstdint>

#include "console/platform.h"
#include "console/short_string.h"

namespace zv::console {

enum class StreamMode : std::uint8_t { closed, input, output };

struct TextStream {
  static constexpr std::uint32_t kBufferSize = 256;

  Handle handle = kNoHandle;
  StreamMode mode = StreamMode::closed;
  std::uint32_t position = 0;  // input: next byte; output: bytes waiting
  std::uint32_t end = 0;       // input: valid bytes in the buffer
  bool flush_per_line = false;
  bool at_end_of_input = false;  // a refill found no more bytes
  ShortString name;
  unsigned char buffer[kBufferSize] = {};
};

}  // namespace zv::console
