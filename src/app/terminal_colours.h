// How each cell style looks on the terminal: colours of the terminal's palette and attributes.
// The styles of the highlights come from the host's display items, so recolouring an item in
// the colour settings changes how the terminal draws it; the others are fixed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/terminal_grid.h"
#include "platform/colour_items.h"

namespace tavik::app {

namespace look {
inline constexpr uint8_t kBold = 1;
inline constexpr uint8_t kReverse = 2;
inline constexpr uint8_t kUnderline = 4;
}  // namespace look

struct CellLook {
  int foreground = -1;  // a palette number 0..15; -1: the terminal's default
  int background = -1;
  uint8_t attributes = 0;  // look:: bits, on a terminal with colours
  uint8_t monochrome = 0;  // look:: bits, on a terminal without
  friend bool operator==(const CellLook&, const CellLook&) = default;
};
using CellLooks = std::array<CellLook, kCellStyleCount>;

// The looks of every style: the fixed ones, and the highlights in the colours of the items
// drawing their layers (the fixed looks for a layer without an item).
CellLooks LooksFromItems(const platform::ColourItems& items);

// The terminal's sequences that styles are made of, from its description.
struct StyleCapabilities {
  std::string reset;  // "sgr0"
  std::string bold;
  std::string reverse;
  std::string underline;
  // The sequences that set the foreground and background to a palette number; none (or fewer
  // than 8 colours) when the terminal has no colours.
  std::function<std::string(int)> foreground_code;
  std::function<std::string(int)> background_code;
  int colours = 0;
};

// The sequence that sets a look whatever was set before. A terminal with eight colours shows
// the bright half of the palette as the dark half.
std::string StyleSequence(const CellLook& look, const StyleCapabilities& capabilities);

}  // namespace tavik::app
