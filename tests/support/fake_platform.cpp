#include "support/fake_platform.h"

#include <algorithm>
#include <cstring>

namespace zv::test {

int FakePlatform::count(Op op) const {
  int n = 0;
  for (const Call& c : calls) n += c.op == op ? 1 : 0;
  return n;
}

bool FakePlatform::failing() { return static_cast<int>(calls.size()) - 1 == fail_call; }

console::OpenResult FakePlatform::open_write(const char* name, const char* guarded) {
  calls.push_back({Op::open_write, console::kNoHandle, name});
  if (failing()) return {console::kNoHandle, fail_error};
  if (guarded != nullptr && files.count(guarded) != 0 && std::string(name) == guarded)
    return {console::kNoHandle, 5};
  if (locked[name]) return {console::kNoHandle, 32};
  files[name].clear();
  open_[next_handle_] = name;
  return {next_handle_++, 0};
}

console::OpenResult FakePlatform::open_append(const char* name) {
  calls.push_back({Op::open_append, console::kNoHandle, name});
  if (failing()) return {console::kNoHandle, fail_error};
  if (files.count(name) == 0) return {console::kNoHandle, 2};
  if (locked[name]) return {console::kNoHandle, 32};
  open_[next_handle_] = name;
  return {next_handle_++, 0};
}

console::IoResult FakePlatform::read(console::Handle h, void* buffer, std::size_t size) {
  calls.push_back({Op::read, h, {}});
  if (failing()) return {0, fail_error, false};
  std::size_t n = std::min({size, read_chunk, input.size() - input_pos_});
  std::memcpy(buffer, input.data() + input_pos_, n);
  input_pos_ += n;
  return {n, 0, n == 0};
}

console::IoResult FakePlatform::write(console::Handle h, const void* data, std::size_t size) {
  const std::string bytes(static_cast<const char*>(data), size);
  calls.push_back({Op::write, h, bytes, h == kStdout ? std::string() : open_[h]});
  std::string& target = h == kStdout ? stdout_bytes : files[open_[h]];
  if (failing()) {
    target += bytes.substr(0, partial);
    return {0, fail_error, false};
  }
  target += bytes;
  return {size, 0, false};
}

std::uint32_t FakePlatform::close(console::Handle h) {
  calls.push_back({Op::close, h, open_[h], open_[h]});
  open_.erase(h);
  return failing() ? fail_error : 0;  // the handle is released either way
}

}  // namespace zv::test
