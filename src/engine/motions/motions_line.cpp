// Positions within the cursor line; a count has no effect on them. The g forms (modifier "g") would
// work on display lines; the view offers no display-line layer, so they keep the cursor and only
// give the kind.
#include "engine/motions/motions.h"

#include <algorithm>

#include "engine/motions/motions_common.h"

namespace tavik::motions {
namespace {

bool IsDisplayLineForm(const MotionContext& context) {
  return context.args.modifier == u'g';
}

}  // namespace

void LineStart(MotionContext& context, MotionResult& result) {
  IgnoreCount(context);
  if (IsDisplayLineForm(context)) return;
  result.target.column = 0;
}

void FirstNonBlank(MotionContext& context, MotionResult& result) {
  IgnoreCount(context);
  if (IsDisplayLineForm(context)) return;
  result.target = FirstNonBlankOf(context.view, result.target.line);
}

void LineEnd(MotionContext& context, MotionResult& result) {
  IgnoreCount(context);
  result.kind = MotionKind::kInclusive;
  if (IsDisplayLineForm(context)) return;
  uint32_t length = context.view.LineLength(result.target.line);
  result.target.column = length > 0 ? length - 1 : 0;
  result.want_end_of_line = true;
}

// The count is a display column, counted from 1; a tab is reached at any of its columns.
void ToColumn(MotionContext& context, MotionResult& result) {
  const TextView& view = context.view;
  uint32_t display_column = ConsumeCount(context) - 1;
  uint32_t line = result.target.line;
  uint32_t column = view.ColumnOfVirtual(line, display_column, false);
  uint32_t length = view.LineLength(line);
  if (column >= length) column = length > 0 ? length - 1 : 0;
  result.target = {line, column};
  result.view_target = view.BufferToView(result.target);
  result.has_view_target = true;
  result.use_view_target = true;
}

}  // namespace tavik::motions
