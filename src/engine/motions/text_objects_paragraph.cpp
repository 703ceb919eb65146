// Paragraph text objects: runs of lines of one class, blank (empty or only blanks) or not. `ip`
// is the run around the cursor; `ap` adds the run of the other class after it.
#include "engine/motions/motions_common.h"
#include "engine/motions/text_objects.h"

namespace tavik::motions {
namespace {

bool IsBlankLine(const TextView& view, uint32_t line) {
  for (char16_t c : view.LineText(line)) {
    if (!IsBlankChar(c)) return false;
  }
  return true;
}

// The last line of the run of lines of `line`'s class that starts at or before `line`.
uint32_t RunLast(const TextView& view, uint32_t line) {
  bool blank = IsBlankLine(view, line);
  while (line + 1 < view.LineCount() && IsBlankLine(view, line + 1) == blank) ++line;
  return line;
}

uint32_t RunFirst(const TextView& view, uint32_t line) {
  bool blank = IsBlankLine(view, line);
  while (line > 0 && IsBlankLine(view, line - 1) == blank) --line;
  return line;
}

void ParagraphObject(MotionContext& context, MotionResult& result, bool around) {
  const TextView& view = context.view;
  result.kind = MotionKind::kLinewise;
  result.to_linewise_visual = true;
  ClampStartLine(view, result);
  uint32_t first = 0;
  uint32_t from = 0;
  if (HasSelection(context, result)) {
    // A count or a selection goes on after the lines taken so far.
    first = std::min(result.anchor.line, result.target.line);
    from = std::max(result.anchor.line, result.target.line) + 1;
    if (from >= view.LineCount()) {
      result.failed = true;
      return;
    }
  } else {
    first = RunFirst(view, result.target.line);
    from = result.target.line;
  }
  uint32_t last = RunLast(view, from);
  if (around && last + 1 < view.LineCount()) last = RunLast(view, last + 1);
  result.anchor = {first, 0};
  result.target = {last, 0};
  result.explicit_start = true;
}

}  // namespace

void InnerParagraph(MotionContext& c, MotionResult& r) {
  ParagraphObject(c, r, false);
}
void AParagraph(MotionContext& c, MotionResult& r) {
  ParagraphObject(c, r, true);
}

}  // namespace tavik::motions
