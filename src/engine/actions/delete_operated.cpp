// Deleting an operated range: characterwise through the view's delete, linewise as whole lines
// (taking the line break before the last line when the range reaches the end), blockwise column
// by column on every line.
#include "engine/actions/delete_operated.h"

#include "engine/state/buffer_marks.h"
#include "engine/text/range_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik {

OperatedRange ResolveRange(const TextView& view, OperatedRange range) {
  uint32_t last = view.LineCount() - 1;
  for (TextPos* pos : {&range.start, &range.end}) {
    if (pos->line > last) *pos = {last, kEndOfLineColumn};
    uint32_t length = view.LineLength(pos->line);
    if (pos->column == kEndOfLineColumn || pos->column > length) pos->column = length;
  }
  return range;
}

bool DeleteOperated(TextView& view, const OperatedRange& unresolved) {
  const bool blockwise = unresolved.kind == RangeKind::kBlockwise;
  BlockColumns block;
  if (blockwise) block = BlockColumnsOf(view, unresolved);
  OperatedRange range = ResolveRange(view, unresolved);
  const uint32_t last_line = view.LineCount() - 1;
  switch (range.kind) {
    case RangeKind::kLinewise: {
      uint32_t s = range.start.line;
      uint32_t e = range.end.line;
      if (e < last_line) {
        view.DeleteRange({s, 0}, {e + 1, 0});
        return false;
      }
      if (s > 0) {
        view.DeleteRange({s - 1, view.LineLength(s - 1)}, {e, view.LineLength(e)});
        return true;
      }
      view.DeleteRange({0, 0}, {e, view.LineLength(e)});
      return false;
    }
    case RangeKind::kCharacterwise:
      view.DeleteRange(range.start, range.end);
      return false;
    case RangeKind::kBlockwise:
      for (uint32_t line = range.start.line; line <= range.end.line && line <= last_line; ++line) {
        BlockSpan span = BlockSpanOnLine(view, line, block);
        if (span.end > span.start) view.DeleteRange({line, span.start}, {line, span.end});
      }
      view.SetCaret({range.start.line, BlockSpanOnLine(view, range.start.line, block).start});
      return false;
  }
  return false;
}

void StoreAndMark(ActionContext& context, const OperatedRange& range) {
  TextView& view = context.text;
  context.engine.Registers().Write(static_cast<char16_t>(context.record.register_name),
                                   RangeText(view, range), range.kind);
  if (BufferMarks* marks = view.Marks()) {
    OperatedRange resolved = ResolveRange(view, range);
    marks->Set(u'[', resolved.start);
    marks->Set(u']', resolved.end);
  }
}

}  // namespace tavik
