#pragma once
// Regular expressions (std::regex, ECMAScript) for the tests behind two
// calls, instantiated once in pattern.cpp: every test file that used
// std::regex itself took about eight seconds more to compile.
#include <optional>
#include <string>
#include <vector>

namespace zv::test {

// The groups of `pattern` matched against the whole of `text` ([0] is the
// whole match; a group that took no part is empty), or none.
std::optional<std::vector<std::string>> match(const std::string& text, const std::string& pattern);

// The groups of the first match of `pattern` in `text`, or none.
std::optional<std::vector<std::string>> search(const std::string& text, const std::string& pattern);

}  // namespace zv::test
