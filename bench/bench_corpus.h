// The text the whole-buffer benchmarks run on when TAVIK_BENCH_CORPUS names a file (the
// standard corpus, see bench/compare_lib.sh); each benchmark generates its own text otherwise.
#pragma once

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace tavik::bench {

inline std::optional<std::string> CorpusFromEnvironment() {
  const char* path = std::getenv("TAVIK_BENCH_CORPUS");
  if (path == nullptr) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) return std::nullopt;
  return text.str();
}

}  // namespace tavik::bench
