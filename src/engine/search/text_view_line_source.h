// The pattern engine's line source over a TextView: searches and substitutions read the view's
// lines through it.
#pragma once

#include <cstdint>
#include <string_view>

#include "regex/line_source.h"

namespace tavik {

class TextView;

// Reads through the view's one-line cache; the matcher copies lines it needs at the same time.
class TextViewLineSource : public LineSource {
 public:
  explicit TextViewLineSource(const TextView& view) : view_(view) {}
  uint32_t LineCount() const override;
  std::u16string_view LineText(uint32_t line) const override;
  uint32_t NarrowLines(uint32_t first, std::span<std::string_view> out) const override;

 private:
  const TextView& view_;
};

}  // namespace tavik
