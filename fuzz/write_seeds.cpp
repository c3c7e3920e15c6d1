// Writes one seed of the whole-run fuzz target per leaf of the template
// list, into the folder named on the command line: a plain world ("a",
// parameter "0"), the name "prog", the menu answers of the path, the first
// golden answers of its template, and the final Enter.
#include <cstdio>
#include <string>

#include "templates/registry.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_seeds FOLDER\n");
    return 2;
  }
  for (const auto& entry : zv::templates::template_registry()) {
    std::string seed = "a0prog\n";
    for (char c : entry.path) seed += c == '/' ? '\n' : c;
    seed += '\n';
    seed += entry.golden.front().typed;
    seed += '\n';
    const std::string name = std::string(argv[1]) + "/path_" + std::to_string(entry.number);
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (f == nullptr || std::fwrite(seed.data(), 1, seed.size(), f) != seed.size() || std::fclose(f) != 0) {
      std::perror(name.c_str());
      return 1;
    }
  }
  return 0;
}
