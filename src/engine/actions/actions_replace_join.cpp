// "r" replaces characters by one typed character; "J" and "gJ" join lines.
#include <algorithm>
#include <string>

#include "common/char_class.h"
#include "common/utf16_chars.h"
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

// `count` copies of a character, which may be a pair.
std::u16string Repeated(char32_t ch, uint32_t count) {
  std::u16string one;
  AppendCodePoint(one, ch);
  std::u16string out;
  out.reserve(one.size() * count);
  for (uint32_t i = 0; i < count; ++i) out += one;
  return out;
}

// The number of characters in columns [from, to) of a line.
uint32_t CharCount(std::u16string_view text, uint32_t from, uint32_t to) {
  uint32_t n = 0;
  for (uint32_t c = from; c < to; c = NextCharColumn(text, c)) ++n;
  return n;
}

// Replaces every character of the range, line by line, keeping line breaks.
void ReplaceRange(TextView& view, const OperatedRange& unresolved, char32_t ch) {
  OperatedRange range = ResolveRange(view, unresolved);
  BlockColumns block;
  if (range.kind == RangeKind::kBlockwise) block = BlockColumnsOf(view, unresolved);
  for (uint32_t line = range.start.line; line <= range.end.line; ++line) {
    BlockSpan span = RangeSpanOnLine(view, range, block, line);
    uint32_t from = span.start;
    uint32_t to = span.end;
    if (to > from) {
      std::u16string_view text = view.LineText(line);
      view.ReplaceChars({line, from}, to - from, Repeated(ch, CharCount(text, from, to)));
    }
  }
  SetChangeMarks(view, range.start, range.end);
  view.SetCaret(range.start);
}

}  // namespace

void ReplaceChars(ActionContext& context) {
  TextView& view = context.text;
  char32_t ch = context.argument();
  if (context.range) {
    context.remaining_count = 0;
    if (ch != u'\r') ReplaceRange(view, *context.range, ch);
    return;
  }
  uint32_t count = std::max<uint32_t>(1, context.remaining_count);
  context.remaining_count = 0;
  TextPos caret = view.GetCaret();
  std::u16string_view text = view.LineText(caret.line);
  uint32_t length = static_cast<uint32_t>(text.size());
  if (caret.column >= length) return;
  // The count is in characters: a pair is replaced whole, and may be replaced by one.
  uint32_t end = caret.column;
  for (uint32_t i = 0; i < count; ++i) {
    if (end >= length) {
      context.engine.Beep(view);
      return;
    }
    end = NextCharColumn(text, end);
  }
  const uint32_t units = end - caret.column;
  std::u16string replacement = Repeated(ch, count);
  TextPos last{caret.line, caret.column + static_cast<uint32_t>(replacement.size()) -
                               (ch >= 0x10000 ? 2u : 1u)};
  view.SetDotMark(caret);
  if (ch == u'\r') {
    view.ReplaceChars(caret, units, u"\n");
    SetChangeMarks(view, caret, {caret.line + 1, 0});
    view.SetCaret({caret.line + 1, 0});
    return;
  }
  view.ReplaceChars(caret, units, replacement);
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
