// Keeping bookmarks on their lines across edits.
#include "platform/bookmarks.h"

#include <vector>

namespace tavik::platform {

void Bookmarks::Follow(const BufferChange& change) {
  if (change.old_line_count == change.new_line_count || lines_.empty()) return;
  // Lines from the first changed line on keep their bookmark when they survive the change.
  const uint32_t first = change.first_line;
  const uint32_t old_end = first + change.old_line_count;
  std::vector<uint32_t> moved;
  for (auto it = lines_.lower_bound(first + 1); it != lines_.end();) {
    uint32_t line = *it;
    it = lines_.erase(it);
    if (line >= old_end) moved.push_back(line - change.old_line_count + change.new_line_count);
  }
  lines_.insert(moved.begin(), moved.end());
}

}  // namespace tavik::platform
