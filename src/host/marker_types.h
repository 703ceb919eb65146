// The package's three highlight marker types: the visual selection, every search match and the
// match of the search being typed. Each is listed in the host's font-and-colour settings under
// its name, so the user can recolour it; the host numbers the types when the package registers
// them, and the package keeps those numbers (0 until they are known).
#pragma once

#include <array>
#include <cstdint>

#include "platform/colour_items.h"

namespace tavik::host {

// Colour always, whatever the font says.
inline constexpr uint32_t kMarkerStyleColourAlways = 2;

inline constexpr std::array<platform::MarkerTypeDefinition, platform::kHighlightKindCount>
    kMarkerTypes = {{
        {"{E3A0CE66-9EA5-43B5-B5A3-EC36F5A61255}", u"Tavik Selection", kMarkerStyleColourAlways,
         platform::colour::kBlack, platform::colour::kLightGray, 16, 901, -10,
         platform::HighlightKind::kSelection},
        {"{0B461F6D-8F34-494A-A07A-2EC3D6118833}", u"Tavik hlsearch", kMarkerStyleColourAlways,
         platform::colour::kBlack, platform::colour::kYellow, 16, 900, -10,
         platform::HighlightKind::kSearch},
        {"{759C9305-6031-46EF-B32D-BDCFAE8BF8B2}", u"Tavik Incremental Search",
         kMarkerStyleColourAlways, platform::colour::kWhite, platform::colour::kBlack, 16, 902, -10,
         platform::HighlightKind::kIncSearch},
    }};

// The host's numbers for the package's marker types, by highlight layer.
class MarkerTypeIds {
 public:
  // Supplies the types to the host and fetches the numbers it gave them.
  void Register(platform::ColourItems& items);
  // 0 until registered.
  uint32_t Of(platform::HighlightKind layer) const { return ids_[static_cast<size_t>(layer)]; }

 private:
  std::array<uint32_t, platform::kHighlightKindCount> ids_{};
};

}  // namespace tavik::host
