// The visual selection between its two caret positions: the anchor where it started and the
// moving end where the cursor is. Both lie between characters, so the character at the larger
// one is not selected.
#include "engine/visual_mode.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "engine/actions/action_table.h"
#include "engine/motions/motion_codes.h"
#include "engine/motions/motions.h"
#include "engine/text/text_view.h"

namespace tavik {
namespace {

constexpr std::array<ActionCode, 8> kKeepVisual = {
    7,   // q: recording
    24,  // K: no effect
    25,  // no key
    35,  // CTRL-Y: scroll
    36,  // CTRL-E: scroll
    37,  // m: set a mark
    45,  // @: the register's keys run in visual mode
    11,  // U in normal mode has no effect; never reached in visual mode
};

SelectionKind SelectionKindOf(VisualKind kind) {
  switch (kind) {
    case VisualKind::kLinewise:
      return SelectionKind::kLine;
    case VisualKind::kBlockwise:
      return SelectionKind::kBlock;
    default:
      return SelectionKind::kCharacter;
  }
}

}  // namespace

bool KeepsVisualMode(ActionCode code) {
  return std::find(kKeepVisual.begin(), kKeepVisual.end(), code) != kKeepVisual.end();
}

TextPos MoveVisualEnd(const TextView& text, ViewState& state, VisualKind& kind,
                      const MotionResult& motion, TextPos target) {
  if (motion.explicit_start) state.visual_start = motion.anchor;
  if (motion.to_linewise_visual) kind = VisualKind::kLinewise;
  if (motion.to_characterwise_visual) kind = VisualKind::kCharacterwise;
  TextPos end = target;
  if (motion.kind == MotionKind::kInclusive && kind != VisualKind::kLinewise &&
      end.line < text.LineCount() && end.column < text.LineLength(end.line)) {
    // The stored end is exclusive: the target character belongs to the selection.
    end.column = text.NextCharColumn(end.line, end.column);
  }
  state.visual_end = end;
  state.visual_block_to_line_end = kind == VisualKind::kBlockwise && motion.want_end_of_line;
  return end;
}

OperatedRange VisualSpan(const TextView& text, const ViewState& state, VisualKind kind) {
  TextPos start = state.visual_start;
  TextPos end = state.visual_end;
  switch (kind) {
    case VisualKind::kLinewise: {
      if (end < start) std::swap(start, end);
      return {text.StartOfLine(start.line), text.EndOfLine(end.line), RangeKind::kLinewise};
    }
    case VisualKind::kBlockwise: {
      // The corners keep their columns: the block runs between their display columns.
      if (end.line < start.line) std::swap(start, end);
      if (state.visual_block_to_line_end) end.column = kEndOfLineColumn;
      return {start, end, RangeKind::kBlockwise};
    }
    case VisualKind::kCharacterwise:
      break;
  }
  if (end < start) std::swap(start, end);
  return {start, end, RangeKind::kCharacterwise};
}

CommandRecord VisualRepeatRecord(const TextView& text, const ViewState& state, VisualKind kind,
                                 CommandRecord command) {
  TextPos first = state.visual_start;
  TextPos last = state.visual_end;
  if (last < first) std::swap(first, last);
  auto display = [&text](TextPos pos) {
    uint32_t column = std::min(pos.column, text.LineLength(pos.line));
    return static_cast<int64_t>(text.VirtualColumn(pos.line, column));
  };
  int64_t line_delta = static_cast<int64_t>(last.line) - first.line;
  int64_t column_delta = 0;
  switch (kind) {
    case VisualKind::kCharacterwise:
      command.motion = motion::kVisualRepeatCharacter;
      column_delta = display(last) - display(first);
      break;
    case VisualKind::kLinewise:
      command.motion = motion::kVisualRepeatLine;
      break;
    case VisualKind::kBlockwise:
      command.motion = motion::kVisualRepeatBlock;
      column_delta = state.visual_block_to_line_end ? motions::kRepeatBlockToLineEnd
                                                    : std::llabs(display(last) - display(first));
      break;
  }
  command.motion_count = 0;
  command.executor_data[0] = static_cast<uint32_t>(static_cast<int32_t>(line_delta));
  command.executor_data[1] = static_cast<uint32_t>(static_cast<int32_t>(column_delta));
  return command;
}

namespace {

// The selection as selection markers: the text between the two ends, whole lines, or on every
// line of a block the units that fall in its display columns.
void MarkVisualSelection(TextView& text, const ViewState& state, VisualKind kind, TextPos anchor,
                         TextPos end) {
  std::vector<HighlightRange> ranges;
  TextPos first = std::min(anchor, end);
  TextPos last = std::max(anchor, end);
  switch (kind) {
    case VisualKind::kCharacterwise:
      ranges.push_back({first, last});
      break;
    case VisualKind::kLinewise: {
      TextPos to = text.EndOfLine(last.line);
      if (to.column == kEndOfLineColumn) to.column = text.LineLength(last.line);
      ranges.push_back({text.StartOfLine(first.line), to});
      break;
    }
    case VisualKind::kBlockwise: {
      const uint32_t a = text.VirtualColumn(anchor.line, anchor.column);
      const uint32_t b = text.VirtualColumn(end.line, end.column);
      const uint32_t left = std::min(a, b);
      // The column under the cursor is shown as part of the block, as the host shows it.
      const uint32_t right = std::max(a, b) + 1;
      for (uint32_t line = first.line; line <= last.line; ++line) {
        const uint32_t length = text.LineLength(line);
        const uint32_t from = text.ColumnOfVirtual(line, left, false);
        uint32_t to =
            state.visual_block_to_line_end ? length : text.ColumnOfVirtual(line, right, false);
        // A tab reaching into the block from its left belongs to it.
        if (to < length && to == from && text.VirtualColumn(line, to) < right) {
          to = text.NextCharColumn(line, to);
        }
        if (from < to) ranges.push_back({{line, from}, {line, to}});
      }
      break;
    }
  }
  if (HostView* host = text.Host(); host != nullptr && text.IsAttached())
    host->SetHighlights(HighlightLayer::kSelection, ranges);
}

}  // namespace

void HideVisualSelection(TextView& text) {
  text.ClearSelection();
  if (HostView* host = text.Host(); host != nullptr && text.IsAttached())
    host->SetHighlights(HighlightLayer::kSelection, {});
}

void ShowVisualSelection(TextView& text, const ViewState& state, VisualKind kind,
                         bool use_host_selection) {
  TextPos anchor =
      text.ClampPosition(state.visual_start.line, state.visual_start.column, true, false);
  TextPos end = text.ClampPosition(state.visual_end.line, state.visual_end.column, true, false);
  if (!use_host_selection) {
    if (kind == VisualKind::kBlockwise && state.visual_block_to_line_end)
      end.column = text.LineLength(end.line);
    MarkVisualSelection(text, state, kind, anchor, end);
    return;
  }
  if (kind == VisualKind::kLinewise) {
    // Whole lines, with the active end on the cursor's line.
    bool forward = anchor <= end;
    TextPos first = text.StartOfLine(forward ? anchor.line : end.line);
    TextPos last = text.EndOfLine(forward ? end.line : anchor.line);
    if (last.column == kEndOfLineColumn) last.column = text.LineLength(last.line);
    TextPos from = forward ? first : last;
    TextPos to = forward ? last : first;
    text.SetSelection(from, to, SelectionKind::kLine);
    // The host put its caret at the line's end; take it in now, so that the next key does not
    // read it as a caret moved by the user (which would reset the desired column).
    text.RefreshFromHost(false);
    text.SetSelection(from, to, SelectionKind::kLine);
    return;
  }
  if (kind == VisualKind::kBlockwise && state.visual_block_to_line_end) {
    end.column = text.LineLength(end.line);
  }
  text.SetSelection(anchor, end, SelectionKindOf(kind));
}

void RememberLeftSelection(ViewState& state, VisualKind kind) {
  state.has_left_selection = true;
  state.left_kind = kind;
  state.left_start = state.visual_start;
  state.left_end = state.visual_end;
}

}  // namespace tavik
