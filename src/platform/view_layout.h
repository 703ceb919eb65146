// The view's lines: buffer lines with collapsed regions folded in. A collapsed region shows as
// one U+FFFC unit between the text before its start and the text after its end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/text_pos.h"
#include "platform/collapsed_regions.h"
#include "platform/text_buffer.h"

namespace tavik::platform {

inline constexpr char16_t kPlaceholderUnit = 0xFFFC;

class ViewLayout {
 public:
  ViewLayout(const TextBuffer& buffer, const CollapsedRegions& regions)
      : buffer_(buffer), regions_(regions) {}

  uint32_t ViewLineCount() const;
  ViewPos BufferToView(TextPos pos) const;
  TextPos ViewToBuffer(ViewPos pos) const;
  // The buffer line a view line starts with.
  uint32_t FirstBufferLine(uint32_t view_line) const;
  std::u16string ViewLineText(uint32_t view_line) const;
  std::vector<const OutlineRegion*> RegionsOnViewLine(uint32_t view_line) const;
  // The hiding region holding the position (start included, end excluded), if any.
  const OutlineRegion* HidingRegionAt(TextPos pos) const;

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
};

}  // namespace tavik::platform
