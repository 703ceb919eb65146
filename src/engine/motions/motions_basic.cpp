// h and l move within the line and never fail; Backspace and Space do the same but wrap to the
// neighbouring line. j and k move one view line (a collapsed region is one line) to the desired
// display column, keeping that column for the next vertical move. gj and gk move one display
// row instead: with word wrap a long line shows as several.
#include "engine/motions/motions.h"

#include <algorithm>

#include "engine/motions/motions_common.h"
#include "engine/state/view_state.h"
#include "engine/text/display_rows.h"
#include "engine/text/text_view.h"

namespace tavik::motions {
namespace {

void SetTarget(MotionContext& context, MotionResult& result, TextPos target) {
  result.target = target;
  result.view_target = context.view.BufferToView(target);
  result.has_view_target = true;
  result.use_view_target = true;
}

void Vertical(MotionContext& context, MotionResult& result, int direction) {
  TextView& view = context.view;
  result.kind = MotionKind::kLinewise;
  result.keep_desired_column = true;
  ViewPos from = view.BufferToView(result.target);
  uint32_t line_count = view.ViewLineCount();
  if ((direction < 0 && from.line == 0) || (direction > 0 && from.line + 1 >= line_count)) {
    IgnoreCount(context);  // at the first or last line: stay, and stop repeating
    return;
  }
  uint32_t line = direction < 0 ? from.line - 1 : from.line + 1;
  uint32_t desired = context.state.desired_column;
  uint32_t column = desired == kDesiredColumnEndOfLine ? view.ViewLineLength(line)
                                                       : view.ViewColumnOfVirtual(line, desired);
  column = std::min(column, view.ViewLineLength(line));
  TextPos target = view.ViewToBuffer({line, column});
  target.column = std::min(target.column, view.LineLength(target.line));
  result.target = target;
  result.view_target = {line, column};
  result.has_view_target = true;
  result.use_view_target = true;
}

// gj and gk keep the desired column's place within its row.
void DisplayVertical(MotionContext& context, MotionResult& result, int direction) {
  TextView& view = context.view;
  result.kind = MotionKind::kLinewise;
  result.keep_desired_column = true;
  const DisplayRow from = DisplayRowOf(view, result.target);
  DisplayRow to = from;
  if (MoveDisplayRows(view, to, direction) == 0) {
    IgnoreCount(context);  // on the first or last row: stay, and stop repeating
    return;
  }
  const ViewPos at = AtDisplayColumn(view, to, context.state.desired_column, from.line);
  TextPos target = view.ViewToBuffer(at);
  target.column = std::min(target.column, view.LineLength(target.line));
  result.target = target;
  result.view_target = at;
  result.has_view_target = true;
  result.use_view_target = true;
}

}  // namespace

void Left(MotionContext& context, MotionResult& result) {
  TextPos t = result.target;
  if (t.column > 0) t.column = context.view.PrevCharColumn(t.line, t.column);
  SetTarget(context, result, t);
  if (t.column == 0) IgnoreCount(context);
}

void Right(MotionContext& context, MotionResult& result) {
  TextPos t = result.target;
  uint32_t length = context.view.LineLength(t.line);
  if (t.column < length) t.column = context.view.NextCharColumn(t.line, t.column);
  SetTarget(context, result, t);
  if (t.column >= length) IgnoreCount(context);
}

// At column 0 Backspace goes to the last character of the previous line.
void Backspace(MotionContext& context, MotionResult& result) {
  const TextPos before = result.target;
  TextPos t = before;
  if (t.column > 0) {
    t.column =
        context.view.PrevCharColumn(t.line, std::min(t.column, context.view.LineLength(t.line)));
  } else if (t.line > 0) {
    --t.line;
    t.column = context.view.PrevCharColumn(t.line, context.view.LineLength(t.line));
  }
  result.target = t;
  StopWhenStuck(context, result, before);
}

// Reaching the end of the line, Space goes on to column 0 of the next; the last line keeps
// the position past its end, so an operator includes the last character.
void Space(MotionContext& context, MotionResult& result) {
  const TextPos before = result.target;
  TextPos t = before;
  uint32_t length = context.view.LineLength(t.line);
  t.column = std::min(t.column, length);
  if (uint32_t next = context.view.NextCharColumn(t.line, t.column); next < length) {
    t.column = next;
  } else if (t.line + 1 < context.view.LineCount()) {
    t = {t.line + 1, 0};
  } else {
    t.column = length;
  }
  result.target = t;
  StopWhenStuck(context, result, before);
}

void Down(MotionContext& context, MotionResult& result) {
  if (context.args.modifier == u'g') {
    DisplayVertical(context, result, 1);
  } else {
    Vertical(context, result, 1);
  }
}
void Up(MotionContext& context, MotionResult& result) {
  if (context.args.modifier == u'g') {
    DisplayVertical(context, result, -1);
  } else {
    Vertical(context, result, -1);
  }
}

}  // namespace tavik::motions
