// h and l move within the line and never fail; j and k move one view line (a collapsed region
// is one line) to the desired display column, keeping that column for the next vertical move.
#include "engine/motions_basic.h"

#include <algorithm>

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
  if ((direction < 0 && from.line == 0) || (direction > 0 && from.line + 1 >= line_count)) return;
  uint32_t line = direction < 0 ? from.line - 1 : from.line + 1;
  uint32_t desired = context.state.desired_column;
  uint32_t column = desired == kDesiredColumnEndOfLine
                        ? view.ViewLineLength(line)
                        : view.ViewColumnOfVirtual(line, desired);
  column = std::min(column, view.ViewLineLength(line));
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
}

void Right(MotionContext& context, MotionResult& result) {
  TextPos t = result.target;
  if (t.column < context.view.LineLength(t.line)) ++t.column;
  SetTarget(context, result, t);
}

void Down(MotionContext& context, MotionResult& result) { Vertical(context, result, 1); }
void Up(MotionContext& context, MotionResult& result) { Vertical(context, result, -1); }

}  // namespace tavik::motions
