// The actions that enter insert mode: "i", "a", "A", "I", "o", "O", "R", "gi", "gI" and the
// Insert key. Each places the caret and asks for insert mode (the executor opens the line of
// "o" and "O"), or replays the last insertion when "." repeats it.
#include <algorithm>

#include "engine/actions/actions.h"
#include "engine/insert/insert_mode.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik::actions {

void InsertBefore(ActionContext& context) {
  EnterInsert(context, OpenLine::kNone, false);
}

void AppendAfter(ActionContext& context) {
  TextView& text = context.text;
  TextPos caret = text.GetCaret();
  text.SetCaret({caret.line, std::min(text.NextCharColumn(caret.line, caret.column),
                                      text.LineLength(caret.line))});
  EnterInsert(context, OpenLine::kNone, false);
}

void AppendAtEnd(ActionContext& context) {
  TextView& text = context.text;
  uint32_t line = text.GetCaret().line;
  text.SetCaret({line, text.LineLength(line)});
  EnterInsert(context, OpenLine::kNone, false);
}

void InsertAtFirstNonBlank(ActionContext& context) {
  TextView& text = context.text;
  uint32_t line = context.range ? context.range->start.line : text.GetCaret().line;
  text.SetCaret({line, FirstNonBlankColumn(text, line)});
  EnterInsert(context, OpenLine::kNone, false);
}

void OpenBelow(ActionContext& context) {
  EnterInsert(context, OpenLine::kBelow, false);
}
void OpenAbove(ActionContext& context) {
  EnterInsert(context, OpenLine::kAbove, false);
}
void ReplaceMode(ActionContext& context) {
  EnterInsert(context, OpenLine::kNone, true);
}

namespace {

// gi and gI beep instead of inserting while a visual range is active.
bool BeepInVisual(ActionContext& context) {
  if (!context.range) return false;
  context.engine.Beep(context.text);
  context.remaining_count = 0;
  return true;
}

}  // namespace

void InsertWhereLeft(ActionContext& context) {
  if (BeepInVisual(context)) return;
  TextView& text = context.text;
  if (BufferMarks* marks = text.Marks()) {
    if (auto left = marks->Get(u'^')) {
      text.SetCaret(text.ClampPosition(left->line, left->column, true, false));
    }
  }
  EnterInsert(context, OpenLine::kNone, false);
}

void InsertAtColumnZero(ActionContext& context) {
  if (BeepInVisual(context)) return;
  TextView& text = context.text;
  text.SetCaret({text.GetCaret().line, 0});
  EnterInsert(context, OpenLine::kNone, false);
}

}  // namespace tavik::actions
