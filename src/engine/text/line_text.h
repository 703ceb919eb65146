// Small reading helpers over a TextView line shared by actions, ex commands and motions.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/char_class.h"
#include "engine/text/text_view.h"

namespace tavik {

// The column of the first non-blank character; the line length when the line is all blanks.
inline uint32_t FirstNonBlankColumn(const TextView& view, uint32_t line) {
  std::u16string_view text = view.LineText(line);
  uint32_t column = 0;
  while (column < text.size() && IsBlankChar(text[column])) ++column;
  return column;
}

// The first non-blank character of a line as a caret position: column 0 on a blank line.
inline TextPos FirstNonBlankPos(const TextView& view, uint32_t line) {
  uint32_t column = FirstNonBlankColumn(view, line);
  return {line, column < view.LineLength(line) ? column : 0};
}

}  // namespace tavik
