// The deleting actions: "d", "x", "X" and "D". Each stores the text in a register, marks its
// ends and deletes inside one compound edit, so the whole deletion is one undo unit.
#include <algorithm>

#include "common/utf16_chars.h"
#include "engine/actions/actions.h"
#include "engine/actions/delete_operated.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"

namespace tavik::actions {
namespace {

// The caret after deleting a range: the first non-blank of the remaining line for whole
// lines, else where the range started.
void PlaceAfterDelete(TextView& view, const OperatedRange& range, bool last_line_removed) {
  if (range.kind == RangeKind::kLinewise) {
    uint32_t line = range.start.line;
    if (last_line_removed && line > 0) --line;
    view.SetCaret(FirstNonBlankPos(view, std::min(line, view.LineCount() - 1)));
  } else if (range.kind == RangeKind::kCharacterwise) {
    view.SetCaret(ResolveRange(view, range).start);
  }
}

// Deletes `count` characters from the caret, never past the end of the line.
void DeleteCharsAtCaret(ActionContext& context, uint32_t count) {
  TextView& view = context.text;
  TextPos caret = view.GetCaret();
  std::u16string_view text = view.LineText(caret.line);
  uint32_t length = static_cast<uint32_t>(text.size());
  if (caret.column >= length) return;
  // The count is in characters: a pair goes whole.
  uint32_t end = AdvanceChars(text, caret.column, count);
  OperatedRange range{caret, {caret.line, end}, RangeKind::kCharacterwise};
  StoreAndMark(context, range);
  view.DeleteRange(range.start, range.end);
  view.SetCaret(caret);
}

}  // namespace

void DeleteRangeAction(ActionContext& context, const OperatedRange& range) {
  TextView& view = context.text;
  StoreAndMark(context, range);
  bool last_removed = false;
  {
    TextView::CompoundScope compound(view);
    last_removed = DeleteOperated(view, range);
  }
  PlaceAfterDelete(view, range, last_removed);
}

void Delete(ActionContext& context) {
  context.remaining_count = 0;
  if (context.range) DeleteRangeAction(context, *context.range);
}

void DeleteChars(ActionContext& context) {
  uint32_t count = std::max<uint32_t>(1, context.remaining_count);
  context.remaining_count = 0;
  if (context.range) {
    DeleteRangeAction(context, *context.range);
    return;
  }
  DeleteCharsAtCaret(context, count);
}

void DeleteCharBefore(ActionContext& context) {
  if (context.range) {
    context.remaining_count = 0;
    DeleteRangeAction(context, *context.range);
    return;
  }
  TextView& view = context.text;
  TextPos caret = view.GetCaret();
  if (caret.column == 0) {
    context.remaining_count = 0;
    return;
  }
  TextPos before{caret.line, std::min(caret.column, view.LineLength(caret.line) + 1) - 1};
  if (before.column >= view.LineLength(caret.line)) {
    context.remaining_count = 0;
    return;
  }
  before.column = view.PrevCharColumn(caret.line, before.column + 1);
  OperatedRange range{before,
                      {before.line, view.NextCharColumn(before.line, before.column)},
                      RangeKind::kCharacterwise};
  StoreAndMark(context, range);
  view.DeleteRange(range.start, range.end);
  view.SetCaret(before);
}

void DeleteToEnd(ActionContext& context) {
  context.remaining_count = 0;
  TextView& view = context.text;
  if (context.range) {
    OperatedRange range = *context.range;
    if (range.kind == RangeKind::kBlockwise) {
      // Every line of the block loses everything from the block's left edge on.
      range.end.column = kEndOfLineColumn;
      StoreAndMark(context, range);
      TextView::CompoundScope compound(view);
      DeleteOperated(view, range);
      return;
    }
    range.kind = RangeKind::kLinewise;
    range.start.column = 0;
    range.end.column = kEndOfLineColumn;
    DeleteRangeAction(context, range);
    return;
  }
  TextPos caret = view.GetCaret();
  uint32_t length = view.LineLength(caret.line);
  if (caret.column >= length) return;
  OperatedRange range{caret, {caret.line, length}, RangeKind::kCharacterwise};
  StoreAndMark(context, range);
  view.DeleteRange(range.start, range.end);
  view.SetCaret(caret);
}

}  // namespace tavik::actions
