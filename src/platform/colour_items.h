// The host's font-and-colour display items, as an IDE lists them for the user to recolour: each
// has a name, a foreground and a background colour given as host colour indices, and a
// priority that decides which of several overlapping highlights shows. Packages define marker
// types, each with its display item, by GUID; the host gives each type a number and draws the
// markers of its highlight layer in the item's colours. Recoloured items persist in the registry
// as the IDE keeps its colour settings: one key per item with "Foreground" and "Background".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/markers.h"

namespace tavik::platform {

class RegistryStore;

// The host's colour indices: the two automatic colours (the text's own foreground and
// background) and the sixteen standard colours.
namespace colour {
inline constexpr uint32_t kAutomaticForeground = 0;
inline constexpr uint32_t kAutomaticBackground = 1;
inline constexpr uint32_t kBlack = 2;
inline constexpr uint32_t kWhite = 3;
inline constexpr uint32_t kMaroon = 4;
inline constexpr uint32_t kDarkGreen = 5;
inline constexpr uint32_t kBrown = 6;
inline constexpr uint32_t kDarkBlue = 7;
inline constexpr uint32_t kPurple = 8;
inline constexpr uint32_t kAquamarine = 9;
inline constexpr uint32_t kLightGray = 10;
inline constexpr uint32_t kDarkGray = 11;
inline constexpr uint32_t kRed = 12;
inline constexpr uint32_t kGreen = 13;
inline constexpr uint32_t kYellow = 14;
inline constexpr uint32_t kBlue = 15;
inline constexpr uint32_t kMagenta = 16;
inline constexpr uint32_t kCyan = 17;
}  // namespace colour

// One colour index: its name as the colour settings list it, and the number of the terminal's
// sixteen-colour palette that shows it (-1: the terminal's default colour).
struct HostColour {
  uint32_t index;
  std::u16string_view name;
  int terminal;
};
inline constexpr std::array<HostColour, 18> kHostColours = {{
    {colour::kAutomaticForeground, u"Automatic", -1},
    {colour::kAutomaticBackground, u"Automatic background", -1},
    {colour::kBlack, u"Black", 0},
    {colour::kWhite, u"White", 15},
    {colour::kMaroon, u"Maroon", 1},
    {colour::kDarkGreen, u"Dark Green", 2},
    {colour::kBrown, u"Brown", 3},
    {colour::kDarkBlue, u"Dark Blue", 4},
    {colour::kPurple, u"Purple", 5},
    {colour::kAquamarine, u"Aquamarine", 6},
    {colour::kLightGray, u"Light Gray", 7},
    {colour::kDarkGray, u"Dark Gray", 8},
    {colour::kRed, u"Red", 9},
    {colour::kGreen, u"Green", 10},
    {colour::kYellow, u"Yellow", 11},
    {colour::kBlue, u"Blue", 12},
    {colour::kMagenta, u"Magenta", 13},
    {colour::kCyan, u"Cyan", 14},
}};
// The colour of an index; the automatic foreground for an index the table lacks.
const HostColour& HostColourOf(uint32_t index);

// A marker type as a package defines it.
struct MarkerTypeDefinition {
  std::string_view guid;     // "{E3A0CE66-...}"
  std::u16string_view name;  // canonical and display name of its colour item
  uint32_t visual_style = 0;
  uint32_t foreground = colour::kAutomaticForeground;
  uint32_t background = colour::kAutomaticBackground;
  uint32_t line_colour = 0;
  int32_t priority = 0;
  int32_t merging_priority = 0;
  HighlightKind layer = HighlightKind::kSearch;  // the buffer's markers it draws
};

// A display item as the user sees it.
struct ColourItem {
  std::u16string name;
  uint32_t foreground = colour::kAutomaticForeground;
  uint32_t background = colour::kAutomaticBackground;
  uint32_t default_foreground = colour::kAutomaticForeground;
  uint32_t default_background = colour::kAutomaticBackground;
  int32_t priority = 0;
  int32_t merging_priority = 0;
  uint32_t visual_style = 0;
  uint32_t marker_type = 0;  // the host's number for the item's marker type
  std::string guid;
  HighlightKind layer = HighlightKind::kSearch;
};

class ColourItems {
 public:
  // Reads the saved colours of the items (and of those registered later) and writes every
  // recolouring under `key`, one key per item name below it.
  void Persist(RegistryStore* registry, std::string key);

  // Registers a marker type (again: the same number, the definition replaced) and its item, with
  // the colours the user saved for it; the host's number for the type, never 0.
  uint32_t RegisterMarkerType(const MarkerTypeDefinition& definition);
  // The number the host gave the marker type of a GUID (compared without regard to case); 0 when
  // no package registered it.
  uint32_t RegisteredMarkerTypeId(std::string_view guid) const;

  const std::vector<ColourItem>& Items() const { return items_; }
  const ColourItem* Find(std::u16string_view name) const;
  // The item drawing a highlight layer: the registered one of highest priority; none when no
  // package defined one.
  const ColourItem* ItemOfLayer(HighlightKind layer) const;
  // The layers in the order they are drawn, each over the ones before: by the priority of their
  // items, layers without an item in their own order (search, selection, incremental search).
  std::array<HighlightKind, kHighlightKindCount> DrawingOrder() const;

  // Recolours an item and persists its colours; false for an unknown item or colour index.
  bool Recolour(std::u16string_view name, uint32_t foreground, uint32_t background);
  // Back to the package's colours; the saved ones are removed.
  bool ResetColours(std::u16string_view name);

  // Changes with every registration and recolouring, so that front ends know to look again.
  uint64_t Version() const { return version_; }

 private:
  void LoadSaved(ColourItem& item) const;
  std::string KeyOf(const ColourItem& item) const;

  std::vector<ColourItem> items_;
  RegistryStore* registry_ = nullptr;
  std::string key_;
  uint64_t version_ = 0;
};

}  // namespace tavik::platform
