// Cell looks from the display items and the terminal sequences that show them.
#include "app/terminal_colours.h"

#include <vector>

#include "app/terminal_paint.h"

namespace tavik::app {

namespace {

using platform::HighlightKind;

// Palette numbers of the fixed looks.
constexpr int kBlack = 0;
constexpr int kYellow = 3;
constexpr int kBlue = 4;
constexpr int kCyan = 6;
constexpr int kWhite = 7;
constexpr int kDarkGray = 8;
constexpr int kBrightYellow = 11;
constexpr int kBrightWhite = 15;

struct FixedLook {
  CellStyle style;
  CellLook look;
};
constexpr std::array<FixedLook, kCellStyleCount> kFixedLooks = {{
    {CellStyle::kText, {-1, -1, 0, 0}},
    {CellStyle::kSpecialChar, {kBlue, -1, look::kBold, look::kBold}},
    {CellStyle::kPlaceholder, {kCyan, -1, 0, look::kUnderline}},
    {CellStyle::kEmptyLine, {kBlue, -1, look::kBold, look::kBold}},
    {CellStyle::kSelection, {kBlack, kWhite, 0, look::kReverse}},
    {CellStyle::kSearch, {kBlack, kBrightYellow, 0, look::kUnderline | look::kBold}},
    {CellStyle::kIncSearch, {kBrightWhite, kBlack, look::kBold, look::kReverse | look::kBold}},
    {CellStyle::kTabLine, {kWhite, kBlue, 0, look::kUnderline}},
    {CellStyle::kTabActive, {kBlack, kWhite, look::kBold, look::kReverse | look::kBold}},
    {CellStyle::kStatus, {-1, -1, look::kReverse, look::kReverse}},
    {CellStyle::kSeparator, {-1, -1, look::kReverse, look::kReverse}},
    {CellStyle::kPaneTitle, {-1, -1, look::kReverse | look::kBold, look::kReverse | look::kBold}},
    {CellStyle::kPaneText, {-1, -1, 0, 0}},
    {CellStyle::kHostSelection, {kWhite, kBlue, 0, look::kReverse}},
    {CellStyle::kDialogTitle, {-1, -1, look::kBold, look::kBold}},
    {CellStyle::kWhitespace, {kDarkGray, -1, 0, 0}},
    {CellStyle::kLineNumber, {kYellow, -1, 0, 0}},
}};

struct LayerStyle {
  HighlightKind layer;
  CellStyle style;
};
constexpr LayerStyle kLayerStyles[] = {
    {HighlightKind::kSelection, CellStyle::kSelection},
    {HighlightKind::kSearch, CellStyle::kSearch},
    {HighlightKind::kIncSearch, CellStyle::kIncSearch},
};

}  // namespace

CellLooks LooksFromItems(const platform::ColourItems& items) {
  CellLooks looks{};
  for (const FixedLook& fixed : kFixedLooks) looks[static_cast<size_t>(fixed.style)] = fixed.look;
  for (const LayerStyle& ls : kLayerStyles) {
    const platform::ColourItem* item = items.ItemOfLayer(ls.layer);
    if (item == nullptr) continue;
    CellLook& look = looks[static_cast<size_t>(ls.style)];
    look.foreground = platform::HostColourOf(item->foreground).terminal;
    look.background = platform::HostColourOf(item->background).terminal;
    look.attributes = 0;
  }
  return looks;
}

std::string StyleSequence(const CellLook& look, const StyleCapabilities& capabilities) {
  const bool colour =
      capabilities.colours >= 8 && capabilities.foreground_code && capabilities.background_code;
  const uint8_t attributes = colour ? look.attributes : look.monochrome;
  std::vector<std::string> parts = {capabilities.reset};
  if ((attributes & look::kBold) != 0) parts.push_back(capabilities.bold);
  if ((attributes & look::kReverse) != 0) parts.push_back(capabilities.reverse);
  if ((attributes & look::kUnderline) != 0) parts.push_back(capabilities.underline);
  auto palette = [&](int n) { return capabilities.colours >= 16 ? n : n % 8; };
  if (colour && look.foreground >= 0)
    parts.push_back(capabilities.foreground_code(palette(look.foreground)));
  if (colour && look.background >= 0)
    parts.push_back(capabilities.background_code(palette(look.background)));
  return JoinStyleSequences(parts);
}

}  // namespace tavik::app
