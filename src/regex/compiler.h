// The grammar of the dialect: turns tokens into the byte program (alternation, and-concatenation,
// pieces with their repeats, groups and bracket expressions).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "regex/pattern.h"

namespace tavik::regex {

struct CompiledBytes {
  std::vector<uint8_t> program;
  CompileError error = CompileError::kNone;
  size_t pattern_end = 0;
  size_t after_delimiter = 0;
  bool force_ignore_case = false;
  bool force_match_case = false;
  bool has_upper_case = false;
};

CompiledBytes CompileToBytes(std::u16string_view text, int magic_level, char16_t delimiter);

}  // namespace tavik::regex
