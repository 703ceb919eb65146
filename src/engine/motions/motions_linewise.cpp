// Linewise motions that land on the first non-blank character of their line. - and + step
// over view lines (a collapsed region is one line); the others name buffer lines by number.
#include "engine/motions/motions.h"

#include <algorithm>

#include "engine/motions/motions_common.h"

namespace tavik::motions {
namespace {

// One view line up or down; fails only when nothing moved at all (on the first or last line
// with the cursor already on the first non-blank).
void StepLine(MotionContext& context, MotionResult& result, int direction) {
  const TextView& view = context.view;
  result.kind = MotionKind::kLinewise;
  const TextPos before = result.target;
  uint32_t view_line = view.BufferToView(result.target).line;
  if (direction < 0 && view_line > 0) --view_line;
  if (direction > 0 && view_line + 1 < view.ViewLineCount()) ++view_line;
  uint32_t line = view.ViewToBuffer({view_line, 0}).line;
  result.target = FirstNonBlankOf(view, line);
  if (result.target == result.start) result.failed = true;
  StopWhenStuck(context, result, before);
}

void ToLine(MotionContext& context, MotionResult& result, uint32_t line) {
  result.kind = MotionKind::kLinewise;
  result.target = FirstNonBlankOf(context.view, std::min(line, LastLine(context.view)));
}

}  // namespace

void PreviousLine(MotionContext& c, MotionResult& r) {
  StepLine(c, r, -1);
}
void NextLine(MotionContext& c, MotionResult& r) {
  StepLine(c, r, 1);
}

// _ and dd, cc, yy ...: the count is a number of lines, the cursor line being the first.
void CountLines(MotionContext& context, MotionResult& result) {
  uint32_t count = ConsumeCount(context);
  uint64_t line = static_cast<uint64_t>(result.target.line) + count - 1;
  ToLine(context, result, static_cast<uint32_t>(std::min<uint64_t>(line, UINT32_MAX)));
}

void FirstLine(MotionContext& context, MotionResult& result) {
  context.jump = true;
  uint32_t line = context.remaining_count == 0 ? 0 : context.remaining_count - 1;
  IgnoreCount(context);
  ToLine(context, result, line);
}

void LastLineMotion(MotionContext& context, MotionResult& result) {
  context.jump = true;
  uint32_t line =
      context.remaining_count == 0 ? LastLine(context.view) : context.remaining_count - 1;
  IgnoreCount(context);
  ToLine(context, result, line);
}

// Line (N * line count + 99) / 100, counted from 1, with N at most 100.
void Percentage(MotionContext& context, MotionResult& result) {
  context.jump = true;
  uint64_t percent = std::min<uint32_t>(ConsumeCount(context), 100);
  uint64_t line = (percent * context.view.LineCount() + 99) / 100;
  line = std::max<uint64_t>(line, 1) - 1;
  ToLine(context, result, static_cast<uint32_t>(line));
}

}  // namespace tavik::motions
