// Character classes used by motions, text objects and patterns: blank, word, other.
#pragma once

#include <cstdint>

namespace tavik {

enum class CharClass : uint8_t { kBlank = 0, kWord = 1, kOther = 2 };

// Wide-character classification, independent of the process locale so results are the same on
// every machine. Covers ASCII, Latin-1 and the common alphabetic ranges of the BMP.
bool IsBlankChar(char16_t c);
bool IsAlphaChar(char16_t c);
bool IsDigitChar(char16_t c);
bool IsUpperChar(char16_t c);
bool IsLowerChar(char16_t c);
char16_t ToUpperChar(char16_t c);
char16_t ToLowerChar(char16_t c);
// Whether every character with the same upper-case form as the ASCII character `c` is ASCII
// too (false for "s" and "i", which the long s and the dotless i share).
bool CaseMatesAreAscii(char16_t c);

inline bool IsWordChar(char16_t c) {
  return c == u'_' || IsAlphaChar(c) || IsDigitChar(c);
}

// The digits counts, line numbers and numbers in the text are written with.
constexpr bool IsAsciiDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// ToUpperChar with ASCII answered inline, for the pattern matcher's inner loops.
inline char16_t UpperFast(char16_t c) {
  if (c < 128) return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
  return ToUpperChar(c);
}

// A word character as patterns see it (word boundaries, "\w"): ASCII digits only.
inline bool IsPatternWordChar(char16_t c) {
  return c == u'_' || IsAsciiDigit(c) || IsAlphaChar(c);
}

// The end of a line (character 0 as CharAt reports it) counts as blank.
inline CharClass ClassOf(char16_t c) {
  if (c == 0 || IsBlankChar(c)) return CharClass::kBlank;
  return IsWordChar(c) ? CharClass::kWord : CharClass::kOther;
}

// The class of any code point. Beyond the BMP the ideographs of the supplementary planes are
// word characters like those of the BMP; everything else there (emoji, symbols) is "other".
inline CharClass ClassOfCodePoint(char32_t c) {
  if (c < 0x10000) return ClassOf(static_cast<char16_t>(c));
  return c >= 0x20000 && c <= 0x3FFFF ? CharClass::kWord : CharClass::kOther;
}

}  // namespace tavik
