// Marked lines of a global command as gaps in a Fenwick tree, with dropped marks skipped by a
// union-find so that a run of deletions never walks the same dropped marks twice. Edits above
// the next mark, which is where a command on the current mark usually edits, only move an
// offset.
#include "ex/marked_lines.h"

#include <algorithm>
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
  SeekAlive(0);
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

size_t MarkedLines::FirstAtOrAfter(int64_t value) const {
  // Fenwick descent: the longest prefix whose sum stays below `value`.
  const size_t n = gap_.size();
  size_t step = 1;
  while (step * 2 <= n) step *= 2;
  size_t pos = 0;
  int64_t remaining = value;
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

void MarkedLines::SeekAlive(size_t index) {
  cursor_ = NextAlive(index);
  if (cursor_ < gap_.size()) cursor_line_ = Prefix(cursor_) + offset_;
}

std::optional<uint32_t> MarkedLines::Next() {
  Finish();
  if (cursor_ >= gap_.size()) return std::nullopt;
  const auto line = static_cast<uint32_t>(cursor_line_);
  SeekAlive(cursor_ + 1);
  return line;
}

std::optional<uint32_t> MarkedLines::Peek() const {
  assert(built_);
  if (cursor_ >= gap_.size()) return std::nullopt;
  return static_cast<uint32_t>(cursor_line_);
}

std::optional<uint32_t> MarkedLines::Line(size_t index) const {
  assert(built_);
  if (index >= gap_.size() || dropped_[index]) return std::nullopt;
  assert(index >= cursor_);
  return static_cast<uint32_t>(Prefix(index) + offset_);
}

void MarkedLines::Normalize() {
  if (cursor_ == 0) {
    AddToGap(0, offset_);
  } else {
    // The taken marks keep whatever lines they had; they are lowered just enough that the
    // stored lines stay in order up to the first mark not taken. (A gap that a drop makes
    // negative is always the next cursor's, which the next call puts right.)
    const int64_t before = Prefix(cursor_ - 1);
    const int64_t lower = std::max<int64_t>(0, before - cursor_line_);
    AddToGap(0, -lower);
    AddToGap(cursor_, offset_ + lower);
  }
  offset_ = 0;
}

void MarkedLines::OnChange(const TextChange& change) {
  Finish();
  const size_t n = gap_.size();
  if (cursor_ >= n) return;
  const int64_t start_line = change.start.line;
  const int64_t old_end_line = change.old_end.line;
  // Which old lines vanish, and from which line on the rest moves by `delta`. When the change
  // runs from the start of a line to the start of another and the new text ends at a line
  // start, the lines from the start line up to the end line are the ones replaced and the end
  // line keeps its identity; otherwise the start line keeps its identity and the lines after
  // it up to the end line are merged into it.
  int64_t dropped_from = start_line + 1;
  int64_t moved_from = old_end_line + 1;
  if (change.start.column == 0 && change.old_end.column == 0 && change.new_end.column == 0) {
    dropped_from = start_line;
    moved_from = old_end_line;
  }
  const int64_t delta = int64_t{change.new_end.line} - old_end_line;
  if (moved_from <= cursor_line_) {
    // Every mark not taken lies at or after the lines that moved.
    offset_ += delta;
    cursor_line_ += delta;
    return;
  }
  Normalize();
  const size_t a = std::max(cursor_, FirstAtOrAfter(dropped_from));
  const size_t b = std::max(cursor_, FirstAtOrAfter(moved_from));
  int64_t carried = 0;
  for (size_t i = NextAlive(a); i < b; i = NextAlive(i + 1)) {
    carried += gap_[i];
    AddToGap(i, -gap_[i]);
    dropped_[i] = true;
    next_alive_[i] = static_cast<uint32_t>(i + 1);
  }
  if (b < n && carried + delta != 0) AddToGap(b, carried + delta);
  SeekAlive(cursor_);
}

}  // namespace tavik
