// Region bookkeeping; the view layout turns the hiding regions into view lines.
#include "platform/collapsed_regions.h"

#include <algorithm>

namespace tavik::platform {

namespace {

bool Before(const OutlineRegion& a, const OutlineRegion& b) {
  if (a.start != b.start) return a.start < b.start;
  return a.end > b.end;
}

}  // namespace

uint64_t CollapsedRegions::Add(TextPos start, TextPos end, std::u16string placeholder,
                               bool collapsed) {
  if (end < start) std::swap(start, end);
  if (start == end) return 0;
  for (const OutlineRegion& r : regions_) {
    const bool disjoint = r.end <= start || end <= r.start;
    const bool inside = r.start <= start && end <= r.end;
    const bool around = start <= r.start && r.end <= end;
    if (!disjoint && !inside && !around) return 0;
    if (r.start == start && r.end == end) return 0;
  }
  OutlineRegion region{next_id_++, start, end, std::move(placeholder), collapsed};
  const uint64_t id = region.id;
  regions_.insert(std::upper_bound(regions_.begin(), regions_.end(), region, Before),
                  std::move(region));
  hiding_valid_ = false;
  return id;
}

bool CollapsedRegions::Remove(uint64_t id) {
  const auto it = std::find_if(regions_.begin(), regions_.end(),
                               [id](const OutlineRegion& r) { return r.id == id; });
  if (it == regions_.end()) return false;
  regions_.erase(it);
  hiding_valid_ = false;
  return true;
}

OutlineRegion* CollapsedRegions::FindMutable(uint64_t id) {
  for (OutlineRegion& r : regions_) {
    if (r.id == id) return &r;
  }
  return nullptr;
}

const OutlineRegion* CollapsedRegions::Find(uint64_t id) const {
  return const_cast<CollapsedRegions*>(this)->FindMutable(id);
}

bool CollapsedRegions::Toggle(uint64_t id) {
  OutlineRegion* r = FindMutable(id);
  if (r == nullptr) return false;
  r->collapsed = !r->collapsed;
  hiding_valid_ = false;
  return true;
}

void CollapsedRegions::ExpandAll() {
  for (OutlineRegion& r : regions_) r.collapsed = false;
  hiding_valid_ = false;
}

void CollapsedRegions::CollapseAll() {
  for (OutlineRegion& r : regions_) r.collapsed = true;
  hiding_valid_ = false;
}

const OutlineRegion* CollapsedRegions::InnermostAt(TextPos pos) const {
  const OutlineRegion* found = nullptr;
  for (const OutlineRegion& r : regions_) {
    if (r.start <= pos && pos < r.end) found = &r;  // later ones in order are inner
  }
  if (found != nullptr) return found;
  for (const OutlineRegion& r : regions_) {
    if (r.start.line == pos.line) found = &r;
  }
  return found;
}

const std::vector<const OutlineRegion*>& CollapsedRegions::Hiding() const {
  if (hiding_valid_) return hiding_;
  hiding_.clear();
  for (const OutlineRegion& r : regions_) {
    if (!r.collapsed) continue;
    if (!hiding_.empty() && r.start < hiding_.back()->end) continue;  // inside a hidden one
    hiding_.push_back(&r);
  }
  hiding_valid_ = true;
  return hiding_;
}

void CollapsedRegions::OnChange(const BufferChange& change) {
  if (regions_.empty()) return;
  const bool removes_text = change.start != change.old_end;
  std::erase_if(regions_, [&](OutlineRegion& r) {
    if (removes_text && change.start <= r.start && r.end <= change.old_end) return true;
    // Text typed at a region's end stays outside it; text typed at its start goes inside.
    r.start = MovePastChange(r.start, change, false);
    r.end = MovePastChange(r.end, change, false);
    return r.end <= r.start;
  });
  std::stable_sort(regions_.begin(), regions_.end(), Before);
  hiding_valid_ = false;
}

}  // namespace tavik::platform
