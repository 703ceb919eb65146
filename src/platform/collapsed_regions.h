// The outlining regions of a view: spans of buffer text that can be collapsed into one
// placeholder. Regions nest but never overlap partially; they follow edits of the buffer and
// are dropped when their text is deleted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/text_pos.h"
#include "platform/buffer_change.h"

namespace tavik::platform {

struct OutlineRegion {
  uint64_t id = 0;
  TextPos start;
  TextPos end;
  std::u16string placeholder;
  bool collapsed = true;
};

class CollapsedRegions {
 public:
  // Adds a region; 0 when it is empty or overlaps another one partially.
  uint64_t Add(TextPos start, TextPos end, std::u16string placeholder, bool collapsed = true);
  bool Remove(uint64_t id);
  bool Toggle(uint64_t id);
  void ExpandAll();
  void CollapseAll();
  void Clear() {
    regions_.clear();
    hiding_valid_ = false;
  }

  // The innermost region that holds the position (its start included, its end excluded), or
  // failing that the innermost one starting on the position's line; nullptr when none.
  const OutlineRegion* InnermostAt(TextPos pos) const;
  const OutlineRegion* Find(uint64_t id) const;

  // All regions by start, outer before inner.
  const std::vector<OutlineRegion>& All() const { return regions_; }
  // The collapsed regions not inside another collapsed one, by start: what the view hides.
  const std::vector<const OutlineRegion*>& Hiding() const;

  void OnChange(const BufferChange& change);

 private:
  OutlineRegion* FindMutable(uint64_t id);

  std::vector<OutlineRegion> regions_;
  uint64_t next_id_ = 1;
  mutable std::vector<const OutlineRegion*> hiding_;
  mutable bool hiding_valid_ = false;
};

}  // namespace tavik::platform
