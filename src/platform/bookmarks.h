// Bookmarked lines of a document, as the host's own bookmark navigation knows them. They move
// with the lines they mark and disappear with them.
#pragma once

#include <cstdint>
#include <set>

#include "platform/buffer_change.h"

namespace tavik::platform {

class Bookmarks {
 public:
  void Add(uint32_t line) { lines_.insert(line); }
  void Remove(uint32_t line) { lines_.erase(line); }
  bool Contains(uint32_t line) const { return lines_.count(line) != 0; }
  const std::set<uint32_t>& Lines() const { return lines_; }

  // Lines after the change shift by the number of lines it added or removed; bookmarks on lines
  // that the change removed go away.
  void Follow(const BufferChange& change);

 private:
  std::set<uint32_t> lines_;
};

}  // namespace tavik::platform
