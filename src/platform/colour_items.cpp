// The host's display items and the marker types packages define.
#include "platform/colour_items.h"

#include "common/ascii_case.h"

#include <algorithm>
#include <cctype>

#include "platform/registry_store.h"
#include "platform/utf8_codec.h"

namespace tavik::platform {

namespace {

constexpr std::string_view kForeground = "Foreground";
constexpr std::string_view kBackground = "Background";

bool KnownColour(uint32_t index) {
  return index < kHostColours.size();
}

}  // namespace

const HostColour& HostColourOf(uint32_t index) {
  return KnownColour(index) ? kHostColours[index] : kHostColours[0];
}

void ColourItems::Persist(RegistryStore* registry, std::string key) {
  registry_ = registry;
  key_ = std::move(key);
  for (ColourItem& item : items_) LoadSaved(item);
  ++version_;
}

std::string ColourItems::KeyOf(const ColourItem& item) const {
  return key_ + "\\" + ToUtf8(item.name);
}

// Saved colours that are not colour indices are left alone: the package's colours apply.
void ColourItems::LoadSaved(ColourItem& item) const {
  item.foreground = item.default_foreground;
  item.background = item.default_background;
  if (registry_ == nullptr) return;
  const std::string key = KeyOf(item);
  if (auto fg = registry_->Dword(key, std::string(kForeground)); fg && KnownColour(*fg))
    item.foreground = *fg;
  if (auto bg = registry_->Dword(key, std::string(kBackground)); bg && KnownColour(*bg))
    item.background = *bg;
}

uint32_t ColourItems::RegisterMarkerType(const MarkerTypeDefinition& definition) {
  auto found = std::find_if(items_.begin(), items_.end(), [&](const ColourItem& item) {
    return EqualIgnoringAsciiCase(item.guid, definition.guid);
  });
  if (found == items_.end()) {
    items_.emplace_back();
    found = std::prev(items_.end());
    found->marker_type = static_cast<uint32_t>(items_.size());
  }
  ColourItem& item = *found;
  item.name = std::u16string(definition.name);
  item.guid = std::string(definition.guid);
  item.default_foreground = definition.foreground;
  item.default_background = definition.background;
  item.priority = definition.priority;
  item.merging_priority = definition.merging_priority;
  item.visual_style = definition.visual_style;
  item.layer = definition.layer;
  LoadSaved(item);
  ++version_;
  return item.marker_type;
}

uint32_t ColourItems::RegisteredMarkerTypeId(std::string_view guid) const {
  for (const ColourItem& item : items_) {
    if (EqualIgnoringAsciiCase(item.guid, guid)) return item.marker_type;
  }
  return 0;
}

const ColourItem* ColourItems::Find(std::u16string_view name) const {
  for (const ColourItem& item : items_) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

const ColourItem* ColourItems::ItemOfLayer(HighlightKind layer) const {
  const ColourItem* best = nullptr;
  for (const ColourItem& item : items_) {
    if (item.layer == layer && (best == nullptr || item.priority > best->priority)) best = &item;
  }
  return best;
}

std::array<HighlightKind, kHighlightKindCount> ColourItems::DrawingOrder() const {
  std::array<HighlightKind, kHighlightKindCount> order = {
      HighlightKind::kSearch, HighlightKind::kSelection, HighlightKind::kIncSearch};
  // Layers with an item keep their place among themselves by priority; a stable sort on the
  // items' priorities leaves the others where they are relative to each other.
  std::array<int64_t, kHighlightKindCount> rank{};
  for (size_t i = 0; i < order.size(); ++i) {
    const ColourItem* item = ItemOfLayer(order[i]);
    rank[i] = item != nullptr ? item->priority : static_cast<int64_t>(i) - 1000000;
  }
  std::array<size_t, kHighlightKindCount> positions = {0, 1, 2};
  std::stable_sort(positions.begin(), positions.end(),
                   [&](size_t a, size_t b) { return rank[a] < rank[b]; });
  std::array<HighlightKind, kHighlightKindCount> sorted{};
  for (size_t i = 0; i < positions.size(); ++i) sorted[i] = order[positions[i]];
  return sorted;
}

bool ColourItems::Recolour(std::u16string_view name, uint32_t foreground, uint32_t background) {
  if (!KnownColour(foreground) || !KnownColour(background)) return false;
  auto found = std::find_if(items_.begin(), items_.end(),
                            [&](const ColourItem& item) { return item.name == name; });
  if (found == items_.end()) return false;
  found->foreground = foreground;
  found->background = background;
  if (registry_ != nullptr) {
    const std::string key = KeyOf(*found);
    registry_->SetDword(key, std::string(kForeground), foreground);
    registry_->SetDword(key, std::string(kBackground), background);
  }
  ++version_;
  return true;
}

bool ColourItems::ResetColours(std::u16string_view name) {
  auto found = std::find_if(items_.begin(), items_.end(),
                            [&](const ColourItem& item) { return item.name == name; });
  if (found == items_.end()) return false;
  found->foreground = found->default_foreground;
  found->background = found->default_background;
  if (registry_ != nullptr) registry_->DeleteKey(KeyOf(*found));
  ++version_;
  return true;
}

}  // namespace tavik::platform
