// What one edit changed in a buffer, as told to the buffer's listeners, and how positions move
// across such a change.
#pragma once

#include <cstdint>

#include "common/text_pos.h"

namespace tavik::platform {

// Lines [first_line, first_line + old_line_count) became [first_line, first_line +
// new_line_count); the text between `start` and `old_end` was replaced by text ending at `new_end`.
struct BufferChange {
  uint32_t first_line = 0;
  uint32_t old_line_count = 0;
  uint32_t new_line_count = 0;
  TextPos start;
  TextPos old_end;
  TextPos new_end;
};

// Where a position lands after the change. A position inside the replaced span goes to the
// change's start, or to its new end when `inside_to_end`.
inline TextPos MovePastChange(TextPos p, const BufferChange& c, bool inside_to_end = false) {
  if (p < c.start || (p == c.start && c.start != c.old_end)) return p;
  if (p < c.old_end || p == c.start) return inside_to_end ? c.new_end : c.start;
  if (p.line == c.old_end.line)
    return {c.new_end.line, c.new_end.column + (p.column - c.old_end.column)};
  return {p.line - c.old_end.line + c.new_end.line, p.column};
}

}  // namespace tavik::platform
