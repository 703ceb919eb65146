// The selection is repeated by its size, not its position: so many lines down and so many
// display columns right of the cursor, clamped to the buffer and the line.
#include "engine/motions/motions.h"

#include <algorithm>

#include "engine/motions/motions_common.h"

namespace tavik::motions {
namespace {

void Repeat(MotionContext& context, MotionResult& result, MotionKind kind, int64_t column_delta) {
  const TextView& view = context.view;
  IgnoreCount(context);
  result.kind = kind;
  int64_t line = static_cast<int64_t>(result.target.line) + context.args.line_delta;
  line = std::clamp<int64_t>(line, 0, LastLine(view));
  int64_t display =
      static_cast<int64_t>(view.VirtualColumn(result.target.line, result.target.column)) +
      column_delta;
  display = std::clamp<int64_t>(display, 0, UINT32_MAX);
  uint32_t target_line = static_cast<uint32_t>(line);
  uint32_t column = view.ColumnOfVirtual(target_line, static_cast<uint32_t>(display), false);
  result.target = {target_line, std::min(column, view.LineLength(target_line))};
}

}  // namespace

void VisualRepeatCharacter(MotionContext& c, MotionResult& r) {
  Repeat(c, r, MotionKind::kExclusive, c.args.column_delta);
}
void VisualRepeatLine(MotionContext& c, MotionResult& r) {
  Repeat(c, r, MotionKind::kLinewise, c.args.column_delta);
}
void VisualRepeatBlock(MotionContext& c, MotionResult& r) {
  if (c.args.column_delta == kRepeatBlockToLineEnd) {
    Repeat(c, r, MotionKind::kBlockwise, 0);
    r.target.column = kEndOfLineColumn;
    return;
  }
  Repeat(c, r, MotionKind::kBlockwise, c.args.column_delta);
}

}  // namespace tavik::motions
