// The lines a global command marked, kept on their text while the commands it runs edit the
// buffer: lines after an insertion move down, lines after a deletion move up, and a marked line
// that is deleted is dropped. The marks are taken once, in order. An edit above the next mark to
// be taken costs O(1), any other edit O(log n) plus O(1) for each mark it drops.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/text/host_view.h"

namespace tavik {

class MarkedLines {
 public:
  // Adds a line; lines are added in increasing order, then Finish is called once.
  void Add(uint32_t line);
  void Finish();
  size_t Count() const { return gap_.size(); }

  // The line of the next mark still there, which is then taken; nothing when every mark is
  // taken or dropped.
  std::optional<uint32_t> Next();
  // The line Next would give, without taking it.
  std::optional<uint32_t> Peek() const;
  // The current line of a mark not taken yet, or nothing when its line was deleted.
  std::optional<uint32_t> Line(size_t index) const;

  // Follows one edit of the buffer.
  void OnChange(const TextChange& change);

 private:
  // The marks not yet taken are stored as the gaps between neighbouring lines in a Fenwick tree
  // plus `offset_`, so that moving every one of them is O(1) and moving those after a place one
  // point update, and a line is a prefix sum. A dropped mark gives its gap to the next one and
  // keeps 0, so the sums never decrease from the first mark not taken on.
  int64_t Prefix(size_t index) const;
  void AddToGap(size_t index, int64_t amount);
  // The first mark whose stored prefix is at least `value` (Count() when there is none).
  size_t FirstAtOrAfter(int64_t value) const;
  // The first mark from `index` on that was not dropped.
  size_t NextAlive(size_t index);
  // Folds `offset_` into the tree, with the taken marks lowered below the first one not taken.
  void Normalize();
  void SeekAlive(size_t index);

  std::vector<int64_t> gap_;
  std::vector<int64_t> tree_;         // 1-based Fenwick sums over gap_
  std::vector<uint32_t> next_alive_;  // union-find over dropped marks; size Count() + 1
  std::vector<bool> dropped_;
  uint32_t last_added_ = 0;
  bool built_ = false;
  size_t cursor_ = 0;        // the first mark not taken; never a dropped one
  int64_t cursor_line_ = 0;  // its line
  int64_t offset_ = 0;       // added to the stored line of every mark not taken
};

}  // namespace tavik
