// Unit bookkeeping of the undo history; reverting and reapplying is the buffer's work.
#include "platform/undo_history.h"

namespace tavik::platform {

namespace {

// Two deletions in a row at the same place (a command deleting line after line where the
// previous ones went) become one edit that removed both texts, so that a run of them costs one
// record. False when `next` is not such a deletion.
bool JoinDeletions(UndoEdit& previous, UndoEdit& next) {
  const bool both_delete =
      previous.inserted_end == previous.start && next.inserted_end == next.start;
  if (!both_delete || next.start != previous.start || next.removed.empty()) return false;
  // Where the end of the second deletion was before the first one happened.
  const TextPos s = previous.start;
  const TextPos end = next.removed_end;
  const TextPos was = previous.removed_end;
  previous.removed_end = end.line == s.line
                             ? TextPos{was.line, was.column + (end.column - s.column)}
                             : TextPos{end.line - s.line + was.line, end.column};
  previous.removed.Append(next.removed);
  return true;
}

}  // namespace

void UndoHistory::Record(UndoEdit edit, bool typing) {
  if (replaying_) return;
  redo_.clear();
  if (open_) {
    open_->state_after = state_;
    if (!open_->edits.empty() && JoinDeletions(open_->edits.back(), edit)) return;
    open_->edits.push_back(std::move(edit));
    return;
  }
  if (typing && !undo_.empty() && undo_.back().typing && edit.removed.empty()) {
    UndoUnit& last = undo_.back();
    const UndoEdit& prev = last.edits.back();
    if (prev.inserted_end == edit.start && prev.start.line == edit.start.line &&
        edit.inserted_end.line == edit.start.line) {
      last.state_after = state_;
      last.edits.push_back(std::move(edit));
      return;
    }
  }
  UndoUnit unit;
  unit.id = NextId();
  unit.typing = typing;
  unit.state_before = state_before_edit_;
  unit.state_after = state_;
  unit.edits.push_back(std::move(edit));
  undo_.push_back(std::move(unit));
}

void UndoHistory::OpenCompound() {
  if (compound_depth_++ == 0) {
    open_.emplace();
    open_->id = NextId();
    open_->state_before = open_->state_after = state_;
  }
}

bool UndoHistory::CloseCompound() {
  if (compound_depth_ == 0) return false;
  if (--compound_depth_ == 0) {
    if (!open_->edits.empty()) undo_.push_back(std::move(*open_));
    open_.reset();
  }
  return true;
}

void UndoHistory::PushMarker(const void* tag) {
  redo_.clear();
  UndoUnit unit;
  unit.id = NextId();
  unit.marker_tag = tag;
  unit.state_before = unit.state_after = state_;
  undo_.push_back(std::move(unit));
}

UndoUnit* UndoHistory::TakeNewestForUndo() {
  if (undo_.empty()) return nullptr;
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  state_ = redo_.back().state_before;
  return &redo_.back();
}

UndoUnit* UndoHistory::TakeNextForRedo() {
  if (redo_.empty()) return nullptr;
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  state_ = undo_.back().state_after;
  return &undo_.back();
}

std::optional<size_t> UndoHistory::RedoIndexOf(uint64_t id) const {
  for (size_t i = 0; i < redo_.size(); ++i) {
    if (RedoAt(i).id == id) return i;
  }
  return std::nullopt;
}

void UndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
  open_.reset();
  compound_depth_ = 0;
}

}  // namespace tavik::platform
