// h and l move within the line and never fail; Backspace and Space do the same but wrap to the
// neighbouring line. j and k move one view line (a collapsed region is one line) to the desired
// display column, keeping that column for the next vertical move. gj and gk move one display
// row instead: with word wrap a long line shows as several.
#include "engine/motions_basic.h"

#include <algorithm>
#include <vector>

#include "engine/motions_common.h"
#include "engine/text_view.h"
#include "engine/view_state.h"

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

// The row a view column is on among a line's row starts.
uint32_t RowOf(const std::vector<uint32_t>& starts, uint32_t column) {
  const auto after = std::upper_bound(starts.begin(), starts.end(), column);
  return after == starts.begin() ? 0 : static_cast<uint32_t>(after - starts.begin() - 1);
}

// The display column a row starts at.
uint32_t RowStartColumn(const TextView& view, uint32_t line, const std::vector<uint32_t>& starts,
                        uint32_t row) {
  return view.ViewVirtualColumn(line, starts[row]);
}

// gj and gk keep the desired column's place within its row: its distance from the start of the
// row it falls in on the line the move starts from.
void DisplayVertical(MotionContext& context, MotionResult& result, int direction) {
  TextView& view = context.view;
  result.kind = MotionKind::kLinewise;
  result.keep_desired_column = true;
  const ViewPos from = view.BufferToView(result.target);
  const std::vector<uint32_t> from_starts = view.DisplayRowStarts(from.line);
  const uint32_t from_row = RowOf(from_starts, from.column);
  uint32_t line = from.line;
  uint32_t row = from_row;
  if (direction > 0 && from_row + 1 < from_starts.size()) {
    ++row;
  } else if (direction > 0 && from.line + 1 < view.ViewLineCount()) {
    ++line;
    row = 0;
  } else if (direction < 0 && from_row > 0) {
    --row;
  } else if (direction < 0 && from.line > 0) {
    --line;
    row = UINT32_MAX;
  } else {
    IgnoreCount(context);  // on the first or last row: stay, and stop repeating
    return;
  }
  const std::vector<uint32_t> starts =
      line == from.line ? from_starts : view.DisplayRowStarts(line);
  row = std::min<uint32_t>(row, static_cast<uint32_t>(starts.size()) - 1);
  const uint32_t length = view.ViewLineLength(line);
  const uint32_t row_end = row + 1 < starts.size() ? starts[row + 1] - 1 : length;
  const uint32_t desired = context.state.desired_column;
  uint32_t column = row_end;
  if (desired != kDesiredColumnEndOfLine) {
    uint32_t desired_row = 0;
    while (desired_row + 1 < from_starts.size() &&
           RowStartColumn(view, from.line, from_starts, desired_row + 1) <= desired) {
      ++desired_row;
    }
    const uint32_t offset = desired - RowStartColumn(view, from.line, from_starts, desired_row);
    column = view.ViewColumnOfVirtual(line, RowStartColumn(view, line, starts, row) + offset);
    column = std::clamp(column, starts[row], row_end);
  }
  column = std::min(column, length);
  TextPos target = view.ViewToBuffer({line, column});
  target.column = std::min(target.column, view.LineLength(target.line));
  result.target = target;
  result.view_target = {line, column};
  result.has_view_target = true;
  result.use_view_target = true;
}

}  // namespace

void Left(MotionContext& context, MotionResult& result) {
  TextPos t = result.target;
  if (t.column > 0) --t.column;
  SetTarget(context, result, t);
  if (t.column == 0) IgnoreCount(context);
}

void Right(MotionContext& context, MotionResult& result) {
  TextPos t = result.target;
  uint32_t length = context.view.LineLength(t.line);
  if (t.column < length) ++t.column;
  SetTarget(context, result, t);
  if (t.column >= length) IgnoreCount(context);
}

// At column 0 Backspace goes to the last character of the previous line.
void Backspace(MotionContext& context, MotionResult& result) {
  const TextPos before = result.target;
  TextPos t = before;
  if (t.column > 0) {
    t.column = std::min(t.column, context.view.LineLength(t.line));
    if (t.column > 0) --t.column;
  } else if (t.line > 0) {
    uint32_t length = context.view.LineLength(--t.line);
    t.column = length > 0 ? length - 1 : 0;
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
  if (t.column + 1 < length) {
    ++t.column;
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
