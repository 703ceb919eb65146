// The buffer list's entries and recent order.
#include "engine/state/buffer_list.h"

#include <algorithm>
#include <cstring>

#include "common/char_class.h"

namespace tavik {

bool SameDocumentName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;
  // Mostly the very same text: one block compare before the character loop.
  if (std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0) return true;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && ToUpperChar(a[i]) != ToUpperChar(b[i])) return false;
  }
  return true;
}

void BufferList::Touch(std::u16string_view name, TextPos caret) {
  std::optional<size_t> found = Find(name);
  if (!found) {
    entries_.push_back({std::u16string(name), caret});
    recent_.push_back(entries_.size() - 1);
    return;
  }
  entries_[*found].caret = caret;
  auto at = std::find(recent_.begin(), recent_.end(), *found);
  if (at != recent_.end()) std::iter_swap(at, recent_.end() - 1);
}

std::optional<size_t> BufferList::Find(std::u16string_view name) const {
  // Asked before and after every key, mostly for the document used last; names are unique.
  if (!recent_.empty() && SameDocumentName(entries_[recent_.back()].name, name)) {
    return recent_.back();
  }
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (SameDocumentName(entries_[i].name, name)) return i;
  }
  return std::nullopt;
}

void BufferList::Remove(size_t index) {
  if (index >= entries_.size()) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  std::erase(recent_, index);
  for (size_t& i : recent_) {
    if (i > index) --i;
  }
}

std::optional<size_t> BufferList::Alternate() const {
  if (entries_.empty()) return std::nullopt;
  if (recent_.size() < 2) return 0;
  return recent_[recent_.size() - 2];
}

}  // namespace tavik
