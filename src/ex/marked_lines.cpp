// Marked lines of a global command as gaps in a Fenwick tree, with dropped marks skipped by a
// union-find so that a run of deletions never walks the same dropped marks twice.
#include "ex/marked_lines.h"

#include <cassert>

namespace tavik {

void MarkedLines::Add(uint32_t line) {
  assert(!built_);
  assert(gap_.empty() || line > last_added_);
  gap_.push_back(gap_.empty() ? int64_t{line} : int64_t{line} - last_added_);
  last_added_ = line;
}

void MarkedLines::Finish() {
  if (built_) return;
  const size_t n = gap_.size();
  tree_.assign(n + 1, 0);
  for (size_t i = 1; i <= n; ++i) {
    tree_[i] += gap_[i - 1];
    size_t parent = i + (i & (~i + 1));
    if (parent <= n) tree_[parent] += tree_[i];
  }
  next_alive_.resize(n + 1);
  for (size_t i = 0; i <= n; ++i) next_alive_[i] = static_cast<uint32_t>(i);
  dropped_.assign(n, false);
  built_ = true;
}

int64_t MarkedLines::Prefix(size_t index) const {
  int64_t sum = 0;
  for (size_t i = index + 1; i > 0; i -= i & (~i + 1)) sum += tree_[i];
  return sum;
}

void MarkedLines::AddToGap(size_t index, int64_t amount) {
  gap_[index] += amount;
  for (size_t i = index + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += amount;
}

size_t MarkedLines::FirstAtOrAfter(int64_t line) const {
  // Fenwick descent: the longest prefix whose sum stays below `line`.
  const size_t n = gap_.size();
  size_t step = 1;
  while (step * 2 <= n) step *= 2;
  size_t pos = 0;
  int64_t remaining = line;
  for (; step > 0; step /= 2) {
    if (pos + step <= n && tree_[pos + step] < remaining) {
      pos += step;
      remaining -= tree_[pos];
    }
  }
  return pos;
}

size_t MarkedLines::NextAlive(size_t index) {
  size_t root = index;
  while (next_alive_[root] != root) root = next_alive_[root];
  while (next_alive_[index] != root) {
    size_t next = next_alive_[index];
    next_alive_[index] = static_cast<uint32_t>(root);
    index = next;
  }
  return root;
}

std::optional<uint32_t> MarkedLines::Line(size_t index) const {
  if (index >= gap_.size()) return std::nullopt;
  assert(built_);
  if (dropped_[index]) return std::nullopt;
  return static_cast<uint32_t>(Prefix(index));
}

void MarkedLines::OnChange(const TextChange& change) {
  Finish();
  if (gap_.empty()) return;
  const int64_t start_line = change.start.line;
  const int64_t old_end_line = change.old_end.line;
  const int64_t new_end_line = change.new_end.line;
  // Which old lines vanish, and from which line on the rest moves by `delta`. When the change
  // runs from the start of a line to the start of another and the new text ends at a line
  // start, the lines from the start line up to the end line are the ones replaced and the end
  // line keeps its identity; otherwise the start line keeps its identity and the lines after
  // it up to the end line are merged into it.
  int64_t dropped_from = 0;
  int64_t moved_from = 0;
  if (change.start.column == 0 && change.old_end.column == 0 && change.new_end.column == 0) {
    dropped_from = start_line;
    moved_from = old_end_line;
  } else {
    dropped_from = start_line + 1;
    moved_from = old_end_line + 1;
  }
  const int64_t delta = new_end_line - old_end_line;
  const size_t a = FirstAtOrAfter(dropped_from);
  const size_t b = FirstAtOrAfter(moved_from);
  int64_t carried = 0;
  for (size_t i = NextAlive(a); i < b; i = NextAlive(i + 1)) {
    carried += gap_[i];
    AddToGap(i, -gap_[i]);
    dropped_[i] = true;
    next_alive_[i] = static_cast<uint32_t>(i + 1);
  }
  if (b < gap_.size() && carried + delta != 0) AddToGap(b, carried + delta);
}

}  // namespace tavik
