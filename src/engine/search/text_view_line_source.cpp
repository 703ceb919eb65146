// The line source over a TextView.
#include "engine/search/text_view_line_source.h"

#include "engine/text/text_view.h"

namespace tavik {

uint32_t TextViewLineSource::LineCount() const {
  return view_.LineCount();
}

std::u16string_view TextViewLineSource::LineText(uint32_t line) const {
  return view_.LineText(line);
}

uint32_t TextViewLineSource::NarrowLines(uint32_t first, std::span<std::string_view> out) const {
  return view_.NarrowLines(first, out);
}

}  // namespace tavik
