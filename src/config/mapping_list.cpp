// Definition, removal and in-use flags of the mapping list.
#include "config/mapping_list.h"

#include <algorithm>
#include <cassert>

namespace tavik {

void MappingList::Add(std::vector<KeyCode> lhs, std::u16string rhs, uint32_t mode_mask,
                      bool remap) {
  Remove(lhs, mode_mask);
  entries_.push_back({mode_mask, std::move(lhs), std::move(rhs), remap, false});
}

bool MappingList::Remove(std::span<const KeyCode> lhs, uint32_t mode_mask) {
  bool removed = false;
  for (KeyMapping& m : entries_) {
    if ((m.mode_mask & mode_mask) == 0 || !std::ranges::equal(m.lhs, lhs)) continue;
    m.mode_mask &= ~mode_mask;
    removed = true;
  }
  std::erase_if(entries_, [this](const KeyMapping& m) {
    if (m.mode_mask != 0) return false;
    if (m.in_use) --in_use_count_;
    return true;
  });
  return removed;
}

void MappingList::SetInUse(size_t index) {
  assert(index < entries_.size());
  if (index >= entries_.size() || entries_[index].in_use) return;
  entries_[index].in_use = true;
  ++in_use_count_;
}

void MappingList::ClearInUse() {
  if (in_use_count_ == 0) return;
  for (KeyMapping& m : entries_) m.in_use = false;
  in_use_count_ = 0;
}

}  // namespace tavik
