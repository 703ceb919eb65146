// The documents the engine has seen through its views, in the order first seen, each with the
// caret last used in it, and the order of recent use that the alternate document comes from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_pos.h"

namespace tavik {

// Two document names are one document when they agree after upper-case mapping.
bool SameDocumentName(std::u16string_view a, std::u16string_view b);

struct BufferEntry {
  std::u16string name;
  TextPos caret;  // column kEndOfLineColumn: the end of the line
};

class BufferList {
 public:
  // Adds the document, or stores its caret and makes it the most recently used one by swapping
  // its place in the recent order with the last place.
  void Touch(std::u16string_view name, TextPos caret);
  // Index (0-based) of the first entry with the name.
  std::optional<size_t> Find(std::u16string_view name) const;
  void Remove(size_t index);
  // Stores the caret of an entry without changing the recent order.
  void Remember(size_t index, TextPos caret) {
    if (index < entries_.size()) entries_[index].caret = caret;
  }

  size_t Size() const { return entries_.size(); }
  const BufferEntry& Entry(size_t index) const { return entries_[index]; }
  const std::vector<BufferEntry>& Entries() const { return entries_; }
  // Entry indices, the most recently used last.
  const std::vector<size_t>& RecentOrder() const { return recent_; }
  // The entry used before the most recent one; the first entry while fewer than two were used.
  std::optional<size_t> Alternate() const;

  // The document the engine saw last, with its caret.
  bool has_current = false;
  std::u16string current_name;
  TextPos current_caret;

 private:
  std::vector<BufferEntry> entries_;
  std::vector<size_t> recent_;
};

}  // namespace tavik
