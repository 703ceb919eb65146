// Yank and put: "y", "Y", "p", "P", "gp", "gP", "]p", "[p", "]P", "[P", and put over a
// selection.
#include <algorithm>

#include "common/decimal.h"
#include "engine/actions/actions.h"
#include "engine/actions/delete_operated.h"
#include "engine/actions/put_text.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/range_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik::actions {
namespace {

char16_t RegisterName(const ActionContext& context) {
  return static_cast<unsigned char>(context.record.register_name);
}

// Takes the count for the handler itself; no count means 1.
uint32_t TakeCount(ActionContext& context) {
  uint32_t count = std::max<uint32_t>(context.remaining_count, 1);
  context.remaining_count = 0;
  return count;
}

void SetMark(TextView& text, char16_t name, TextPos pos) {
  if (BufferMarks* marks = text.Marks()) marks->Set(name, pos);
}

TextPos ResolveColumn(const TextView& text, TextPos pos) {
  if (pos.column == kEndOfLineColumn) pos.column = text.LineLength(pos.line);
  return pos;
}

void YankRange(ActionContext& context, const OperatedRange& range) {
  TextView& text = context.text;
  RegisterFile& registers = context.engine.Registers();
  size_t slot = registers.BeginWrite(RegisterName(context), range.kind);
  registers.Append(slot, RangeText(text, range));
  registers.EndWrite(slot);

  TextPos start = ResolveColumn(text, std::min(range.start, range.end));
  TextPos end = ResolveColumn(text, std::max(range.start, range.end));
  SetMark(text, u'[', start);
  SetMark(text, u']', end);

  // The cursor goes to the start of what was yanked; a linewise yank keeps the column.
  TextPos caret = text.GetCaret();
  switch (range.kind) {
    case RangeKind::kCharacterwise:
      caret = start;
      break;
    case RangeKind::kLinewise:
      caret.line = start.line;
      break;
    case RangeKind::kBlockwise:
      caret = {start.line,
               text.ColumnOfVirtual(start.line, BlockColumnsOf(text, range).left, false)};
      break;
  }
  if (caret != text.GetCaret()) text.SetCaret(caret);

  uint32_t lines = RangeLineCount(range);
  if (lines > 2) context.engine.SetMessage(DecimalText(lines) + u" lines yanked");
}

// Runs the host's formatting over the lines a put inserted, as "=" does.
void Reindent(TextView& text, uint32_t first_line, uint32_t last_line) {
  text.SetSelection({first_line, 0}, text.EndOfLine(last_line), SelectionKind::kLine);
  text.ExecuteHostCommand(u"Edit.FormatSelection");
  text.ClearSelection();
  text.RefreshFromHost(true);
  text.MarkModified();
}

// A put over a selection: the selection is deleted first, into the register the command names,
// and the text goes in before the place where it began, or after the last line when the
// deletion took the buffer's last lines. Returns whether to put after the caret.
bool DeleteSelectionForPut(ActionContext& context, const OperatedRange& selection) {
  TextView& text = context.text;
  StoreAndMark(context, selection);
  OperatedRange resolved = ResolveRange(text, selection);
  bool removed_last_line = DeleteOperated(text, selection);
  if (removed_last_line) {
    text.SetCaret({text.LineCount() - 1, 0});
    return true;
  }
  if (selection.kind != RangeKind::kBlockwise) {
    TextPos start =
        resolved.kind == RangeKind::kLinewise ? TextPos{resolved.start.line, 0} : resolved.start;
    text.SetCaret(text.ClampPosition(start.line, start.column, true, false));
  }
  return false;
}

void Put(ActionContext& context, bool after, bool cursor_after, bool reindent) {
  uint32_t count = TakeCount(context);
  TextView& text = context.text;
  const Register* stored = context.engine.Registers().Get(RegisterName(context));
  if (stored == nullptr || (context.range && stored->Text().empty())) return;
  const Register* reg = stored;
  Register taken;
  if (context.range) {
    // The deletion may write the very register being put: its text is taken first.
    taken = *stored;
    reg = &taken;
    after = DeleteSelectionForPut(context, *context.range);
  }

  PutRequest request{text.GetCaret(), after, count, cursor_after};
  PutOutcome outcome = PutRegister(text, *reg, request);
  if (outcome.too_long) {
    context.engine.SetMessage(kPutTooLongMessage);
    return;
  }
  if (!outcome.done) return;

  TextPos caret = outcome.caret;
  if (reindent) {
    Reindent(text, outcome.first_line, outcome.last_line);
    uint32_t column = text.ColumnOfVirtual(outcome.first_line, 0, false);
    std::u16string_view first = text.LineText(outcome.first_line);
    while (column < first.size() && (first[column] == u' ' || first[column] == u'\t')) ++column;
    caret = {outcome.first_line, column};
    outcome.start.column = std::min(outcome.start.column, text.LineLength(outcome.start.line));
    outcome.last = {outcome.last_line,
                    std::max<uint32_t>(text.LineLength(outcome.last_line), 1) - 1};
  }
  SetMark(text, u'[', outcome.start);
  SetMark(text, u']', outcome.last);
  text.SetCaret(caret);
  std::u16string message = MoreLinesMessage(outcome.lines_added);
  if (!message.empty()) context.engine.SetMessage(message);
}

}  // namespace

void Yank(ActionContext& context) {
  context.remaining_count = 0;
  if (context.range) YankRange(context, *context.range);
}

void YankLines(ActionContext& context) {
  uint32_t count = TakeCount(context);
  if (context.range) {
    YankRange(context, *context.range);
    return;
  }
  TextView& text = context.text;
  uint32_t first = text.GetCaret().line;
  uint64_t last = std::min<uint64_t>(uint64_t{first} + count - 1, text.LineCount() - 1);
  OperatedRange lines{
      {first, 0}, text.EndOfLine(static_cast<uint32_t>(last)), RangeKind::kLinewise};
  YankRange(context, lines);
}

void PutAfter(ActionContext& context) {
  Put(context, true, context.argument() == u'x', false);
}

void PutBefore(ActionContext& context) {
  Put(context, false, context.argument() == u'x', false);
}

void PutIndented(ActionContext& context) {
  Put(context, context.argument() == u'p', false, true);
}

}  // namespace tavik::actions
