// "r" replaces characters by one typed character; "J" and "gJ" join lines.
#include <algorithm>
#include <string>

#include "common/char_class.h"
#include "engine/actions/actions.h"
#include "engine/actions/delete_operated.h"
#include "engine/actions/line_join.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/range_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik::actions {
namespace {

void SetChangeMarks(TextView& view, TextPos first, TextPos last) {
  if (BufferMarks* marks = view.Marks()) {
    marks->Set(u'[', first);
    marks->Set(u']', last);
  }
}

// Replaces every character of the range, line by line, keeping line breaks.
void ReplaceRange(TextView& view, const OperatedRange& unresolved, char16_t ch) {
  OperatedRange range = ResolveRange(view, unresolved);
  BlockColumns block;
  if (range.kind == RangeKind::kBlockwise) block = BlockColumnsOf(view, unresolved);
  for (uint32_t line = range.start.line; line <= range.end.line; ++line) {
    BlockSpan span = RangeSpanOnLine(view, range, block, line);
    uint32_t from = span.start;
    uint32_t to = span.end;
    if (to > from) view.ReplaceChars({line, from}, to - from, std::u16string(to - from, ch));
  }
  SetChangeMarks(view, range.start, range.end);
  view.SetCaret(range.start);
}

}  // namespace

void ReplaceChars(ActionContext& context) {
  TextView& view = context.text;
  char16_t ch = context.argument();
  if (context.range) {
    context.remaining_count = 0;
    if (ch != u'\r') ReplaceRange(view, *context.range, ch);
    return;
  }
  uint32_t count = std::max<uint32_t>(1, context.remaining_count);
  context.remaining_count = 0;
  TextPos caret = view.GetCaret();
  uint32_t length = view.LineLength(caret.line);
  if (caret.column >= length) return;
  if (length - caret.column < count) {
    context.engine.Beep(view);
    return;
  }
  TextPos last{caret.line, caret.column + count - 1};
  view.SetDotMark(caret);
  if (ch == u'\r') {
    view.ReplaceChars(caret, count, u"\n");
    SetChangeMarks(view, caret, {caret.line + 1, 0});
    view.SetCaret({caret.line + 1, 0});
    return;
  }
  view.ReplaceChars(caret, count, std::u16string(count, ch));
  SetChangeMarks(view, caret, last);
  view.SetCaret(last);
}

void Join(ActionContext& context) {
  TextView& view = context.text;
  bool with_space = context.argument() != u'x';
  if (context.range) {
    context.remaining_count = 0;
    OperatedRange range = ResolveRange(view, *context.range);
    uint32_t joins = std::max<uint32_t>(1, range.end.line - range.start.line);
    uint32_t column = 0;
    for (uint32_t i = 0; i < joins && range.start.line + 1 < view.LineCount(); ++i) {
      column = JoinLineWithNext(view, range.start.line, with_space);
    }
    view.SetCaret({range.start.line, column});
    return;
  }
  uint32_t line = view.GetCaret().line;
  if (line + 1 >= view.LineCount()) {
    context.remaining_count = 0;
    return;
  }
  view.SetCaret({line, JoinLineWithNext(view, line, with_space)});
}

}  // namespace tavik::actions
