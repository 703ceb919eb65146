// Match results: preference order, captures, match bounds, every item kind, case rules,
// loops whose body can match empty, counters, and-concatenation and the work bound.
#include <gtest/gtest.h>

#include "regex_test_util.h"

namespace tavik::testing {
namespace {

TEST(RegexMatchTest, FirstAlternativeAndGreedyFirstWin) {
  EXPECT_EQ(Found(u"a\\|ab", u"ab"), "[a]@0");
  EXPECT_EQ(Found(u"ab\\|a", u"ab"), "[ab]@0");
  EXPECT_EQ(Groups(u"\\(a*\\)\\(a*\\)", u"aaa"), "[aaa] []");
  EXPECT_EQ(Found(u"a*?", u"aa?"), "[aa?]@0");
  EXPECT_EQ(Found(u"x*", u"abc"), "[]@0");
  EXPECT_EQ(Found(u"b\\|", u"ab"), "[]@0");  // the empty branch matches at 0 first
  EXPECT_EQ(Found(u"a.c", u"xxabc"), "[abc]@2");
  EXPECT_EQ(Found(u"", u"abc"), "[]@0");
}

TEST(RegexMatchTest, LazyAndCountedRepeats) {
  EXPECT_EQ(Found(u"a\\{2,3}", u"aaaa"), "[aaa]@0");
  EXPECT_EQ(Found(u"a\\{-2,3}", u"aaaa"), "[aa]@0");
  EXPECT_EQ(Found(u"a\\{-1,}", u"aaaa"), "[a]@0");
  EXPECT_EQ(Found(u"a\\{-}", u"aaaa"), "[]@0");
  EXPECT_EQ(Found(u"a\\{3}", u"aa aaaa"), "[aaa]@3");
  EXPECT_EQ(Found(u"a\\{,2}b", u"aaab"), "[aab]@1");
  EXPECT_EQ(Found(u"\\(ab\\)\\{2}", u"abab"), "[abab]@0");
  EXPECT_EQ(Found(u"x\\{0}y", u"xy"), "[y]@1");
  EXPECT_EQ(Found(u"\\d\\{4}-\\d\\d", u"on 2024-06-01"), "[2024-06]@3");
}

TEST(RegexMatchTest, EmptyIterationsEndTheLoop) {
  EXPECT_EQ(Found(u"\\(a*\\)*b", u"aab"), "[aab]@0");
  EXPECT_EQ(Found(u"\\(a*\\)*", u"b"), "[]@0");
  EXPECT_EQ(Found(u"\\(\\)\\+x", u"x"), "[x]@0");
  EXPECT_EQ(Found(u"\\(a\\|\\)\\+b", u"aab"), "[aab]@0");
  EXPECT_EQ(Found(u"\\%(a*\\)\\{2,}b", u"aab"), "[aab]@0");
  // A counted loop still reaches its minimum with empty iterations.
  EXPECT_EQ(Found(u"\\(a\\|\\)\\{3}", u"a"), "[a]@0");
  EXPECT_EQ(Found(u"\\(\\)\\{5}x", u"x"), "[x]@0");
  EXPECT_EQ(Found(u"\\%(\\%(a*\\)*\\)*c", u"aaac"), "[aaac]@0");
  EXPECT_EQ(Groups(u"\\(a*\\)\\+", u"aa"), "[aa]");
}

TEST(RegexMatchTest, MatchStartAndEnd) {
  EXPECT_EQ(Found(u"foo\\zsbar", u"xfoobar"), "[bar]@4");
  EXPECT_EQ(Found(u"foo\\zebar", u"xfoobar"), "[foo]@1");
  EXPECT_EQ(Found(u"a\\zsb\\zec", u"abc"), "[b]@1");
  // \ze on a path that later backtracks past it does not count.
  EXPECT_EQ(Found(u"a\\zeb\\|ac", u"ac"), "[ac]@0");
}

TEST(RegexMatchTest, LineBreaksAndMultiLineMatches) {
  EXPECT_EQ(SearchAt(u"\\n", u"ab\ncd\nef", From(0, 0)), "0:2-1:0");
  EXPECT_EQ(SearchAt(u"\\n", u"ab\ncd\nef", From(1, 0)), "1:2-2:0");
  EXPECT_EQ(SearchAt(u"\\n", u"ab\ncd\nef", From(2, 0)), "none");
  EXPECT_EQ(SearchAt(u"\\_s", u"a\nb", From(0, 0)), "0:1-1:0");
  EXPECT_EQ(SearchAt(u"b\\_.*d", u"ab\nc\nde", From(0, 0)), "0:1-2:1");
  EXPECT_EQ(SearchAt(u"b\\n\\nd", u"ab\n\nde", From(0, 0)), "0:1-2:1");
  EXPECT_EQ(SearchAt(u"x\\_[^a]", u"x\nb", From(0, 0, true)), "0:0-1:0");
  EXPECT_EQ(SearchAt(u"x[^a]", u"x\nb", From(0, 0)), "none");
  EXPECT_EQ(SearchAt(u"x[b\\n]", u"x\nb", From(0, 0, true)), "0:0-1:0");
  EXPECT_EQ(SearchAt(u"x\\_$\\_^y", u"x\ny", From(0, 0)), "none");
  EXPECT_EQ(SearchAt(u"x\\_$\\n\\_^y", u"x\ny", From(0, 0, true)), "0:0-1:1");
  // `$` finds the end of each line, one after the other.
  EXPECT_EQ(SearchAt(u"$", u"ab\ncd", From(0, 0)), "0:2-0:2");
  EXPECT_EQ(SearchAt(u"$", u"ab\ncd", From(0, 2)), "1:2-1:2");
}

TEST(RegexMatchTest, SetsAndClasses) {
  EXPECT_EQ(Found(u"[a-z]", u"Q", true), "[Q]@0");
  EXPECT_EQ(Found(u"[a-z]", u"Q", false), "none");
  EXPECT_EQ(Found(u"[Q]", u"q", true), "[q]@0");
  EXPECT_EQ(Found(u"[^a]", u"a"), "none");
  // Bounds and subjects at or above 128 compare as code 0.
  EXPECT_EQ(Found(u"[\u00e0-\u00fc]", u"abc\u4e00"), "[?]@3");
  EXPECT_EQ(Found(u"[\u00e0-\u00fc]", u"abc"), "none");
  EXPECT_EQ(Found(u"[\u00e0-\u00fc]", std::u16string(1, u'\0')),
            "[" + std::string(1, '\0') + "]@0");
  EXPECT_EQ(Found(u"[[:cntrl:]]", u"ab\u00e9"), "[?]@2");
  EXPECT_EQ(Found(u"[\u00e9]", u"e\u00e9"), "[?]@1");  // listed characters compare exactly
  EXPECT_EQ(Found(u"\\w\\+", u"..ab_9\u00e9"), "[ab_9]@2");
  EXPECT_EQ(Found(u"\\W", u"ab\u00e9"), "[?]@2");
  EXPECT_EQ(Found(u"\\i\\+", u"x\u00e9"), "[x]@0");
  EXPECT_EQ(Found(u"\\f\\+", u" a/b.c\\d "), "[a/b.c\\d]@1");
  EXPECT_EQ(Found(u"\\P\\+", u"12ab3"), "[ab]@2");
  EXPECT_EQ(Found(u"\\x\\+", u"xyz0fA9g"), "[0fA9]@3");
  EXPECT_EQ(Found(u"\\o\\+", u"98017"), "[017]@2");
  EXPECT_EQ(Found(u"\\u\\l", u"aBcD"), "[Bc]@1");
  EXPECT_EQ(Found(u"\\s\\S", u"a\t b"), "[ b]@2");
  EXPECT_EQ(Found(u"[[:upper:]][[:lower:]]", u"aBc"), "[Bc]@1");
  EXPECT_EQ(Found(u"\\d", u"\u0661 1"), "[1]@2");  // only ASCII digits
}

TEST(RegexMatchTest, WordBoundaries) {
  EXPECT_EQ(Found(u"\\<a", u"abc"), "[a]@0");
  EXPECT_EQ(Found(u"9\\>", u"ab9"), "[9]@2");
  EXPECT_EQ(Found(u"\\<b", u"ab b"), "[b]@3");
  EXPECT_EQ(Found(u"b\\>", u"ab_ b"), "[b]@4");
  EXPECT_EQ(Found(u"\\<\u00e9", u"x\u00e9 \u00e9"), "[?]@3");  // letters by the wide test
  EXPECT_EQ(Found(u"\\<", u"  "), "none");
}

TEST(RegexMatchTest, BackReferences) {
  EXPECT_EQ(Found(u"\\(a\\+\\)b\\1", u"aabaa"), "[aabaa]@0");
  EXPECT_EQ(Found(u"\\(a\\+\\)b\\1", u"aaba"), "[aba]@1");
  EXPECT_EQ(Found(u"\\(ab\\)\\1", u"abAB", true), "[abAB]@0");
  EXPECT_EQ(Found(u"\\(ab\\)\\1", u"abAB", false), "none");
  EXPECT_EQ(Found(u"\\1\\(a\\)", u"aa"), "none");     // not opened yet
  EXPECT_EQ(Found(u"\\(a\\1\\)", u"aa"), "none");     // not closed yet
  EXPECT_EQ(Found(u"\\(b\\)\\=a\\1", u"a"), "none");  // group did not take part
  EXPECT_EQ(Found(u"\\(\\)a\\1", u"a"), "[a]@0");     // empty group matches empty
  EXPECT_EQ(SearchAt(u"\\(a\\nb\\)\\1", u"a\nba\nb", From(0, 0, true)), "0:0-2:1");
}

TEST(RegexMatchTest, AndConcatenationNeedsEveryBranchAtTheSameStart) {
  EXPECT_EQ(Found(u".*a\\&.*b", u"xab"), "[xab]@0");
  EXPECT_EQ(Found(u".*a\\&.*b", u"xb"), "none");
  EXPECT_EQ(Found(u"foobar\\&foo", u"xfoobar"), "[foo]@1");
  EXPECT_EQ(Found(u"\\(foo\\)\\&f\\1", u"foo"), "none");
  EXPECT_EQ(Found(u"\\(fo\\)\\&\\1o", u"foo"), "[foo]@0");
}

TEST(RegexMatchTest, IgnoreCaseComparesUpperCaseForms) {
  EXPECT_EQ(Found(u"abc", u"xABC", true), "[ABC]@1");
  EXPECT_EQ(Found(u"ABC", u"xabc", true), "[abc]@1");
  EXPECT_EQ(Found(u"\u00e9t\u00e9", u"\u00c9T\u00c9", true), "[?T?]@0");
  EXPECT_EQ(Found(u"abc", u"xABC", false), "none");
}

TEST(RegexMatchTest, ExponentialBacktrackingIsBoundedAndReported) {
  std::u16string text(60, u'a');
  // Back-references rule out the record of explored pairs: the step budget stops it.
  EXPECT_EQ(Found(u"\\(a\\|aa\\)*\\1c", text), "too complex");
  EXPECT_EQ(kPatternTooComplexMessage, "Pattern too complex");
  // Without them every (instruction, position) pair is explored once: no bound needed.
  std::u16string line(5000, u'a');
  EXPECT_EQ(Found(u"^\\(a\\|aa\\)*$", line + u"c"), "none");
  EXPECT_EQ(Found(u"\\(a*\\)*b", line), "none");
  EXPECT_EQ(Found(u"\\(a\\|aa\\)*$", line), "[" + std::string(5000, 'a') + "]@0");
}

TEST(RegexMatchTest, MatchAtAnExactPosition) {
  Pattern p = Compile(u"b\\+");
  StringLineSource lines = StringLineSource::FromText(u"abba\nb");
  MatchCache cache;
  MatchResult m;
  EXPECT_EQ(Describe(MatchAt(p, lines, {0, 0}, cache, &m), m), "none");
  EXPECT_EQ(Describe(MatchAt(p, lines, {0, 1}, cache, &m), m), "0:1-0:3");
  EXPECT_EQ(Describe(MatchAt(p, lines, {0, 2}, cache, &m), m), "0:2-0:3");
  EXPECT_EQ(Describe(MatchAt(p, lines, {1, 0}, cache, &m), m), "1:0-1:1");
  EXPECT_EQ(Describe(MatchAt(p, lines, {9, 0}, cache, &m), m), "none");
  EXPECT_EQ(Describe(MatchAt(Pattern(), lines, {0, 1}, cache, &m), m), "none");
}

}  // namespace
}  // namespace tavik::testing
