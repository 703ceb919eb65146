// The view's lines: buffer lines with collapsed regions folded in. A collapsed region shows as
// one U+FFFC unit between the text before its start and the text after its end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_pos.h"
#include "platform/collapsed_regions.h"
#include "platform/text_buffer.h"

namespace tavik::platform {

inline constexpr char16_t kPlaceholderUnit = 0xFFFC;

// How many display columns a character (not a tab) takes; nullptr counts one for each unit.
using CellWidthFunction = uint32_t (*)(char32_t code_point);

// Word wrap: a view line wider than `width` display columns shows as several display rows;
// width 0 wraps nothing.
struct WrapShape {
  uint32_t width = 0;
  uint32_t tab_size = 8;
  CellWidthFunction cell_width = nullptr;
};

class ViewLayout {
 public:
  ViewLayout(const TextBuffer& buffer, const CollapsedRegions& regions, WrapShape wrap = {})
      : buffer_(buffer), regions_(regions), wrap_(wrap) {}

  uint32_t ViewLineCount() const;
  ViewPos BufferToView(TextPos pos) const;
  TextPos ViewToBuffer(ViewPos pos) const;
  // The buffer line a view line starts with.
  uint32_t FirstBufferLine(uint32_t view_line) const;
  std::u16string ViewLineText(uint32_t view_line) const;
  std::vector<const OutlineRegion*> RegionsOnViewLine(uint32_t view_line) const;
  // The hiding region holding the position (start included, end excluded), if any.
  const OutlineRegion* HidingRegionAt(TextPos pos) const;

  // Display rows. With word wrap off every view line is one row starting at column 0.
  bool Wraps() const { return wrap_.width > 0; }
  // The view columns at which the display rows of a view line start, the first one 0.
  std::vector<uint32_t> RowStarts(uint32_t view_line) const;
  // The same for a text laid out as a view line (placeholder widths in order).
  static std::vector<uint32_t> RowStartsOf(std::u16string_view text,
                                           const std::vector<uint32_t>& placeholder_widths,
                                           const WrapShape& wrap);
  uint32_t RowCount(uint32_t view_line) const;
  // The display row of the view line holding a view column.
  uint32_t RowOf(ViewPos pos) const;

 private:
  // One piece of a view line: buffer text of one line, or a collapsed region.
  struct Piece {
    uint32_t line = 0;
    uint32_t from = 0;
    uint32_t to = 0;
    const OutlineRegion* region = nullptr;
  };
  std::vector<Piece> Pieces(uint32_t head_line) const;
  uint32_t HeadLine(uint32_t buffer_line) const;
  uint32_t HiddenLinesBefore(uint32_t buffer_line) const;

  const TextBuffer& buffer_;
  const CollapsedRegions& regions_;
  WrapShape wrap_;
};

// The display row of a column among row starts.
uint32_t RowOfColumn(const std::vector<uint32_t>& row_starts, uint32_t column);

}  // namespace tavik::platform
