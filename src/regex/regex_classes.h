// Character classes of the pattern dialect: membership tests for class items and the
// characters and ranges a class contributes when it is named inside a bracket expression.
#pragma once

#include <cstdint>
#include <span>

namespace tavik::regex {

struct CharSpan {
  char16_t low;
  char16_t high;
};

struct ClassExpansion {
  std::span<const char16_t> chars;
  std::span<const CharSpan> ranges;
};

// Membership of class `id` (1 to 21). Codes at or above 128 are tested as code 0.
bool ClassContains(uint8_t id, char16_t c);

// What class `id` adds to a bracket expression, in the order it is laid out in the program.
ClassExpansion ExpandClass(uint8_t id);

}  // namespace tavik::regex
