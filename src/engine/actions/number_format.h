// Finding the number at or after a column and computing its increment or decrement: decimal
// numbers of any length as digit strings, octal and hexadecimal as 32-bit values, and letters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavik {

// The notations recognised besides plain decimal, from the words of the nrformats option.
struct NumberFormats {
  bool alpha = false;
  bool hex = false;
  bool octal = false;
};

NumberFormats ParseNumberFormats(std::u16string_view option);

// One change to a line: columns [start, start + length) become `text`.
struct NumberEdit {
  uint32_t start = 0;
  uint32_t length = 0;
  std::u16string text;
  uint32_t caret = 0;  // the column of the caret after the edit
};

// The change that adds `count` steps (up) or takes them away (down) from the number at or after
// `column`; nullopt when the line has no number there. `hex_upper` is the remembered case of
// hexadecimal letters, read when the number has none and updated from the number otherwise.
std::optional<NumberEdit> IncrementNumber(std::u16string_view line, uint32_t column,
                                          NumberFormats formats, bool up, uint32_t count,
                                          bool& hex_upper);

}  // namespace tavik
