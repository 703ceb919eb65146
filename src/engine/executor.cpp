// The executor: runs the motion of a complete command, turns its result into the operated range,
// brackets the action as one undo step, applies the mode the action asks for, stores repeatable
// commands as the last change and places the caret.
#include "engine/executor.h"

#include "common/char_class.h"
#include "engine/actions/action_table.h"
#include "engine/actions/actions.h"
#include "engine/state/buffer_marks.h"
#include "engine/text/line_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "engine/visual_mode.h"

namespace tavik {
namespace {

RangeKind RangeKindOf(MotionKind kind) {
  switch (kind) {
    case MotionKind::kLinewise:
      return RangeKind::kLinewise;
    case MotionKind::kBlockwise:
      return RangeKind::kBlockwise;
    default:
      return RangeKind::kCharacterwise;
  }
}

// A forced kind typed between operator and motion overrides the motion's own kind.
void ApplyForcedKind(const CommandRecord& command, MotionResult& motion, RangeKind& kind) {
  if (!command.forced) return;
  switch (command.forced_kind) {
    case ForcedKind::kBlockwise:
      // A forced block includes the columns of both ends.
      kind = RangeKind::kBlockwise;
      motion.kind = MotionKind::kInclusive;
      break;
    case ForcedKind::kLinewise:
      kind = RangeKind::kLinewise;
      break;
    case ForcedKind::kCharacterwise:
      kind = RangeKind::kCharacterwise;
      motion.kind =
          motion.kind == MotionKind::kExclusive ? MotionKind::kInclusive : MotionKind::kExclusive;
      break;
  }
}

}  // namespace

OperatedRange PrepareRange(const TextView& text, const MotionResult& motion, RangeKind kind) {
  OperatedRange range{motion.anchor, motion.target, kind};
  if (motion.line_changed && range.end.line > 0) range.end = text.EndOfLine(range.end.line - 1);
  if (motion.kind == MotionKind::kExclusive && range.start < range.end && range.end.column == 0 &&
      range.end.line > 0) {
    range.end = {range.end.line - 1, text.LineLength(range.end.line - 1)};
    if (range.start.column <= FirstNonBlankColumn(text, range.start.line)) {
      range.kind = RangeKind::kLinewise;
    }
  }
  if (range.end < range.start) std::swap(range.start, range.end);
  if (range.kind == RangeKind::kLinewise) {
    range.start = text.StartOfLine(range.start.line);
    range.end = text.EndOfLine(range.end.line);
  }
  if (motion.kind == MotionKind::kInclusive && range.kind == RangeKind::kBlockwise) {
    // The block's right edge is the larger display column of the two ends; take it in.
    TextPos& right = text.VirtualColumn(range.start.line, range.start.column) >
                             text.VirtualColumn(range.end.line, range.end.column)
                         ? range.start
                         : range.end;
    if (right.column < text.LineLength(right.line)) {
      right.column = text.NextCharColumn(right.line, right.column);
    }
  } else if (motion.kind == MotionKind::kInclusive) {
    uint32_t length = text.LineLength(range.end.line);
    if (range.end.column < length) {
      range.end.column = text.NextCharColumn(range.end.line, range.end.column);
    } else if (range.end.line + 1 < text.LineCount() &&
               text.EndOfLine(range.end.line).line != range.end.line) {
      range.end = {range.end.line + 1, 0};
    }
  }
  return range;
}

TextPos ClampCaretForMode(const TextView& text, TextPos pos, EngineMode mode) {
  if (mode == EngineMode::kInsert) return pos;
  bool past_end = mode == EngineMode::kVisual;
  TextPos clamped = text.ClampPosition(pos.line, pos.column, past_end, false);
  if (clamped.column == kEndOfLineColumn) clamped.column = text.LineLength(clamped.line);
  // A caret hidden in a collapsed region goes to the region's start, where it can be seen.
  if (auto region = text.RegionAt(clamped)) return region->start;
  return clamped;
}

bool ViewEngine::RunCommandMotion(TextView& text, const CommandRecord& command,
                                  MotionResult& motion) {
  TextPos caret = text.GetCaret();
  MotionArgs args;
  args.code = command.motion;
  args.count = command.motion_count;
  args.modifier = command.motion_arg;
  args.pattern = command.Text();
  args.change_word = command.action == action::kChange &&
                     caret.column < text.LineLength(caret.line) &&
                     !IsBlankChar(text.CharAt(caret.line, caret.column));
  args.visual_active = mode_ == EngineMode::kVisual;
  args.visual_kind = visual_kind_;
  // The extent of the selection a repeated visual command acts on.
  args.line_delta = static_cast<int32_t>(command.executor_data[0]);
  args.column_delta = static_cast<int32_t>(command.executor_data[1]);
  TextPos from = mode_ == EngineMode::kVisual ? state_.visual_start : caret;
  motion = RunMotion(args, text, state_, mode_ == EngineMode::kVisual ? state_.visual_end : caret,
                     from, &marks_, &search_);
  if (motion.show_search_message) {
    std::u16string message(1, command.motion_arg == u'x' ? u'?' : u'/');
    message += command.Text();
    SetMessage(std::u16string_view(message).substr(0, 254));
  }
  if (!motion.failed) return true;
  if (!motion.open_file.empty() && command.action == action::kNone) {
    // A global mark in another document: open it there.
    if (host_.SwitchToDocument(motion.open_file, motion.open_pos)) {
      mode_ = EngineMode::kNormal;
      return false;
    }
  }
  if (!motion.no_beep) Beep(text);
  // A failed motion ends a register run or mapping: the keys still queued are dropped.
  queue_.clear();
  return false;
}

void ViewEngine::MoveCaretByMotion(TextView& text, const MotionResult& motion) {
  if (!motion.keep_desired_column) {
    state_.desired_column = motion.want_end_of_line
                                ? kDesiredColumnEndOfLine
                                : text.VirtualColumn(motion.target.line, motion.target.column);
  }
  TextPos target = motion.use_view_target && motion.has_view_target
                       ? text.ViewToBuffer(motion.view_target)
                       : motion.target;
  if (mode_ == EngineMode::kVisual) {
    TextPos end = MoveVisualEnd(text, state_, visual_kind_, motion, target);
    text.SetCaret(ClampCaretForMode(text, end, mode_));
  } else {
    text.SetCaret(ClampCaretForMode(text, target, mode_));
  }
}

void ViewEngine::ApplyModeRequest(TextView& text, const ModeRequest& request, ActionCode code,
                                  bool from_visual) {
  if (request.insert) {
    mode_ = EngineMode::kInsert;
    insert_.Start(text, static_cast<OpenLine>(request.open_line));
    if (BufferMarks* marks = text.Marks()) marks->Set(u'[', text.GetCaret());
    replace_ = request.replace;
    insert_repeat_count_ = request.insert_repeat;
    block_insert_ = request.block_insert;
    block_description_ = request.block;
  } else if (request.visual) {
    mode_ = EngineMode::kVisual;
    visual_kind_ = request.visual_kind;
    state_.visual_start = request.visual_start;
    state_.visual_end = request.visual_end;
  } else if (from_visual && mode_ == EngineMode::kVisual && !KeepsVisualMode(code)) {
    mode_ = EngineMode::kNormal;
  }
}

void ViewEngine::RunCommand(AttachedView& view, const CommandRecord& command, bool replay) {
  TextView& text = view.text;
  const ActionCode code = command.action;
  if (code != action::kNone) state_.ClearMessage();

  std::optional<OperatedRange> range;
  MotionResult motion;
  const bool has_motion = command.motion != 0;
  if (has_motion) {
    if (!RunCommandMotion(text, command, motion)) return;
    RangeKind kind = RangeKindOf(motion.kind);
    ApplyForcedKind(command, motion, kind);
    if (code != action::kNone) range = PrepareRange(text, motion, kind);
  } else if (mode_ == EngineMode::kVisual && code != action::kNone) {
    range = VisualSpan(text, state_, visual_kind_);
  }

  if (code == action::kNone) {
    if (has_motion) MoveCaretByMotion(text, motion);
    return;
  }

  TextView::CommandScope undo_step(text, code != action::kUndo && code != action::kRedo &&
                                             ActionHas(code, action_prop::kUndoStep));
  // Only a command line opened from visual mode names the selection; before any selection
  // "<" and ">" stay unset, so that a range through them reports the missing mark.
  if (code == action::kExLine && mode_ == EngineMode::kVisual) {
    if (BufferMarks* marks = text.Marks()) {
      marks->Set(u'<', state_.visual_start);
      marks->Set(u'>', state_.visual_end);
    }
  }
  ActionContext context{command, *this, view,   text, command.action_count,
                        range,   0,     replay, {},   false};
  const bool from_visual = mode_ == EngineMode::kVisual && !has_motion;
  const VisualKind visual_kind = visual_kind_;
  if (!((from_visual || replay) && actions::RunVisualInsertAction(context))) {
    RunAction(code, context);
  }
  ApplyModeRequest(text, context.mode_request, code, from_visual);
  if (!text.IsAttached()) return;
  // The text typed in insert mode joins the step of the command that started it.
  if (mode_ == EngineMode::kInsert) undo_step.KeepOpen();
  undo_step.Close();
  if (ActionHas(code, action_prop::kRepeatable)) {
    last_change_ = from_visual ? VisualRepeatRecord(text, state_, visual_kind, command) : command;
  }
  if (!context.caret_placed) {
    TextPos caret = text.GetCaret();
    TextPos placed = ClampCaretForMode(text, caret, mode_);
    if (placed != caret) text.SetCaret(placed);
  }
  if (!ActionHas(code, action_prop::kKeepsColumn)) SetDesiredColumnFromCaret(text);
}

}  // namespace tavik
