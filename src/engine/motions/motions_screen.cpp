// Window-relative motions read the view's visible range; the scrolling motions also move it.
// They count view lines, so a collapsed region is one line; H, M and L count display rows, of
// which a wrapped line has several.
#include "engine/motions/motions.h"

#include <algorithm>
#include <vector>

#include "engine/motions/motions_common.h"
#include "engine/state/view_state.h"
#include "engine/text/display_rows.h"

namespace tavik::motions {
namespace {

enum class WindowLine { kTop, kMiddle, kBottom };

void ToWindowLine(MotionContext& context, MotionResult& result, WindowLine which) {
  TextView& view = context.view;
  IgnoreCount(context);  // a count does not change the line
  context.jump = true;
  result.kind = MotionKind::kLinewise;
  VisibleRange visible = view.VisibleLines();
  uint32_t rows = 0;  // display rows down from the top
  if (which == WindowLine::kMiddle) rows = visible.line_count / 2;
  if (which == WindowLine::kBottom) rows = visible.line_count - 1;
  DisplayRow at{visible.first_line, visible.first_row};
  MoveDisplayRows(view, at, rows);
  // A row part way down a wrapped line is the target itself; otherwise its first non-blank.
  if (at.row > 0) {
    result.target = view.ViewToBuffer({at.line, view.DisplayRowStarts(at.line)[at.row]});
    return;
  }
  uint32_t buffer_line = view.ViewToBuffer({at.line, 0}).line;
  result.target = FirstNonBlankOf(view, buffer_line);
}

// The position on a view line at the desired display column.
TextPos AtDesiredColumn(MotionContext& context, uint32_t view_line) {
  const TextView& view = context.view;
  uint32_t desired = context.state.desired_column;
  uint32_t length = view.ViewLineLength(view_line);
  uint32_t column = desired == kDesiredColumnEndOfLine
                        ? length
                        : std::min(view.ViewColumnOfVirtual(view_line, desired), length);
  TextPos target = view.ViewToBuffer({view_line, column});
  target.column = std::min(target.column, view.LineLength(target.line));
  return target;
}

// CTRL-D and CTRL-U: the cursor and the view both move half a window of display rows.
void HalfPage(MotionContext& context, MotionResult& result, int direction) {
  TextView& view = context.view;
  const TextPos before = result.target;
  const VisibleRange visible = view.VisibleLines();
  const int64_t half = visible.line_count / 2;
  const DisplayRow from = DisplayRowOf(view, result.target);
  DisplayRow cursor = from;
  MoveDisplayRows(view, cursor, direction * half);
  DisplayRow top{visible.first_line, visible.first_row};
  const bool scrolled = MoveDisplayRows(view, top, direction * half) > 0;
  view.ScrollToRow(top.line, top.row);
  TextPos target =
      view.ViewToBuffer(AtDisplayColumn(view, cursor, context.state.desired_column, from.line));
  target.column = std::min(target.column, view.LineLength(target.line));
  result.target = target;
  if (!scrolled) StopWhenStuck(context, result, before);
}

// CTRL-F and CTRL-B: the view moves a whole window; the cursor stays if it is still shown,
// else it goes to the nearest line shown.
void Page(MotionContext& context, MotionResult& result, int direction) {
  TextView& view = context.view;
  const TextPos before = result.target;
  const uint32_t first_before = view.VisibleLines().first_line;
  int64_t count = view.VisibleLines().line_count;
  view.ScrollBy(static_cast<int32_t>(direction * count));
  VisibleRange visible = view.VisibleLines();
  int64_t first = visible.first_line;
  int64_t last_shown = std::min<int64_t>(first + visible.line_count - 1, view.ViewLineCount() - 1);
  int64_t line = view.BufferToView(result.target).line;
  line = std::clamp<int64_t>(line, first, std::max(first, last_shown));
  result.target = AtDesiredColumn(context, static_cast<uint32_t>(line));
  if (visible.first_line == first_before) StopWhenStuck(context, result, before);
}

}  // namespace

void WindowTop(MotionContext& c, MotionResult& r) {
  ToWindowLine(c, r, WindowLine::kTop);
}
void WindowMiddle(MotionContext& c, MotionResult& r) {
  ToWindowLine(c, r, WindowLine::kMiddle);
}
void WindowBottom(MotionContext& c, MotionResult& r) {
  ToWindowLine(c, r, WindowLine::kBottom);
}
void HalfPageDown(MotionContext& c, MotionResult& r) {
  HalfPage(c, r, 1);
}
void HalfPageUp(MotionContext& c, MotionResult& r) {
  HalfPage(c, r, -1);
}
void PageDown(MotionContext& c, MotionResult& r) {
  Page(c, r, 1);
}
void PageUp(MotionContext& c, MotionResult& r) {
  Page(c, r, -1);
}

}  // namespace tavik::motions
