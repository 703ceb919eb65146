// Bracket block text objects: the pair of brackets around the cursor found by plain counting
// (strings and comments are not special). A repeated object or a selection that already is the
// block walks outward to the next enclosing pair.
#include <optional>

#include "engine/motions/motions.h"
#include "engine/motions/motions_common.h"
#include "engine/motions/text_objects.h"

namespace tavik::motions {
namespace {

struct Pair {
  TextPos open;
  TextPos close;
};

char16_t CharAtPos(const TextView& view, TextPos pos) {
  std::u16string_view line = view.LineText(pos.line);
  return pos.column < line.size() ? line[pos.column] : 0;
}

// The unmatched opening bracket before `pos` (or at it), and its partner.
std::optional<Pair> EnclosingPair(const TextView& view, TextPos pos, char16_t open, char16_t close,
                                  bool at_counts) {
  std::optional<TextPos> opening = pos;
  if (!(at_counts && CharAtPos(view, pos) == open)) {
    opening = FindUnmatched(view, pos, open, close, /*forward=*/false);
    if (!opening) return std::nullopt;
  }
  const std::optional<TextPos> closing =
      FindUnmatched(view, *opening, close, open, /*forward=*/true);
  if (!closing) return std::nullopt;
  return Pair{*opening, *closing};
}

// The object's span for a pair: `a` from the opening bracket through the closing one, `i` the
// text between them (from the next line when the opening bracket ends its line, to the end of
// the previous line when the closing one starts its line).
void SpanOf(const TextView& view, const Pair& pair, bool around, TextPos& start, TextPos& end) {
  if (around) {
    start = pair.open;
    end = {pair.close.line, pair.close.column + 1};
    return;
  }
  start = {pair.open.line, pair.open.column + 1};
  if (start.column >= view.LineLength(start.line) && start.line < pair.close.line) {
    start = {start.line + 1, 0};
  }
  end = pair.close;
  if (pair.close.column <= FirstNonBlankColumn(view, pair.close.line) &&
      pair.close.line > start.line) {
    end = {pair.close.line - 1, view.LineLength(pair.close.line - 1)};
  }
  if (end < start) end = start;
}

}  // namespace

void BlockObject(MotionContext& context, MotionResult& result, char16_t open, char16_t close,
                 bool around) {
  const TextView& view = context.view;
  ClampStartLine(view, result);
  bool selected = HasSelection(context, result);
  TextPos sel_start = std::min(result.anchor, result.target);
  TextPos sel_end = std::max(result.anchor, result.target);
  TextPos from = selected ? sel_start : result.target;
  std::optional<Pair> pair = EnclosingPair(view, from, open, close, true);
  TextPos start;
  TextPos end;
  if (pair) SpanOf(view, *pair, around, start, end);
  // The object that is already selected grows to the next enclosing pair.
  while (pair && selected && start == sel_start && end == sel_end) {
    pair = EnclosingPair(view, pair->open, open, close, false);
    if (pair) SpanOf(view, *pair, around, start, end);
  }
  if (!pair) {
    result.failed = true;
    return;
  }
  result.anchor = start;
  result.target = end;
  result.explicit_start = true;
  result.kind = MotionKind::kExclusive;
  bool blockwise = context.args.visual_active && context.args.visual_kind == VisualKind::kBlockwise;
  result.to_characterwise_visual = !blockwise;
  if (context.args.visual_active) return;
  bool linewise = false;
  if (around) {
    linewise = pair->open.column == FirstNonBlankColumn(view, pair->open.line) &&
               pair->close.column + 1 == view.LineLength(pair->close.line) &&
               pair->open.line != pair->close.line;
  } else {
    linewise = start.column == 0 && end.column == view.LineLength(end.line) &&
               start.line <= end.line && start != end && pair->open.line != pair->close.line;
  }
  if (linewise) {
    result.kind = MotionKind::kLinewise;
    result.anchor = {start.line, 0};
    result.target = {end.line, 0};
  }
}

}  // namespace tavik::motions
