// Checks shared by the fuzz targets: a broken invariant prints what broke and aborts, so both
// libFuzzer and the corpus replay report the input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tavik::fuzz {

[[noreturn]] inline void Broken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "fuzz invariant broken: %s (%s:%d)\n", what, file, line);
  std::fflush(stderr);
  std::abort();
}

#define FUZZ_CHECK(condition) \
  ((condition) ? void(0) : ::tavik::fuzz::Broken(#condition, __FILE__, __LINE__))

// Input bytes split at the first `separator`: the head and what follows it.
struct SplitInput {
  std::string_view head;
  std::string_view tail;
};
inline SplitInput SplitAt(const uint8_t* data, size_t size, char separator) {
  std::string_view all(reinterpret_cast<const char*>(data), size);
  const size_t at = all.find(separator);
  if (at == std::string_view::npos) return {all, {}};
  return {all.substr(0, at), all.substr(at + 1)};
}

}  // namespace tavik::fuzz
