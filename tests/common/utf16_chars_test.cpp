// Stepping through UTF-16 lines a character at a time: pairs are one character, and a lone half
// (a byte a file could not decode is one) is one character of its own.
#include "common/utf16_chars.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

constexpr char16_t kHigh = 0xD83D;  // with kLow: U+1F600
constexpr char16_t kLow = 0xDE00;
constexpr char16_t kRawByte = 0xDCFF;  // a lone low half

TEST(Utf16CharsTest, PairsAreSteppedOverWhole) {
  const std::u16string text{u'a', kHigh, kLow, u'b'};
  EXPECT_EQ(NextCharColumn(text, 0), 1u);
  EXPECT_EQ(NextCharColumn(text, 1), 3u);
  EXPECT_EQ(NextCharColumn(text, 2), 3u);  // from between the halves
  EXPECT_EQ(PrevCharColumn(text, 3), 1u);
  EXPECT_EQ(PrevCharColumn(text, 2), 0u);
  EXPECT_EQ(CharStartColumn(text, 2), 1u);
  EXPECT_EQ(CodePointAt(text, 1), U'\U0001F600');
  EXPECT_EQ(CodePointAt(text, 2), U'\U0001F600');
  EXPECT_EQ(AdvanceChars(text, 0, 2), 3u);
  EXPECT_EQ(AdvanceChars(text, 0, 9), 4u);
}

TEST(Utf16CharsTest, LoneHalvesAreCharactersOfTheirOwn) {
  // A low half after no high one, a high half before a letter and one at the line end.
  const std::u16string text{kRawByte, kLow, kHigh, u'x', kHigh};
  EXPECT_EQ(NextCharColumn(text, 0), 1u);
  EXPECT_EQ(NextCharColumn(text, 1), 2u);
  EXPECT_EQ(NextCharColumn(text, 2), 3u);
  EXPECT_EQ(NextCharColumn(text, 4), 5u);
  EXPECT_EQ(PrevCharColumn(text, 4), 3u);
  EXPECT_EQ(PrevCharColumn(text, 2), 1u);
  EXPECT_EQ(CodePointAt(text, 4), char32_t{kHigh});
  // Past the end a column moves by one and holds nothing.
  EXPECT_EQ(NextCharColumn(text, 7), 8u);
  EXPECT_EQ(PrevCharColumn(text, 7), 6u);
  EXPECT_EQ(CodePointAt(text, 5), 0u);
}

TEST(Utf16CharsTest, CodePointsBeyondTheBmpAreAppendedAsPairs) {
  std::u16string out;
  AppendCodePoint(out, U'x');
  AppendCodePoint(out, U'\U0001F600');
  AppendCodePoint(out, U'\U0010FFFF');
  EXPECT_EQ(out, (std::u16string{u'x', kHigh, kLow, 0xDBFF, 0xDFFF}));
  EXPECT_EQ(CombineSurrogates(0xDBFF, 0xDFFF), U'\U0010FFFF');
}

}  // namespace
}  // namespace tavik
