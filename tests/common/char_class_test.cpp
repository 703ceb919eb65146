// Character classes and case mapping: spot checks per script and whole-BMP consistency checks.
#include "common/char_class.h"

#include <gtest/gtest.h>

#include <array>

namespace tavik {
namespace {

TEST(CharClassTest, BlanksAreSpacesTabsLineControlsAndUnicodeSeparators) {
  for (char16_t c : {u' ', u'\t', u'\n', u'\v', u'\f', u'\r', u'\u00A0', u'\u1680', u'\u2000',
                     u'\u200A', u'\u2028', u'\u2029', u'\u202F', u'\u205F', u'\u3000'}) {
    EXPECT_TRUE(IsBlankChar(c)) << std::hex << int(c);
  }
  for (char16_t c :
       {u'\0', u'\x08', u'\x0E', u'\x1F', u'a', u'_', u'\u200B', u'\u2030', u'\uFEFF', u'\u3001'}) {
    EXPECT_FALSE(IsBlankChar(c)) << std::hex << int(c);
  }
}

TEST(CharClassTest, ClassOfSeparatesBlankWordAndOther) {
  EXPECT_EQ(ClassOf(0), CharClass::kBlank);  // end of line
  EXPECT_EQ(ClassOf(u'\u3000'), CharClass::kBlank);
  EXPECT_EQ(ClassOf(u'_'), CharClass::kWord);
  EXPECT_EQ(ClassOf(u'7'), CharClass::kWord);
  EXPECT_EQ(ClassOf(u'\u00E9'), CharClass::kWord);  // e acute
  EXPECT_EQ(ClassOf(u'\u65E5'), CharClass::kWord);  // CJK ideograph
  EXPECT_EQ(ClassOf(u'.'), CharClass::kOther);
  EXPECT_EQ(ClassOf(u'\u00D7'), CharClass::kOther);  // multiplication sign
  EXPECT_EQ(ClassOf(u'\u3002'), CharClass::kOther);  // ideographic full stop
}

TEST(CharClassTest, LettersOfManyScriptsAreAlphabetic) {
  for (char16_t c :
       {u'a',      u'Z',      u'\u00C0', u'\u00FF', u'\u0153', u'\u01FF', u'\u0391', u'\u03C9',
        u'\u0416', u'\u044F', u'\u05D0', u'\u0627', u'\u0915', u'\u0E01', u'\u1E9E', u'\u3042',
        u'\u30AB', u'\u30FC', u'\u4E00', u'\u9FA5', u'\uAC00', u'\uD7A3', u'\uFF21', u'\uFF76'}) {
    EXPECT_TRUE(IsAlphaChar(c)) << std::hex << int(c);
  }
  for (char16_t c : {u'0', u'@', u'[', u'`', u'{', u'\u00A9', u'\u00D7', u'\u00F7', u'\u0301',
                     u'\u2013', u'\u20AC', u'\u3001', char16_t{0xD800}, u'\uFF01'}) {
    EXPECT_FALSE(IsAlphaChar(c)) << std::hex << int(c);
  }
}

TEST(CharClassTest, DecimalDigits) {
  for (char16_t c = u'0'; c <= u'9'; ++c) EXPECT_TRUE(IsDigitChar(c));
  EXPECT_TRUE(IsDigitChar(u'\u0663'));  // Arabic-Indic three
  EXPECT_TRUE(IsDigitChar(u'\uFF19'));  // fullwidth nine
  EXPECT_FALSE(IsDigitChar(u'/'));
  EXPECT_FALSE(IsDigitChar(u':'));
  EXPECT_FALSE(IsDigitChar(u'\u00B2'));  // superscript two is no decimal digit
}

TEST(CharClassTest, CaseMappingOfCommonPairs) {
  struct Pair {
    char16_t upper;
    char16_t lower;
  };
  for (Pair p : {Pair{u'A', u'a'},           Pair{u'Z', u'z'},           Pair{u'\u00C9', u'\u00E9'},
                 Pair{u'\u00DE', u'\u00FE'}, Pair{u'\u0100', u'\u0101'}, Pair{u'\u0141', u'\u0142'},
                 Pair{u'\u0178', u'\u00FF'}, Pair{u'\u017D', u'\u017E'}, Pair{u'\u01CD', u'\u01CE'},
                 Pair{u'\u0386', u'\u03AC'}, Pair{u'\u038F', u'\u03CE'}, Pair{u'\u0391', u'\u03B1'},
                 Pair{u'\u03A9', u'\u03C9'}, Pair{u'\u0401', u'\u0451'}, Pair{u'\u0416', u'\u0436'},
                 Pair{u'\u0490', u'\u0491'}, Pair{u'\u04C0', u'\u04CF'}, Pair{u'\u0531', u'\u0561'},
                 Pair{u'\u1EA0', u'\u1EA1'}, Pair{u'\uFF21', u'\uFF41'}}) {
    EXPECT_TRUE(IsUpperChar(p.upper)) << std::hex << int(p.upper);
    EXPECT_TRUE(IsLowerChar(p.lower)) << std::hex << int(p.lower);
    EXPECT_EQ(ToLowerChar(p.upper), p.lower) << std::hex << int(p.upper);
    EXPECT_EQ(ToUpperChar(p.lower), p.upper) << std::hex << int(p.lower);
  }
}

TEST(CharClassTest, OneWayAndUncasedLetters) {
  EXPECT_EQ(ToUpperChar(u'\u03C2'), u'\u03A3');  // final sigma
  EXPECT_EQ(ToLowerChar(u'\u03A3'), u'\u03C3');
  EXPECT_EQ(ToUpperChar(u'\u0131'), u'I');  // dotless i
  EXPECT_EQ(ToLowerChar(u'\u0130'), u'i');  // dotted capital I
  EXPECT_EQ(ToUpperChar(u'\u017F'), u'S');  // long s
  EXPECT_TRUE(IsLowerChar(u'\u00DF'));
  EXPECT_EQ(ToUpperChar(u'\u00DF'), u'\u00DF');  // sharp s has no single-unit capital
  for (char16_t c : {u'1', u'_', u'\u00D7', u'\u00F7', u'\u3042', u'\u4E00', u'\uAC00'}) {
    EXPECT_FALSE(IsUpperChar(c)) << std::hex << int(c);
    EXPECT_FALSE(IsLowerChar(c)) << std::hex << int(c);
    EXPECT_EQ(ToUpperChar(c), c);
    EXPECT_EQ(ToLowerChar(c), c);
  }
}

// Properties over every UTF-16 unit: a letter has at most one case, cased letters are
// alphabetic, classes do not overlap, and two-way pairs map back to where they started.
TEST(CharClassTest, WholeRangeIsConsistent) {
  for (uint32_t i = 0; i <= 0xFFFF; ++i) {
    const auto c = static_cast<char16_t>(i);
    SCOPED_TRACE(i);
    ASSERT_FALSE(IsUpperChar(c) && IsLowerChar(c));
    if (IsUpperChar(c) || IsLowerChar(c)) {
      ASSERT_TRUE(IsAlphaChar(c));
    }
    ASSERT_FALSE(IsAlphaChar(c) && IsDigitChar(c));
    ASSERT_FALSE(IsBlankChar(c) && (IsAlphaChar(c) || IsDigitChar(c)));
    const char16_t lower = ToLowerChar(c);
    const char16_t upper = ToUpperChar(c);
    if (lower != c) {
      ASSERT_TRUE(IsUpperChar(c));
      ASSERT_TRUE(IsLowerChar(lower));
      // Only the dotted capital I lowers to a letter that raises to something else.
      if (c != u'\u0130') {
        ASSERT_EQ(ToUpperChar(lower), c);
      }
    }
    if (upper != c) {
      ASSERT_TRUE(IsLowerChar(c));
      ASSERT_TRUE(IsUpperChar(upper));
    }
    if (!IsAlphaChar(c)) {
      ASSERT_EQ(lower, c);
      ASSERT_EQ(upper, c);
    }
  }
}

// The ASCII characters that ignoring case match a character beyond ASCII, found by trying
// every unit.
TEST(CharClassTest, CaseMatesBeyondAscii) {
  std::array<bool, 128> mate_beyond{};
  for (uint32_t i = 0x80; i <= 0xFFFF; ++i) {
    const char16_t upper = ToUpperChar(static_cast<char16_t>(i));
    if (upper < 128) mate_beyond[upper] = true;
  }
  for (char16_t c = 0; c < 128; ++c) {
    EXPECT_EQ(CaseMatesAreAscii(c), !mate_beyond[ToUpperChar(c)]) << int(c);
  }
  EXPECT_FALSE(CaseMatesAreAscii(u's'));
  EXPECT_TRUE(CaseMatesAreAscii(u'7'));
}

}  // namespace
}  // namespace tavik
