// The visual-only actions: starting, switching and leaving the three kinds, "o" and "gv", and
// the insert-entering keys that act on a selection ("I", "A", "R", and "c" on a block).
#include <algorithm>

#include "engine/actions/action_codes.h"
#include "engine/actions/actions.h"
#include "engine/actions/delete_operated.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/range_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "engine/visual_mode.h"

namespace tavik::actions {
namespace {

VisualKind KindOfKey(ActionCode code) {
  return code == action::kVisualLinewise    ? VisualKind::kLinewise
         : code == action::kVisualBlockwise ? VisualKind::kBlockwise
                                            : VisualKind::kCharacterwise;
}

void RequestVisual(ActionContext& context, VisualKind kind, TextPos start, TextPos end) {
  ModeRequest& request = context.mode_request;
  request.visual = true;
  request.visual_kind = kind;
  request.visual_start = start;
  request.visual_end = end;
}

// The view line of a buffer position.
uint32_t ViewLineOf(const TextView& text, uint32_t line) {
  return text.BufferToView({line, 0}).line;
}

// The insertion on the block's first line is copied to its other lines when insert mode is left,
// or right away when "." repeats it. The caret is on the block's first line already.
void DescribeBlock(ActionContext& context, const OperatedRange& block, int32_t column, bool pad,
                   bool caret_to_corner, TextPos corner) {
  TextView& text = context.text;
  ModeRequest& request = context.mode_request;
  request.block_insert = true;
  request.block.first_line = ViewLineOf(text, block.start.line);
  request.block.last_line = ViewLineOf(text, block.end.line);
  request.block.display_column = column;
  request.block.pad = pad;
  request.block.line_count = text.LineCount();
  request.block.repeat_count = 0;
  request.block.caret_to_corner = caret_to_corner;
  request.block.corner = corner;
}

// "I" and "A" on a block: the caret goes to the block's left or right edge on its first line.
void BlockInsert(ActionContext& context, bool append) {
  TextView& text = context.text;
  const OperatedRange& block = *context.range;
  BlockColumns columns = BlockColumnsOf(text, block);
  uint32_t line = block.start.line;
  TextPos corner{line,
                 std::min(text.ColumnOfVirtual(line, columns.left, false), text.LineLength(line))};
  int32_t column = 0;
  TextPos caret;
  if (append && columns.to_line_end) {
    column = kBlockColumnLineEnd;
    caret = {line, text.LineLength(line)};
  } else {
    uint32_t display = append ? columns.right : columns.left;
    column = static_cast<int32_t>(display);
    uint32_t at = text.ColumnOfVirtual(line, display, false);
    uint32_t line_display = text.VirtualColumn(line, text.LineLength(line));
    if (append && line_display < display) {
      // The first line is short: "A" pads it with blanks up to the block's edge.
      text.InsertText({line, text.LineLength(line)}, std::u16string(display - line_display, u' '));
      at = text.LineLength(line);
    }
    caret = {line, std::min(at, text.LineLength(line))};
  }
  text.SetCaret(caret);
  DescribeBlock(context, block, column, append, true, corner);
  context.remaining_count = 0;
  EnterInsert(context, OpenLine::kNone, false);
}

}  // namespace

// v, V and CTRL-V: start visual mode, switch its kind, or leave it when the kind is the same.
void VisualKindKey(ActionContext& context) {
  context.remaining_count = 0;
  ViewEngine& engine = context.engine;
  ViewState& state = engine.State();
  VisualKind kind = KindOfKey(context.code());
  if (engine.Mode() != EngineMode::kVisual) {
    TextPos caret = context.text.GetCaret();
    state.visual_block_to_line_end = false;
    RequestVisual(context, kind, caret, caret);
    return;
  }
  if (engine.GetVisualKind() == kind) {
    // Leaving: the cursor stays at the moving end.
    context.text.SetCaret(state.visual_end);
    return;
  }
  RequestVisual(context, kind, state.visual_start, state.visual_end);
}

// o and O: the ends change places; the cursor goes to the new moving end.
void SwapVisualEnds(ActionContext& context) {
  context.remaining_count = 0;
  ViewEngine& engine = context.engine;
  if (engine.Mode() != EngineMode::kVisual) return;
  const ViewState& state = engine.State();
  RequestVisual(context, engine.GetVisualKind(), state.visual_end, state.visual_start);
  context.text.SetCaret(state.visual_start);
  context.caret_placed = true;
}

// gv: reselect the area of marks "<" and ">" with the view's last visual kind; the area being
// left takes their place, so a second gv goes back to it.
void Reselect(ActionContext& context) {
  context.remaining_count = 0;
  ViewEngine& engine = context.engine;
  TextView& text = context.text;
  ViewState& state = engine.State();
  BufferMarks* marks = text.Marks();
  std::optional<TextPos> start = marks ? marks->Get(u'<') : std::nullopt;
  std::optional<TextPos> end = marks ? marks->Get(u'>') : std::nullopt;
  bool visual = engine.Mode() == EngineMode::kVisual;
  VisualKind kind = text.last_visual_kind;
  if (visual && state.has_left_selection) {
    // In visual mode the marks hold the current area; the one left before is the other.
    start = state.left_start;
    end = state.left_end;
    kind = state.left_kind;
  }
  if (!start || !end) {
    engine.Beep(text);
    if (visual)
      RequestVisual(context, engine.GetVisualKind(), state.visual_start, state.visual_end);
    return;
  }
  VisualKind left_kind = visual ? engine.GetVisualKind() : text.last_visual_kind;
  TextPos left_start = state.visual_start;
  TextPos left_end = state.visual_end;
  if (visual) RememberLeftSelection(state, left_kind);
  TextPos new_start = text.ClampPosition(start->line, start->column, true, false);
  TextPos new_end = text.ClampPosition(end->line, end->column, true, false);
  state.visual_block_to_line_end = false;
  RequestVisual(context, kind, new_start, new_end);
  text.last_visual_kind = left_kind;
  marks->Set(u'<', left_start);
  marks->Set(u'>', left_end);
  text.SetCaret(new_end);
  context.caret_placed = true;
}

bool RunVisualInsertAction(ActionContext& context) {
  if (!context.range) return false;
  TextView& text = context.text;
  const OperatedRange& range = *context.range;
  bool block = range.kind == RangeKind::kBlockwise;
  // "." repeats a block insertion on a block of the same size at the cursor.
  if (context.engine.Mode() != EngineMode::kVisual && !(context.replay && block)) return false;
  switch (context.code()) {
    case 12:  // I
      if (!block) return false;
      BlockInsert(context, false);
      return true;
    case 19: {  // A
      if (block) {
        BlockInsert(context, true);
        return true;
      }
      if (context.replay) return false;
      context.remaining_count = 0;
      TextPos end = ResolveRange(text, range).end;
      if (range.kind == RangeKind::kLinewise) end = {end.line, text.LineLength(end.line)};
      text.SetCaret(end);
      context.caret_placed = true;
      context.mode_request.insert = true;
      return true;
    }
    case 15:  // R: the selected lines are replaced by what is typed
      if (context.replay) return false;
      SubstituteLines(context);
      return true;
    case 26:  // c on a block: the typed text goes to every line of the block
      if (!block) return false;
      {
        BlockColumns columns = BlockColumnsOf(text, range);
        DescribeBlock(
            context, range,
            columns.to_line_end ? kBlockColumnLineEnd : static_cast<int32_t>(columns.left), false,
            false, {});
        Change(context);
      }
      return true;
    default:
      return false;
  }
}

}  // namespace tavik::actions
