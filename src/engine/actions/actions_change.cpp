// The changing actions: "c", "C", "s" and "S" delete and then enter insert mode, leaving the
// undo step open so that the typed text joins the same step.
#include <algorithm>

#include "common/utf16_chars.h"
#include "engine/actions/actions.h"
#include "engine/actions/delete_operated.h"
#include "engine/insert/insert_mode.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"

namespace tavik::actions {
namespace {

// The typed text follows the deletion; a repeat by "." replays it instead.
void EnterInsert(ActionContext& context) {
  context.remaining_count = 0;
  ::tavik::EnterInsert(context, OpenLine::kNone, false);
}

// "c" over a range: whole lines become one empty line; a block loses its columns.
void ChangeRange(ActionContext& context, OperatedRange range) {
  TextView& view = context.text;
  StoreAndMark(context, range);
  {
    TextView::CompoundScope compound(view);
    if (range.kind == RangeKind::kLinewise) {
      range = ResolveRange(view, range);
      range.kind = RangeKind::kCharacterwise;
      range.start.column = 0;
      range.end.column = view.LineLength(range.end.line);
    }
    DeleteOperated(view, range);
  }
  if (range.kind != RangeKind::kBlockwise) view.SetCaret(ResolveRange(view, range).start);
  EnterInsert(context);
}

// Deletes from the caret to the end of the line without touching the line break.
void DeleteRestOfLine(ActionContext& context) {
  TextView& view = context.text;
  TextPos caret = view.GetCaret();
  uint32_t length = view.LineLength(caret.line);
  caret.column = std::min(caret.column, length);
  if (caret.column < length) {
    OperatedRange range{caret, {caret.line, length}, RangeKind::kCharacterwise};
    StoreAndMark(context, range);
    view.DeleteRange(range.start, range.end);
  }
  view.SetCaret(caret);
}

// With a visual range, C and S change the whole lines it touches; reports whether there was one.
bool ChangeSelectedLines(ActionContext& context) {
  if (!context.range) return false;
  OperatedRange range = *context.range;
  range.kind = RangeKind::kLinewise;
  ChangeRange(context, range);
  return true;
}

}  // namespace

void Change(ActionContext& context) {
  context.remaining_count = 0;
  if (context.range) ChangeRange(context, *context.range);
}

void ChangeToEnd(ActionContext& context) {
  context.remaining_count = 0;
  if (ChangeSelectedLines(context)) return;
  DeleteRestOfLine(context);
  EnterInsert(context);
}

void SubstituteChars(ActionContext& context) {
  uint32_t count = std::max<uint32_t>(1, context.remaining_count);
  context.remaining_count = 0;
  if (context.range) {
    ChangeRange(context, *context.range);
    return;
  }
  TextView& view = context.text;
  TextPos caret = view.GetCaret();
  std::u16string_view text = view.LineText(caret.line);
  if (caret.column < text.size()) {
    // The count is in characters: a pair goes whole.
    uint32_t end = AdvanceChars(text, caret.column, count);
    OperatedRange range{caret, {caret.line, end}, RangeKind::kCharacterwise};
    StoreAndMark(context, range);
    view.DeleteRange(range.start, range.end);
    view.SetCaret(caret);
  }
  EnterInsert(context);
}

void SubstituteLines(ActionContext& context) {
  context.remaining_count = 0;
  if (ChangeSelectedLines(context)) return;
  // The whole text of the line goes; it is not kept in a register.
  TextView& view = context.text;
  uint32_t line = view.GetCaret().line;
  if (view.LineLength(line) > 0) view.DeleteRange({line, 0}, {line, view.LineLength(line)});
  view.SetCaret({line, 0});
  EnterInsert(context);
}

}  // namespace tavik::actions
