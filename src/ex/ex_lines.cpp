// The ex commands that edit or store whole lines in place: delete, yank, join, put, the two
// shifts, and deleting marks.
#include <algorithm>

#include "engine/actions/delete_operated.h"
#include "engine/actions/indent.h"
#include "engine/actions/line_join.h"
#include "engine/actions/put_text.h"
#include "engine/state/buffer_marks.h"
#include "engine/state/jump_list.h"
#include "engine/state/register_file.h"
#include "engine/text/range_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"
#include "ex/ex_line_args.h"

namespace tavik::ex_commands {
namespace {

OperatedRange WholeLines(uint32_t first, uint32_t last) {
  return {{first, 0}, {last, kEndOfLineColumn}, RangeKind::kLinewise};
}

ExRange ClampRange(const TextView& view, ExRange range) {
  const uint32_t last_line = view.LineCount() - 1;
  range.last = std::min(range.last, last_line);
  range.first = std::min(range.first, range.last);
  return range;
}

void Shift(ExContext& context, ExRange range, bool right) {
  TextView& view = context.text;
  range = ClampRange(view, range);
  ShiftLines(view, range.first, range.last, right);
  SetChangeMarks(view, range.first, range.last);
  CursorToFirstNonBlank(view, range.last);
}

// Deletes lines [first, last] in one edit; returns the line after them (the one before, when
// they ended the buffer).
uint32_t DeleteWholeLines(TextView& view, uint32_t first, uint32_t last) {
  bool end_removed = false;
  {
    TextView::CompoundScope compound(view);
    end_removed = DeleteOperated(view, WholeLines(first, last));
  }
  uint32_t line = first;
  if (end_removed && line > 0) --line;
  return std::min(line, view.LineCount() - 1);
}

// Lines [first, last] into a register, as whole lines.
void RegisterLines(ExContext& context, char16_t name, uint32_t first, uint32_t last) {
  context.engine.Registers().Write(name, RangeText(context.text, WholeLines(first, last)),
                                   RangeKind::kLinewise);
}

void PlaceAfterLineDelete(TextView& view, uint32_t line) {
  SetChangeMarks(view, line, line);
  CursorToFirstNonBlank(view, line);
}

}  // namespace

void DeleteLines(ExContext& context, std::u16string_view argument, ExRange range, bool) {
  TextView& view = context.text;
  LineArgs args = TakeLineArgs(context, argument, ClampRange(view, range), true);
  RegisterLines(context, args.register_name, args.range.first, args.range.last);
  PlaceAfterLineDelete(view, DeleteWholeLines(view, args.range.first, args.range.last));
}

void DeleteLinesOneByOne(ExContext& context, uint32_t first, uint32_t last, bool final) {
  TextView& view = context.text;
  if (BufferMarks* marks = view.Marks()) marks->GatherLineStarts(first, last);
  // Deleting them one at a time leaves only the last one in the register.
  if (final) RegisterLines(context, 0, last, last);
  const uint32_t line = DeleteWholeLines(view, first, last);
  if (final) PlaceAfterLineDelete(view, line);
}

void YankLines(ExContext& context, std::u16string_view argument, ExRange range, bool) {
  TextView& view = context.text;
  LineArgs args = TakeLineArgs(context, argument, ClampRange(view, range), true);
  RegisterLines(context, args.register_name, args.range.first, args.range.last);
  SetChangeMarks(view, args.range.first, args.range.last);
}

void JoinLines(ExContext& context, std::u16string_view argument, ExRange range, bool) {
  TextView& view = context.text;
  LineArgs args = TakeLineArgs(context, argument, ClampRange(view, range), false);
  const uint32_t first = args.range.first;
  const uint32_t joins = args.range.last - first;
  if (joins == 0) return;
  {
    TextView::CompoundScope compound(view);
    for (uint32_t i = 0; i < joins && first + 1 < view.LineCount(); ++i) {
      JoinLineWithNext(view, first, true);
    }
  }
  SetChangeMarks(view, first, first);
  CursorToFirstNonBlank(view, first);
}

void PutLines(ExContext& context, std::u16string_view argument, ExRange range, bool bang) {
  TextView& view = context.text;
  range = ClampRange(view, range);
  LineArgs args = TakeLineArgs(context, argument, range, true);
  const Register* reg = context.engine.Registers().Get(args.register_name);
  if (reg == nullptr) return;
  PutRequest request{{range.last, 0}, !(bang || range.last_is_zero), 1, false};
  PutOutcome outcome = PutLinesOfRegister(context, *reg, request);
  if (!outcome.done) return;
  std::u16string message = MoreLinesMessage(outcome.lines_added);
  if (!message.empty()) context.Message(message);
}

void ShiftRight(ExContext& context, std::u16string_view, ExRange range, bool) {
  Shift(context, range, true);
}

void ShiftLeft(ExContext& context, std::u16string_view, ExRange range, bool) {
  Shift(context, range, false);
}

void DeleteMarks(ExContext& context, std::u16string_view argument, ExRange, bool) {
  BufferMarks* marks = context.text.Marks();
  for (char16_t name : argument) {
    if (GlobalMarks::IsGlobalName(name)) {
      context.engine.Marks().global.Clear(name);
    } else if (marks != nullptr) {
      marks->Clear(name);
    }
  }
}

}  // namespace tavik::ex_commands
