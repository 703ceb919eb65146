// Line-shaping actions: ">" and "<" shift lines by one indent unit, "=" and "gq" format them
// through the host, "zf" folds a range, "gS" hands a range to the host as its selection.
#include <algorithm>
#include <string>

#include "common/char_class.h"
#include "engine/actions/actions.h"
#include "engine/actions/delete_operated.h"
#include "engine/actions/indent.h"
#include "engine/state/buffer_marks.h"
#include "engine/state/jump_list.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik::actions {
namespace {

// The lines of the range; an end of "end of line" on the start means the start line alone.
std::pair<uint32_t, uint32_t> RangeLines(const TextView& view, const OperatedRange& range) {
  OperatedRange r = ResolveRange(view, range);
  return {std::min(r.start.line, r.end.line), std::max(r.start.line, r.end.line)};
}

void MarkLines(TextView& view, uint32_t first, uint32_t last) {
  if (BufferMarks* marks = view.Marks()) {
    marks->Set(u'[', {first, 0});
    marks->Set(u']', {last, view.LineLength(last)});
  }
}

void Shift(ActionContext& context, bool right) {
  TextView& view = context.text;
  if (!context.range) {
    context.remaining_count = 0;
    return;
  }
  auto [first, last] = RangeLines(view, *context.range);
  ShiftLines(view, first, last, right);
  MarkLines(view, first, last);
  view.SetCaret(FirstNonBlankPos(view, first));
}

// The range as the host's own selection, in the host's shapes.
void SelectInHost(TextView& view, const OperatedRange& unresolved) {
  OperatedRange range = ResolveRange(view, unresolved);
  switch (range.kind) {
    case RangeKind::kLinewise:
      view.SetSelection({range.start.line, 0},
                        range.end.line + 1 < view.LineCount()
                            ? TextPos{range.end.line + 1, 0}
                            : TextPos{range.end.line, view.LineLength(range.end.line)},
                        SelectionKind::kCharacter);
      break;
    case RangeKind::kBlockwise:
      view.SetSelection(range.start, range.end, SelectionKind::kBlock);
      break;
    case RangeKind::kCharacterwise:
      view.SetSelection(range.start, range.end, SelectionKind::kCharacter);
      break;
  }
}

}  // namespace

void ShiftRight(ActionContext& context) {
  Shift(context, true);
}
void ShiftLeft(ActionContext& context) {
  Shift(context, false);
}

void Format(ActionContext& context) {
  context.remaining_count = 0;
  if (!context.range) return;
  TextView& view = context.text;
  auto [first, last] = RangeLines(view, *context.range);
  MarkLines(view, first, last);
  SelectInHost(view, *context.range);
  view.ExecuteHostCommand(u"Edit.FormatSelection");
  view.ClearSelection();
  view.RefreshFromHost(true);
  view.MarkModified();
  view.SetCaret(FirstNonBlankPos(view, first));
}

void CreateFold(ActionContext& context) {
  context.remaining_count = 0;
  if (!context.range) return;
  TextView& view = context.text;
  OperatedRange range = ResolveRange(view, *context.range);
  TextPos end = range.end;
  if (range.kind == RangeKind::kLinewise) end = {range.end.line, view.LineLength(range.end.line)};
  TextPos start = range.kind == RangeKind::kLinewise ? TextPos{range.start.line, 0} : range.start;
  view.CreateCollapsedRegion(start, end);
  view.SetCaret(start);
}

void ExpandAllRegions(ActionContext& context) {
  context.remaining_count = 0;
  context.text.ExpandAllRegions();
  context.text.RefreshFromHost(true);
}

void SelectRangeInHost(ActionContext& context) {
  context.remaining_count = 0;
  if (!context.range) return;
  SelectInHost(context.text, *context.range);
  context.text.RefreshFromHost(true);
  context.caret_placed = true;
}

void GoToDefinition(ActionContext& context) {
  context.remaining_count = 0;
  TextView& view = context.text;
  TextPos caret = view.GetCaret();
  std::u16string_view line = view.LineText(caret.line);
  // The word under the caret, or the next word after it on the line.
  auto size = static_cast<uint32_t>(line.size());
  uint32_t at = std::min(caret.column, size);
  while (at < size && !IsWordChar(line[at])) ++at;
  uint32_t start = at;
  while (start > 0 && IsWordChar(line[start - 1])) --start;
  uint32_t end = at;
  while (end < size && IsWordChar(line[end])) ++end;
  if (end == start) {
    context.engine.Beep(view);
    return;
  }
  std::u16string command = u"Edit.GotoDefinition ";
  command += line.substr(start, std::min<uint32_t>(end - start, 300));
  context.engine.Marks().jumps.Record(view.DocumentName(), caret, true);
  view.ExecuteHostCommand(command);
  view.RefreshFromHost(true);
}

}  // namespace tavik::actions
