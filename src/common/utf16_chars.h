// Characters of a UTF-16 line. Columns count UTF-16 units, but a character beyond the Basic
// Multilingual Plane is a surrogate pair of two units, and every motion, edit and caret
// placement treats such a pair as one character: the caret never rests between its halves.
// A lone surrogate (a half without its partner, or a byte a file could not decode) is a
// character of its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavik {

constexpr bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point of a surrogate pair.
constexpr char32_t CombineSurrogates(char16_t high, char16_t low) {
  return 0x10000 + ((char32_t{high} - 0xD800) << 10) + (char32_t{low} - 0xDC00);
}

// True when `column` is the second half of a pair, a place the caret must not rest.
constexpr bool InsidePair(std::u16string_view text, size_t column) {
  return column > 0 && column < text.size() && IsLowSurrogate(text[column]) &&
         IsHighSurrogate(text[column - 1]);
}

// The first column of the character holding `column`; columns at or past the end stay.
constexpr uint32_t CharStartColumn(std::u16string_view text, uint32_t column) {
  return InsidePair(text, column) ? column - 1 : column;
}

// The number of units of the character that starts at `column`: 2 for a pair, else 1.
constexpr uint32_t CharUnitsAt(std::u16string_view text, uint32_t column) {
  return InsidePair(text, size_t{column} + 1) ? 2 : 1;
}

// The column after the character holding `column` (one past it at or beyond the line end).
constexpr uint32_t NextCharColumn(std::u16string_view text, uint32_t column) {
  column = CharStartColumn(text, column);
  return column + CharUnitsAt(text, column);
}

// The column `count` characters on from `column`, at most the end of the line.
constexpr uint32_t AdvanceChars(std::u16string_view text, uint32_t column, uint32_t count) {
  const auto length = static_cast<uint32_t>(text.size());
  for (uint32_t i = 0; i < count && column < length; ++i) column = NextCharColumn(text, column);
  return column < length ? column : length;
}

// The start of the character before `column`; 0 stays 0.
constexpr uint32_t PrevCharColumn(std::u16string_view text, uint32_t column) {
  if (column == 0) return 0;
  if (column > text.size()) return column - 1;
  return CharStartColumn(text, CharStartColumn(text, column) - 1);
}

// The code point of the character holding `column`, from either half of a pair; 0 past the end.
constexpr char32_t CodePointAt(std::u16string_view text, uint32_t column) {
  if (column >= text.size()) return 0;
  column = CharStartColumn(text, column);
  if (CharUnitsAt(text, column) == 2) return CombineSurrogates(text[column], text[column + 1]);
  return text[column];
}

// Appends a code point as one unit or as a pair.
inline void AppendCodePoint(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
}

}  // namespace tavik
