// The lines a global command marked, kept on their text while the commands it runs edit the
// buffer: lines after an insertion move down, lines after a deletion move up, and a marked line
// that is deleted is dropped. Each edit costs O(log n) plus O(1) per mark it drops.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/host_view.h"

namespace tavik {

class MarkedLines {
 public:
  // Adds a line; lines are added in increasing order, then Finish is called once.
  void Add(uint32_t line);
  void Finish();
  size_t Count() const { return gap_.size(); }
  // The current line of the mark with this index, or nothing when its line was deleted.
  std::optional<uint32_t> Line(size_t index) const;
  // Follows one edit of the buffer.
  void OnChange(const TextChange& change);

 private:
  // Marks are stored as the gaps between neighbouring lines in a Fenwick tree, so that shifting
  // every mark after a place is one point update and a line's position one prefix sum. A dropped
  // mark gives its gap to the next mark and keeps 0, so the sums never decrease.
  int64_t Prefix(size_t index) const;  // the line of mark `index`
  void AddToGap(size_t index, int64_t amount);
  // The first mark whose line is at least `line` (Count() when there is none).
  size_t FirstAtOrAfter(int64_t line) const;
  // The first mark from `index` on that was not dropped.
  size_t NextAlive(size_t index);

  std::vector<int64_t> gap_;
  std::vector<int64_t> tree_;         // 1-based Fenwick sums over gap_
  std::vector<uint32_t> next_alive_;  // union-find over dropped marks; size Count() + 1
  std::vector<bool> dropped_;
  uint32_t last_added_ = 0;
  bool built_ = false;
};

}  // namespace tavik
