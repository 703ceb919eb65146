// Small reading helpers shared by the motion families: first non-blank of a line, the count a
// handler consumes, and the last position of the buffer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "common/char_class.h"
#include "common/text_pos.h"
#include "engine/motions/motion.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"

namespace tavik::motions {

using tavik::FirstNonBlankColumn;

// The first non-blank character of a line; column 0 when the line is blank or empty.
inline TextPos FirstNonBlankOf(const TextView& view, uint32_t line) {
  return FirstNonBlankPos(view, line);
}

inline uint32_t LastLine(const TextView& view) {
  return view.LineCount() - 1;
}

// The typed count for a handler that uses it itself (0 counts as 1); the dispatcher then stops.
inline uint32_t ConsumeCount(MotionContext& context) {
  uint32_t count = std::max<uint32_t>(1, context.remaining_count);
  context.remaining_count = 0;
  return count;
}

// A repeated motion that did not move will not move on its next run either, so repeating stops
// (a count of 4294967295 at a buffer edge must not keep the dispatcher busy).
inline void StopWhenStuck(MotionContext& context, const MotionResult& result, TextPos before) {
  if (result.target == before) context.remaining_count = 0;
}

// A start beyond the last line (a caret the host has not yet clamped) becomes the end of the
// buffer, so that loops over lines begin inside it.
inline void ClampStartLine(const TextView& view, MotionResult& result) {
  uint32_t last = view.LineCount() - 1;
  if (result.target.line > last) result.target = {last, view.LineLength(last)};
}

// For handlers that must not repeat and have no use for the count.
inline void IgnoreCount(MotionContext& context) {
  context.remaining_count = 0;
}

}  // namespace tavik::motions
