// Case changes: "~" on characters under the cursor, and "g~", "gu", "gU" (and their visual
// forms) over a range.
#include <algorithm>
#include <string>

#include "common/char_class.h"
#include "common/utf16_chars.h"
#include "engine/actions/actions.h"
#include "engine/actions/delete_operated.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/range_text.h"
#include "engine/text/text_view.h"

namespace tavik::actions {
namespace {

enum class CaseChange { kSwitch, kUpper, kLower };

char16_t ChangeCase(char16_t c, CaseChange how) {
  switch (how) {
    case CaseChange::kUpper:
      return ToUpperChar(c);
    case CaseChange::kLower:
      return ToLowerChar(c);
    case CaseChange::kSwitch:
      return IsUpperChar(c) ? ToLowerChar(c) : IsLowerChar(c) ? ToUpperChar(c) : c;
  }
  return c;
}

// Rewrites columns [from, to) of a line, only when something changes.
void ChangeSpan(TextView& view, uint32_t line, uint32_t from, uint32_t to, CaseChange how) {
  if (to <= from) return;
  std::u16string text(view.LineText(line).substr(from, to - from));
  std::u16string changed = text;
  for (char16_t& c : changed) c = ChangeCase(c, how);
  if (changed != text) {
    view.SetDotMark({line, from});
    view.ReplaceChars({line, from}, to - from, changed);
  }
}

void ChangeRange(ActionContext& context, CaseChange how) {
  context.remaining_count = 0;
  if (!context.range) return;
  TextView& view = context.text;
  OperatedRange range = ResolveRange(view, *context.range);
  BlockColumns block;
  if (range.kind == RangeKind::kBlockwise) block = BlockColumnsOf(view, *context.range);
  {
    TextView::CompoundScope compound(view);
    for (uint32_t line = range.start.line; line <= range.end.line; ++line) {
      BlockSpan span = RangeSpanOnLine(view, range, block, line);
      ChangeSpan(view, line, span.start, span.end, how);
    }
  }
  if (BufferMarks* marks = view.Marks()) {
    marks->Set(u'[', range.start);
    marks->Set(u']', range.end);
  }
  view.SetCaret(range.start);
}

}  // namespace

void SwitchCase(ActionContext& context) {
  if (context.range) {
    ChangeRange(context, CaseChange::kSwitch);
    return;
  }
  uint32_t count = std::max<uint32_t>(1, context.remaining_count);
  context.remaining_count = 0;
  TextView& view = context.text;
  TextPos caret = view.GetCaret();
  std::u16string_view text = view.LineText(caret.line);
  uint32_t length = static_cast<uint32_t>(text.size());
  if (caret.column >= length) return;
  // The count is in characters; a pair has no case and is passed over whole.
  uint32_t end = AdvanceChars(text, caret.column, count);
  ChangeSpan(view, caret.line, caret.column, end, CaseChange::kSwitch);
  view.SetCaret({caret.line, std::min(end, length - 1)});
}

void MakeUpper(ActionContext& context) {
  ChangeRange(context, CaseChange::kUpper);
}
void MakeLower(ActionContext& context) {
  ChangeRange(context, CaseChange::kLower);
}

}  // namespace tavik::actions
