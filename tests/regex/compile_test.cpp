// The compiler: byte programs pinned for one pattern per grammar rule and escape family, the
// tokenizer's magic levels and position rules, delimiters, case flags and every failure code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/pattern.h"

namespace tavik {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Program(std::u16string_view text, int level = 2, char16_t delimiter = kNoDelimiter) {
  CompileResult r = CompilePattern(text, level, delimiter);
  EXPECT_EQ(r.error, CompileError::kNone) << std::string(text.begin(), text.end());
  return Bytes(r.pattern.program().begin(), r.pattern.program().end());
}

CompileError ErrorOf(std::u16string_view text, int level = 2) {
  CompileResult r = CompilePattern(text, level, kNoDelimiter);
  EXPECT_EQ(r.pattern.valid(), r.error == CompileError::kNone);
  return r.error;
}

TEST(RegexCompileTest, LiteralsConcatenationAndEmptyPattern) {
  EXPECT_EQ(Program(u""), (Bytes{4}));
  EXPECT_EQ(Program(u"a"), (Bytes{3, 0, 'a', 0, 4}));
  EXPECT_EQ(Program(u"ab"), (Bytes{3, 0, 'a', 0, 3, 0, 'b', 0, 4}));
  EXPECT_EQ(Program(u"\u20ac"), (Bytes{3, 0, 0xAC, 0x20, 4}));  // 16-bit little-endian
}

TEST(RegexCompileTest, AlternationFoldsFromTheRight) {
  EXPECT_EQ(Program(u"a\\|b"), (Bytes{1, 10, 0, 3, 0, 'a', 0, 0, 7, 0, 3, 0, 'b', 0, 4}));
  EXPECT_EQ(Program(u"a\\|"), (Bytes{1, 10, 0, 3, 0, 'a', 0, 0, 3, 0, 4}));
  // a\|b\|c: the right side is itself an alternation of length 14.
  EXPECT_EQ(Program(u"a\\|b\\|c"), (Bytes{1, 10, 0,   3, 0, 'a', 0, 0, 17, 0,   1, 10, 0,
                                          3, 0,  'b', 0, 0, 7,   0, 3, 0,  'c', 0, 4}));
}

TEST(RegexCompileTest, RepeatsStarPlusOptional) {
  EXPECT_EQ(Program(u"a*"), (Bytes{1, 7, 0, 3, 0, 'a', 0, 2, 0xFC, 0xFF, 4}));
  EXPECT_EQ(Program(u"a\\+"), (Bytes{3, 0, 'a', 0, 2, 0xFC, 0xFF, 4}));
  EXPECT_EQ(Program(u"a\\="), (Bytes{1, 7, 0, 3, 0, 'a', 0, 4}));
  EXPECT_EQ(Program(u"a\\?"), Program(u"a\\="));
  EXPECT_EQ(Program(u"a?", 3), Program(u"a\\="));
}

TEST(RegexCompileTest, BracesUseCountersWithTheirOffsets) {
  // \{2,3}: set, greedy split L+12, X, inc, max, back split -(L+6), min.
  EXPECT_EQ(Program(u"a\\{2,3}"), (Bytes{10, 0, 0, 1, 16, 0,    3,    0,  'a', 0, 11, 0,
                                         13, 0, 3, 0, 2,  0xF6, 0xFF, 12, 0,   2, 0,  4}));
  // \{-}: lazy, no minimum or maximum: SPLIT_JUMP L+8, SPLIT_NEXT -(L+2).
  EXPECT_EQ(Program(u"a\\{-}"), (Bytes{10, 0, 0, 2, 12, 0, 3, 0, 'a', 0, 11, 0, 1, 0xFA, 0xFF, 4}));
  // \{3}: maximum equals minimum; \} may close the brace.
  EXPECT_EQ(Program(u"a\\{3\\}"), (Bytes{10, 0, 0, 1, 16, 0,    3,    0,  'a', 0, 11, 0,
                                         13, 0, 3, 0, 2,  0xF6, 0xFF, 12, 0,   3, 0,  4}));
  // \{,2}: maximum only; \{1,}: minimum only.
  EXPECT_EQ(Program(u"a\\{,2}"),
            (Bytes{10, 0, 0, 1, 16, 0, 3, 0, 'a', 0, 11, 0, 13, 0, 2, 0, 2, 0xF6, 0xFF, 4}));
  EXPECT_EQ(Program(u"a\\{-1,}"),
            (Bytes{10, 0, 0, 2, 12, 0, 3, 0, 'a', 0, 11, 0, 1, 0xFA, 0xFF, 12, 0, 1, 0, 4}));
  // Counters are numbered in the order the braces close: the inner one first.
  Bytes nested = Program(u"\\%(a\\{2}\\)\\{3}");
  ASSERT_GT(nested.size(), 8u);
  EXPECT_EQ(nested[0], 10);
  EXPECT_EQ(nested[1], 1);  // outer counter
  EXPECT_EQ(nested[6], 10);
  EXPECT_EQ(nested[7], 0);  // inner counter
}

TEST(RegexCompileTest, GroupsNonCapturingGroupsAndBackReferences) {
  EXPECT_EQ(Program(u"\\(a\\)"), (Bytes{6, 0, 3, 0, 'a', 0, 7, 0, 4}));
  EXPECT_EQ(Program(u"\\%(a\\)"), (Bytes{3, 0, 'a', 0, 4}));
  EXPECT_EQ(Program(u"\\(a\\)\\(b\\)\\2"),
            (Bytes{6, 0, 3, 0, 'a', 0, 7, 0, 6, 1, 3, 0, 'b', 0, 7, 1, 3, 13, 1, 4}));
  EXPECT_EQ(Program(u"\\v(a|b)+"), Program(u"\\(a\\|b\\)\\+"));
  EXPECT_EQ(Program(u"\\v\\(a\\)"), (Bytes{3, 0, '(', 0, 3, 0, 'a', 0, 3, 0, ')', 0, 4}));
  // Group numbers are taken in the order the groups open.
  EXPECT_EQ(Program(u"\\(\\(a\\)\\)"), (Bytes{6, 0, 6, 1, 3, 0, 'a', 0, 7, 1, 7, 0, 4}));
}

TEST(RegexCompileTest, AndConcatenationMarksAndResets) {
  EXPECT_EQ(Program(u"a\\&b"), (Bytes{8, 0, 3, 0, 'a', 0, 9, 0, 3, 0, 'b', 0, 4}));
  EXPECT_EQ(Program(u"a\\&b\\&c"),
            (Bytes{8, 0, 3, 0, 'a', 0, 9, 0, 8, 1, 3, 0, 'b', 0, 9, 1, 3, 0, 'c', 0, 4}));
}

TEST(RegexCompileTest, ZeroWidthItemsAndMatchBounds) {
  EXPECT_EQ(Program(u"^"), (Bytes{3, 3, 4}));
  EXPECT_EQ(Program(u"$"), (Bytes{3, 4, 4}));
  EXPECT_EQ(Program(u"\\<\\>"), (Bytes{3, 11, 3, 12, 4}));
  EXPECT_EQ(Program(u"\\zsa\\ze"), (Bytes{14, 3, 0, 'a', 0, 15, 4}));
  EXPECT_EQ(Program(u"\\_^a\\_$"), (Bytes{3, 3, 3, 0, 'a', 0, 3, 4, 4}));
}

TEST(RegexCompileTest, AnyLineBreakAndClassEscapes) {
  EXPECT_EQ(Program(u"."), (Bytes{3, 1, 4}));
  EXPECT_EQ(Program(u"\\_."), (Bytes{3, 2, 4}));
  EXPECT_EQ(Program(u"\\n"), (Bytes{3, 5, 4}));
  EXPECT_EQ(Program(u"\\d"), (Bytes{3, 10, 10, 0, 4}));
  EXPECT_EQ(Program(u"\\S"), (Bytes{3, 10, 9, 1, 4}));
  EXPECT_EQ(Program(u"\\_s"), (Bytes{3, 10, 9, 2, 4}));
  EXPECT_EQ(Program(u"\\_W"), (Bytes{3, 10, 13, 3, 4}));
  EXPECT_EQ(Program(u"\\I\\K\\F\\P"),
            (Bytes{3, 10, 2, 0, 3, 10, 4, 0, 3, 10, 6, 0, 3, 10, 8, 0, 4}));
  EXPECT_EQ(Program(u"\\e\\t\\r\\b"), (Bytes{3, 0, 27, 0, 3, 0, 9, 0, 3, 0, 13, 0, 3, 0, 8, 0, 4}));
}

TEST(RegexCompileTest, OddEscapesAreLiterals) {
  EXPECT_EQ(Program(u"\\%d"), Program(u"d"));
  EXPECT_EQ(Program(u"\\_y"), Program(u"y"));
  EXPECT_EQ(Program(u"\\y"), Program(u"y"));
  EXPECT_EQ(Program(u"\\zq"), Program(u"zq"));
  EXPECT_EQ(Program(u"\\0"), Program(u"0"));
}

TEST(RegexCompileTest, BracketExpressions) {
  EXPECT_EQ(Program(u"[a-c]"), (Bytes{3, 6, 10, 0, 0, 1, 'a', 0, 'c', 0, 4}));
  EXPECT_EQ(Program(u"[^ab]"), (Bytes{3, 7, 10, 0, 2, 0, 'a', 0, 'b', 0, 4}));
  EXPECT_EQ(Program(u"\\_[a]"), (Bytes{3, 8, 8, 0, 1, 0, 'a', 0, 4}));
  EXPECT_EQ(Program(u"[a\\n]"), (Bytes{3, 8, 8, 0, 1, 0, 'a', 0, 4}));
  EXPECT_EQ(Program(u"\\_[^\\na]"), (Bytes{3, 7, 8, 0, 1, 0, 'a', 0, 4}));
  EXPECT_EQ(Program(u"[]a]"), (Bytes{3, 6, 10, 0, 2, 0, ']', 0, 'a', 0, 4}));
  EXPECT_EQ(Program(u"[^]a]"), (Bytes{3, 7, 10, 0, 2, 0, ']', 0, 'a', 0, 4}));
  EXPECT_EQ(Program(u"[a-]"), (Bytes{3, 6, 10, 0, 2, 0, 'a', 0, '-', 0, 4}));
  EXPECT_EQ(Program(u"[\\^a]"), (Bytes{3, 7, 8, 0, 1, 0, 'a', 0, 4}));
  // An escaped ] closes a non-empty set: [a\]b] is the set {a} followed by "b]".
  EXPECT_EQ(Program(u"[a\\]b]"), (Bytes{3, 6, 8, 0, 1, 0, 'a', 0, 3, 0, 'b', 0, 3, 0, ']', 0, 4}));
  // Escapes inside: \e \t \r \b are controls, class letters are plain letters.
  EXPECT_EQ(Program(u"[\\t\\d]"), (Bytes{3, 6, 10, 0, 2, 0, 9, 0, 'd', 0, 4}));
  // An escaped [ never starts a bracket name.
  EXPECT_EQ(Program(u"[\\[:tab:]]"), (Bytes{3,   6, 18,  0, 6,   0, '[', 0, ':', 0, 't', 0,
                                            'a', 0, 'b', 0, ':', 0, 3,   0, ']', 0, 4}));
}

TEST(RegexCompileTest, BracketNamesExpandToCharactersAndRanges) {
  EXPECT_EQ(Program(u"[[:digit:]]"), (Bytes{3, 6, 10, 0, 0, 1, '0', 0, '9', 0, 4}));
  EXPECT_EQ(Program(u"[[:return:]]"), (Bytes{3, 6, 8, 0, 1, 0, 10, 0, 4}));
  EXPECT_EQ(Program(u"[[:tab:][:escape:][:backspace:]]"),
            (Bytes{3, 6, 12, 0, 3, 0, 9, 0, 27, 0, 8, 0, 4}));
  EXPECT_EQ(Program(u"[[:blank:]]"), (Bytes{3, 6, 10, 0, 2, 0, ' ', 0, 9, 0, 4}));
  EXPECT_EQ(Program(u"[[:alnum:]_]"),
            (Bytes{3, 6, 20, 0, 1, 3, '_', 0, '0', 0, '9', 0, 'a', 0, 'z', 0, 'A', 0, 'Z', 0, 4}));
  Bytes punct = Program(u"[[:punct:]]");
  ASSERT_GE(punct.size(), 6u);
  EXPECT_EQ(punct[4], 32);  // every ASCII punctuation character, one each
  EXPECT_EQ(punct[5], 0);
  // Names are matched case-sensitively; otherwise [ is an ordinary member.
  EXPECT_EQ(Program(u"[[:DIGIT:]]").size(), 4u + 6 + 2 * 8 + 1);
}

TEST(RegexCompileTest, MagicLevelsDecideWhatIsSpecial) {
  // Level 0: everything needs a backslash; level 3: nothing does.
  EXPECT_EQ(Program(u".*", 0), Program(u"\\.\\*", 2));
  EXPECT_EQ(Program(u"\\.\\*", 0), Program(u".*", 2));
  EXPECT_EQ(Program(u"a+", 3), Program(u"a\\+", 2));
  EXPECT_EQ(Program(u"a\\+", 3), Program(u"a+", 2));
  EXPECT_EQ(Program(u"[a]", 1), Program(u"\\[a]", 2));
  EXPECT_EQ(Program(u"\\[a]", 1), Program(u"[a]", 2));
  // ^ and $ are special from level 1 on.
  EXPECT_EQ(Program(u"^a$", 1), (Bytes{3, 3, 3, 0, 'a', 0, 3, 4, 4}));
  EXPECT_EQ(Program(u"^a$", 0), Program(u"\\^a\\$", 2));
  // Modifiers apply to what follows them and produce no code.
  EXPECT_EQ(Program(u"a*\\Va*"), Program(u"a*a\\*"));
  EXPECT_EQ(Program(u"\\v(a)\\m\\(b\\)"), Program(u"\\(a\\)\\(b\\)"));
  // A character at or above 128 is never special.
  EXPECT_EQ(Program(u"\u00e9", 3), (Bytes{3, 0, 0xE9, 0, 4}));
}

TEST(RegexCompileTest, CaretAndDollarPositionRules) {
  EXPECT_EQ(Program(u"a^"), Program(u"a\\^"));
  EXPECT_EQ(Program(u"\\(^a\\)"), (Bytes{6, 0, 3, 0, '^', 0, 3, 0, 'a', 0, 7, 0, 4}));
  EXPECT_EQ(Program(u"a\\|^b"), Program(u"a\\|\\^b"));
  EXPECT_EQ(Program(u"a$b"), (Bytes{3, 0, 'a', 0, 3, 0, '$', 0, 3, 0, 'b', 0, 4}));
  EXPECT_EQ(Program(u"a$\\|b"), Program(u"a\\$\\|b"));
  // Before the delimiter $ is the end of line.
  EXPECT_EQ(Program(u"a$/x", 2, u'/'), (Bytes{3, 0, 'a', 0, 3, 4, 4}));
  // A ^ after a leading modifier is not at index 0 of the text, so it is a literal.
  EXPECT_EQ(Program(u"\\c^a"), Program(u"\\^a"));
  // At level 0 the escaped forms follow the same rules.
  EXPECT_EQ(Program(u"\\^a\\$", 0), (Bytes{3, 3, 3, 0, 'a', 0, 3, 4, 4}));
}

TEST(RegexCompileTest, DelimitersEndThePattern) {
  CompileResult r = CompilePattern(u"ab/cd", 2, u'/');
  EXPECT_EQ(r.error, CompileError::kNone);
  EXPECT_EQ(r.pattern_end, 2u);
  EXPECT_EQ(r.after_delimiter, 3u);
  r = CompilePattern(u"ab", 2, u'/');
  EXPECT_EQ(r.pattern_end, 2u);
  EXPECT_EQ(r.after_delimiter, 2u);
  // An escaped delimiter is a literal, except where the escape is the special form.
  EXPECT_EQ(Program(u"a\\/b/", 2, u'/'), Program(u"a/b"));
  EXPECT_EQ(Program(u"a\\?b?", 2, u'?'), Program(u"a\\=b"));
  EXPECT_EQ(CompilePattern(u"[/]/", 2, u'/').error, CompileError::kUnterminatedBracket);
  EXPECT_EQ(CompilePattern(u"\\(a/\\)", 2, u'/').error, CompileError::kUnclosedGroup);
}

TEST(RegexCompileTest, CaseFlags) {
  auto flags = [](std::u16string_view t) {
    Pattern p = CompilePattern(t, 2, kNoDelimiter).pattern;
    return std::string(p.force_ignore_case() ? "i" : "-") + (p.force_match_case() ? "C" : "-") +
           (p.has_upper_case() ? "U" : "-") + (p.ignore_case() ? "y" : "n");
  };
  EXPECT_EQ(flags(u"abc"), "---y");
  EXPECT_EQ(flags(u"aBc"), "--Uy");
  EXPECT_EQ(flags(u"[A]"), "--Uy");
  EXPECT_EQ(flags(u"\\S\\U\\A"), "---y");
  EXPECT_EQ(flags(u"\\cabc"), "i--y");
  EXPECT_EQ(flags(u"ab\\C"), "-C-y");
  EXPECT_EQ(flags(u"\\%Q"), "--Uy");
  EXPECT_EQ(flags(u"\u00c9"), "--Uy");  // upper case by the wide-character test
}

TEST(RegexCompileTest, DecideCaseFollowsForceFlagsThenOptions) {
  Pattern lower = CompilePattern(u"abc", 2, kNoDelimiter).pattern;
  Pattern upper = CompilePattern(u"aBc", 2, kNoDelimiter).pattern;
  Pattern forced = CompilePattern(u"aBc\\c", 2, kNoDelimiter).pattern;
  Pattern exact = CompilePattern(u"abc\\C", 2, kNoDelimiter).pattern;
  CaseOptions off{false, false, false};
  CaseOptions ic{true, false, false};
  CaseOptions smart{true, true, false};
  CaseOptions star{true, true, true};
  EXPECT_FALSE(DecideIgnoreCase(lower, off));
  EXPECT_TRUE(DecideIgnoreCase(forced, off));
  EXPECT_FALSE(DecideIgnoreCase(exact, ic));
  EXPECT_TRUE(DecideIgnoreCase(lower, ic));
  EXPECT_TRUE(DecideIgnoreCase(upper, ic));
  EXPECT_TRUE(DecideIgnoreCase(lower, smart));
  EXPECT_FALSE(DecideIgnoreCase(upper, smart));
  EXPECT_TRUE(DecideIgnoreCase(upper, star));
  EXPECT_FALSE(DecideCase(upper, smart).ignore_case());
  EXPECT_TRUE(upper.ignore_case());  // DecideCase returns a copy
}

TEST(RegexCompileTest, FailureCodes) {
  EXPECT_EQ(ErrorOf(u"*"), CompileError::kTrailingText);
  EXPECT_EQ(ErrorOf(u"a**"), CompileError::kTrailingText);
  EXPECT_EQ(ErrorOf(u"a\\)"), CompileError::kTrailingText);
  EXPECT_EQ(ErrorOf(u"a~"), CompileError::kTrailingText);
  EXPECT_EQ(ErrorOf(u"a\\"), CompileError::kTrailingText);
  EXPECT_EQ(ErrorOf(u"a\\%"), CompileError::kTrailingText);
  EXPECT_EQ(ErrorOf(u"a\\_"), CompileError::kTrailingText);
  EXPECT_EQ(ErrorOf(u"\\|*"), CompileError::kTrailingText);
  EXPECT_EQ(ErrorOf(u"[a"), CompileError::kUnterminatedBracket);
  EXPECT_EQ(ErrorOf(u"[]"), CompileError::kUnterminatedBracket);
  EXPECT_EQ(ErrorOf(u"\\(a"), CompileError::kUnclosedGroup);
  EXPECT_EQ(ErrorOf(u"\\%(a\\|b"), CompileError::kUnclosedGroup);
  EXPECT_EQ(ErrorOf(u"\\(a**\\)"), CompileError::kUnclosedGroup);
  EXPECT_EQ(ErrorOf(u"a\\{a}"), CompileError::kMalformedBrace);
  EXPECT_EQ(ErrorOf(u"a\\{1,2"), CompileError::kMalformedBrace);
  EXPECT_EQ(ErrorOf(u"a\\{1,2,3}"), CompileError::kMalformedBrace);
  EXPECT_EQ(ErrorOf(u"^*"), CompileError::kMultiAfterZeroWidth);
  EXPECT_EQ(ErrorOf(u"a$*"), CompileError::kNone);  // $ not last: a literal that repeats
  EXPECT_EQ(ErrorOf(u"\\<*"), CompileError::kMultiAfterZeroWidth);
  EXPECT_EQ(ErrorOf(u"\\zs\\{2}"), CompileError::kMultiAfterZeroWidth);
  EXPECT_EQ(ErrorOf(u"\\_$*"), CompileError::kMultiAfterZeroWidth);
}

TEST(RegexCompileTest, LimitsOnBracesAndSets) {
  std::u16string braces;
  for (int i = 0; i < 256; ++i) braces += u"a\\{1}";
  EXPECT_EQ(ErrorOf(braces), CompileError::kNone);
  EXPECT_EQ(ErrorOf(braces + u"a\\{1}"), CompileError::kTooManyBraces);

  std::u16string chars = u"[";
  for (char16_t c = 0x100; c < 0x100 + 255; ++c) chars += c;
  EXPECT_EQ(ErrorOf(chars + u"]"), CompileError::kNone);
  EXPECT_EQ(ErrorOf(chars + u"x]"), CompileError::kTooManyBracketChars);

  std::u16string ranges = u"[";
  for (char16_t c = 0x100; c < 0x100 + 255 * 2; c += 2) (ranges += c) += u"-", ranges += c;
  EXPECT_EQ(ErrorOf(ranges + u"]"), CompileError::kNone);
  EXPECT_EQ(ErrorOf(ranges + u"x-y]"), CompileError::kTooManyBracketRanges);
}

TEST(RegexCompileTest, DeepNestingCompilesWithoutRecursion) {
  std::u16string deep;
  for (int i = 0; i < 20000; ++i) deep += u"\\%(";
  deep += u"a";
  for (int i = 0; i < 20000; ++i) deep += u"\\)";
  EXPECT_EQ(Program(deep), (Bytes{3, 0, 'a', 0, 4}));
  EXPECT_EQ(ErrorOf(deep.substr(0, deep.size() - 2)), CompileError::kUnclosedGroup);
}

TEST(RegexCompileTest, OversizedProgramIsRefused) {
  std::u16string big;
  for (int i = 0; i < 3000; ++i) big += u"[[:punct:]]";
  EXPECT_EQ(ErrorOf(big + u"\\|b"), CompileError::kProgramTooLarge);
  EXPECT_EQ(ErrorOf(big), CompileError::kNone);
}

}  // namespace
}  // namespace tavik
