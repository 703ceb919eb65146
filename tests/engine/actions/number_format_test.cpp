// Number increment arithmetic beyond what keystrokes can reach: counts above the parser's cap,
// very long digit runs, and the edges of the 32-bit octal and hexadecimal values.
#include "engine/actions/number_format.h"

#include <gtest/gtest.h>

#include <string>

namespace tavik {
namespace {

constexpr NumberFormats kDefault{false, true, true};
constexpr uint32_t kMaxCount = 4294967295u;

// The line after the change, or "none" when no number was found.
std::u16string Apply(std::u16string line, uint32_t column, bool up, uint32_t count,
                     NumberFormats formats = kDefault) {
  bool hex_upper = false;
  std::optional<NumberEdit> edit = IncrementNumber(line, column, formats, up, count, hex_upper);
  if (!edit) return u"none";
  EXPECT_LE(edit->start + edit->length, line.size());
  line.replace(edit->start, edit->length, edit->text);
  EXPECT_LT(edit->caret, line.size());
  return line;
}

TEST(NumberFormatTest, ParsesTheWordsOfTheOption) {
  NumberFormats all = ParseNumberFormats(u"alpha,hex,octal");
  EXPECT_TRUE(all.alpha && all.hex && all.octal);
  NumberFormats none = ParseNumberFormats(u"");
  EXPECT_FALSE(none.alpha || none.hex || none.octal);
  // Words are compared exactly.
  NumberFormats partial = ParseNumberFormats(u"hexa,octal ,alpha");
  EXPECT_FALSE(partial.hex || partial.octal);
  EXPECT_TRUE(partial.alpha);
}

TEST(NumberFormatTest, LargestCountOnDecimalNumbers) {
  EXPECT_EQ(Apply(u"0", 0, true, kMaxCount), u"4294967295");
  EXPECT_EQ(Apply(u"1", 0, false, kMaxCount), u"-4294967294");
  EXPECT_EQ(Apply(u"-4294967295", 0, true, kMaxCount), u"0");
  EXPECT_EQ(Apply(u"18446744073709551615", 0, true, kMaxCount), u"18446744078004518910");
  EXPECT_EQ(Apply(u"18446744078004518910", 0, false, kMaxCount), u"18446744073709551615");
}

TEST(NumberFormatTest, TenThousandDigits) {
  std::u16string nines(10000, u'9');
  std::u16string carried = u"1" + std::u16string(10000, u'0');
  EXPECT_EQ(Apply(nines, 0, true, 1), carried);
  EXPECT_EQ(Apply(carried, 5000, false, 1), nines);
  std::u16string ones(10000, u'1');
  std::u16string expected = ones.substr(0, 9987) + u"1106816143816";
  EXPECT_EQ(Apply(ones, 0, false, kMaxCount), expected);
}

TEST(NumberFormatTest, HexadecimalWrapsAtThirtyTwoBits) {
  EXPECT_EQ(Apply(u"0xffffffff", 0, true, 1), u"0x00000000");
  EXPECT_EQ(Apply(u"0x0", 0, false, kMaxCount), u"0x1");
  EXPECT_EQ(Apply(u"0x1", 0, true, kMaxCount), u"0x0");
  // Only the first 255 digits are read and replaced.
  std::u16string long_hex = u"0x" + std::u16string(300, u'f');
  std::u16string result = Apply(long_hex, 0, true, 1);
  EXPECT_EQ(result, u"0x" + std::u16string(255, u'0') + std::u16string(45, u'f'));
}

TEST(NumberFormatTest, HexadecimalIsFoundFromEveryPartOfThePrefix) {
  EXPECT_EQ(Apply(u"a 0x1f", 0, true, 1), u"a 0x20");  // before: scanned to the right
  EXPECT_EQ(Apply(u"a 0x1f", 2, true, 1), u"a 0x20");  // on the 0
  EXPECT_EQ(Apply(u"a 0x1f", 3, true, 1), u"a 0x20");  // on the x
  EXPECT_EQ(Apply(u"a 0x1f", 5, true, 1), u"a 0x20");  // on a digit
  // A 0 right after a digit is not a prefix: 10x5 is the decimal 10.
  EXPECT_EQ(Apply(u"10x5", 1, true, 1), u"11x5");
  // A prefix without digits after it is a decimal 0.
  EXPECT_EQ(Apply(u"0xg", 0, true, 1), u"1xg");
}

TEST(NumberFormatTest, OctalWrapsAndCountsPastZeroAsDecimal) {
  EXPECT_EQ(Apply(u"037777777777", 0, true, 1), u"000000000000");
  EXPECT_EQ(Apply(u"037777777777", 0, true, 3), u"2");
  EXPECT_EQ(Apply(u"01", 0, false, kMaxCount), u"-4294967294");
  EXPECT_EQ(Apply(u"-01", 1, false, 2), u"-1");  // the octal step ignores the sign, decimal not
}

TEST(NumberFormatTest, LettersAndLinesWithoutNumbers) {
  NumberFormats alpha{true, false, false};
  EXPECT_EQ(Apply(u"m", 0, true, kMaxCount, alpha), u"z");
  EXPECT_EQ(Apply(u"M", 0, false, kMaxCount, alpha), u"A");
  EXPECT_EQ(Apply(u"", 0, true, 1), u"none");
  EXPECT_EQ(Apply(u"abc", 0, true, 1), u"none");
  EXPECT_EQ(Apply(u"12 abc", 4, true, 1), u"none");
  EXPECT_EQ(Apply(u"abc", 7, true, 1), u"none");
}

TEST(NumberFormatTest, RemembersTheHexadecimalCase) {
  bool hex_upper = false;
  std::optional<NumberEdit> edit = IncrementNumber(u"0x9", 0, kDefault, true, 1, hex_upper);
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->text, u"a");
  edit = IncrementNumber(u"0xAB", 0, kDefault, true, 1, hex_upper);
  EXPECT_TRUE(hex_upper);
  edit = IncrementNumber(u"0x9", 0, kDefault, true, 1, hex_upper);
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->text, u"A");
}

}  // namespace
}  // namespace tavik
