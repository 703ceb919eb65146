// The undo and redo history of one buffer: units of primitive edits, compound units and client
// markers, each with a unique id so that clients can enumerate and address them.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "common/text_pos.h"
#include "platform/compact_text.h"

namespace tavik::platform {

// One primitive edit: the text between `start` and `removed_end` was replaced by `inserted`,
// which ends at `inserted_end`.
// An edit keeps only the text that is not in the buffer at the moment: the removed text while
// the edit stands, the inserted text while it is undone. The other side is read back from the
// buffer when the edit is reverted or reapplied, so a large put costs no copy at record time.
struct UndoEdit {
  TextPos start;
  TextPos removed_end;
  TextPos inserted_end;
  CompactText removed;
  CompactText inserted;
};

struct UndoUnit {
  uint64_t id = 0;
  const void* marker_tag = nullptr;  // non-null for client markers, which hold no edit
  bool typing = false;               // typed text, which later typing may extend
  std::vector<UndoEdit> edits;
  // The text's state (see UndoHistory::State) before the unit's edits and after them.
  uint64_t state_before = 0;
  uint64_t state_after = 0;
};

class UndoHistory {
 public:
  // Records an edit, into the open compound unit if any. Typed edits that continue the newest
  // typed unit join it. Clears the redo list.
  void Record(UndoEdit edit, bool typing = false);

  // Nested grouping: the outermost close turns everything recorded inside into one unit.
  void OpenCompound();
  // Returns false when no compound edit is open.
  bool CloseCompound();
  uint32_t CompoundDepth() const { return compound_depth_; }

  void PushMarker(const void* tag);

  size_t UndoCount() const { return undo_.size(); }
  const UndoUnit& UndoAt(size_t index) const { return undo_[index]; }  // oldest first
  size_t RedoCount() const { return redo_.size(); }
  const UndoUnit& RedoAt(size_t index) const { return redo_[redo_.size() - 1 - index]; }

  // Moves the newest unit to the redo list and returns it, for the caller to revert its edits.
  UndoUnit* TakeNewestForUndo();
  // Moves the next redo unit back to the undo list and returns it, for the caller to reapply.
  UndoUnit* TakeNextForRedo();
  // Position of the unit in the redo list (0 = next to redo), if present.
  std::optional<size_t> RedoIndexOf(uint64_t id) const;

  // Names the text as it stands: every recorded edit gives a new state, undo gives back the
  // state before the unit and redo the state after it, so two moments with the same state hold
  // the same text. A file's saved state compared with it tells whether the text was modified.
  uint64_t State() const { return state_; }
  // Called before a recorded edit changes the text: the new state it will have.
  void BeginEdit() {
    if (!replaying_) state_before_edit_ = std::exchange(state_, next_state_++);
  }

  // While reverting or reapplying, the buffer's edits must not be recorded.
  bool Replaying() const { return replaying_; }
  void SetReplaying(bool on) { replaying_ = on; }

  void Clear();

 private:
  uint64_t NextId() { return next_id_++; }

  std::deque<UndoUnit> undo_;
  std::vector<UndoUnit> redo_;  // next unit to redo at the back
  std::optional<UndoUnit> open_;
  uint32_t compound_depth_ = 0;
  uint64_t next_id_ = 1;
  bool replaying_ = false;
  uint64_t state_ = 0;
  uint64_t state_before_edit_ = 0;
  uint64_t next_state_ = 1;
};

}  // namespace tavik::platform
