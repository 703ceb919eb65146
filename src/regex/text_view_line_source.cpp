// The line source over a TextView, in its own file so the pattern engine builds without the
// engine's view layer where no view is needed (the fuzz target).
#include "engine/text_view.h"
#include "regex/line_source.h"

namespace tavik {

uint32_t TextViewLineSource::LineCount() const {
  return view_.LineCount();
}

std::u16string_view TextViewLineSource::LineText(uint32_t line) const {
  return view_.LineText(line);
}

}  // namespace tavik
