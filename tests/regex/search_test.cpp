// Search: scan order, wrapscan, stop positions, accept-at-start against \zs, backward scans,
// the prefilters (first characters, required literals, both case rules) and line sources
// whose line text is only valid until the next read.
#include <gtest/gtest.h>

#include <random>
#include <span>
#include <string>
#include <vector>

#include "regex_test_util.h"

namespace tavik::testing {
namespace {

TEST(RegexSearchTest, ForwardSearchSkipsTheStartUnlessAccepted) {
  EXPECT_EQ(SearchAt(u"foo", u"foo foo", From(0, 0)), "0:4-0:7");
  EXPECT_EQ(SearchAt(u"foo", u"foo foo", From(0, 0, true)), "0:0-0:3");
  EXPECT_EQ(SearchAt(u"", u"ab", From(0, 0)), "0:1-0:1");
  EXPECT_EQ(SearchAt(u"", u"ab", From(0, 2)), "none");
  EXPECT_EQ(SearchAt(u"", u"ab", From(0, 2, false, true)), "0:0-0:0");
}

TEST(RegexSearchTest, MatchStartMovedByZsDecidesAcceptance) {
  // The match found from 'f' starts at 'b'; searching from 'b' itself must not return it.
  EXPECT_EQ(SearchAt(u"foo\\zsbar", u"xfoobar", From(0, 0)), "0:4-0:7");
  EXPECT_EQ(SearchAt(u"foo\\zsbar", u"xfoobar", From(0, 4)), "none");
  EXPECT_EQ(SearchAt(u"foo\\zsbar", u"xfoobar", From(0, 4, false, true)), "none");
  EXPECT_EQ(SearchAt(u"foo\\zsbar", u"xfoobar", From(0, 4, true)), "none");  // tries from 4 on
  EXPECT_EQ(SearchAt(u"foo\\zsbar", u"xfoobar", From(0, 4, true, true)), "0:4-0:7");
  EXPECT_EQ(SearchAt(u"foo\\zsbar", u"xfoobar foobar", From(0, 4)), "0:11-0:14");
}

TEST(RegexSearchTest, WrapscanAndTheEndOfTheBuffer) {
  const std::u16string text = u"foo\nbar\nfoo";
  EXPECT_EQ(SearchAt(u"foo", text, From(2, 1)), "none");
  EXPECT_EQ(SearchAt(u"foo", text, From(2, 1, false, true)), "0:0-0:3");
  // Wrapping stops when the scan comes back to the start.
  EXPECT_EQ(SearchAt(u"bar", text, From(1, 0, false, true)), "none");
  EXPECT_EQ(SearchAt(u"bar", text, From(1, 1, false, true)), "1:0-1:3");
  // A start past the buffer is clamped to its end.
  EXPECT_EQ(SearchAt(u"foo", text, From(9, 9, false, true)), "0:0-0:3");
}

TEST(RegexSearchTest, BackwardSearch) {
  SearchArgs back = From(0, 6);
  back.backward = true;
  EXPECT_EQ(SearchAt(u"a", u"a a a", back), "0:4-0:5");
  back.start = {0, 4};
  EXPECT_EQ(SearchAt(u"a", u"a a a", back), "0:2-0:3");
  back.start = {0, 0};
  EXPECT_EQ(SearchAt(u"a", u"a a a", back), "none");
  back.wrapscan = true;
  EXPECT_EQ(SearchAt(u"a", u"a a a", back), "0:4-0:5");
  // Line ends are positions too: from column 0 the previous one is the end of the line above.
  SearchArgs up = From(1, 0);
  up.backward = true;
  EXPECT_EQ(SearchAt(u"$", u"ab\ncd", up), "0:2-0:2");
  EXPECT_EQ(SearchAt(u"b\\nc", u"ab\ncd", up), "0:1-1:1");
  // Each attempt still matches forward from its position.
  SearchArgs end = From(0, 5);
  end.backward = true;
  EXPECT_EQ(SearchAt(u"a\\+", u"aaaaa", end), "0:4-0:5");
}

TEST(RegexSearchTest, StopPositionEndsTheScanWithoutWrapscan) {
  SearchArgs args = From(0, 0);
  args.stop = TextPos{0, 2};
  EXPECT_EQ(SearchAt(u"x", u"abcx", args), "none");
  args.stop = TextPos{0, 3};  // the stop itself is tried
  EXPECT_EQ(SearchAt(u"x", u"abcx", args), "0:3-0:4");
  args.stop = TextPos{0, 2};
  EXPECT_EQ(SearchAt(u"cx", u"abcx", args), "0:2-0:4");  // a match may run past the stop
  args.wrapscan = true;                                  // wrapscan ignores the stop
  EXPECT_EQ(SearchAt(u"x", u"abcx", args), "0:3-0:4");
  SearchArgs back = From(1, 2);
  back.backward = true;
  back.stop = TextPos{1, 0};
  EXPECT_EQ(SearchAt(u"a", u"a\nbb", back), "none");
  back.stop = TextPos{0, 1};
  EXPECT_EQ(SearchAt(u"a", u"a\nbb", back), "none");
  back.stop = TextPos{0, 0};
  EXPECT_EQ(SearchAt(u"a", u"a\nbb", back), "0:0-0:1");
}

TEST(RegexSearchTest, PrefiltersNeverHideAMatch) {
  // Literal prefix and required literal, both case rules, with non-ASCII case pairs.
  EXPECT_EQ(Found(u"needle", u"hay NEEDLE needle", false), "[needle]@11");
  EXPECT_EQ(Found(u"needle", u"hay NEEDLE needle", true), "[NEEDLE]@4");
  EXPECT_EQ(Found(u"\u00ff", u"a\u0178", true), "[?]@1");
  EXPECT_EQ(Found(u"x\u00e9y", u"X\u00c9Y", true), "[X?Y]@0");
  EXPECT_EQ(Found(u"\\w\\+zz\\d", u"abc azz1", false), "[azz1]@4");
  EXPECT_EQ(Found(u"\\w\\+ZZ\\d", u"abc azz1", true), "[azz1]@4");
  EXPECT_EQ(Found(u"\\w\\+zz\\d", u"abczz zz1", false), "none");
  // A literal right before the end of the line is required there, and only there.
  EXPECT_EQ(Found(u"b7$", u"ab7 b7"), "[b7]@4");
  EXPECT_EQ(Found(u"b7$", u"b7 x"), "none");
  EXPECT_EQ(Found(u"\\(B7\\)$", u"xb7", true), "[b7]@1");
  EXPECT_EQ(Found(u"s$", u"a\u017f", true), "[?]@1");
  EXPECT_EQ(Found(u"a$\\|b", u"ab a"), "[b]@1");
  EXPECT_EQ(Found(u"b7x*$", u"ab7xx"), "[b7xx]@1");
  // Patterns that can begin with nothing or with a zero-width item.
  EXPECT_EQ(Found(u"\\<b", u"ab b"), "[b]@3");
  EXPECT_EQ(Found(u"\\zsb", u"ab"), "[b]@1");
  EXPECT_EQ(Found(u"x*$", u"abxx"), "[xx]@2");
  EXPECT_EQ(Found(u"^b\\|c", u"abc"), "[c]@2");
  EXPECT_EQ(Found(u"\\(^\\|x\\)b", u"axb"), "[xb]@1");
  EXPECT_EQ(SearchAt(u"\\n\\_^b", u"a\nb", From(0, 0)), "0:1-1:1");
  EXPECT_EQ(SearchAt(u"\\_s\\+b", u"a \n b", From(0, 0)), "0:1-1:2");
}

// Like a TextView: every read replaces the text the previous view pointed to.
class OneLineCacheSource : public LineSource {
 public:
  explicit OneLineCacheSource(std::u16string_view text)
      : lines_(StringLineSource::FromText(text)) {}
  uint32_t LineCount() const override { return lines_.LineCount(); }
  std::u16string_view LineText(uint32_t line) const override {
    cache_.assign(u"################");  // clobber what the last view showed
    cache_.assign(lines_.LineText(line));
    return cache_;
  }

 private:
  StringLineSource lines_;
  mutable std::u16string cache_;
};

TEST(RegexSearchTest, LineSourcesWithOneLineCache) {
  OneLineCacheSource source(u"xab\ncab\nab\ncd");
  Pattern p = Compile(u"\\(a\\_.\\{-}\\)\\n\\_.\\{-}\\1");
  MatchCache cache;
  MatchResult m;
  MatchStatus s = Search(p, source, From(0, 0, true), cache, &m);
  EXPECT_EQ(Describe(s, m), "0:1-1:3");
  ASSERT_EQ(m.captures.size(), 1u);
  EXPECT_EQ(Describe(m.captures[0].start) + "-" + Describe(m.captures[0].end), "0:1-0:3");
  p = Compile(u"b\\n\\w\\+\\n\\w\\+\\n\\zsc");
  EXPECT_EQ(Describe(Search(p, source, From(0, 0), cache, &m), m), "3:0-3:1");
}

TEST(RegexSearchTest, EveryMatchOfALineWithOneCache) {
  // The way highlighting walks a line: continue at the match end, one further when empty.
  Pattern p = Compile(u"x*");
  StringLineSource lines = StringLineSource::FromText(u"axxb");
  MatchCache cache;
  std::string all;
  SearchArgs args = From(0, 0, true);
  for (int guard = 0; guard < 10; ++guard) {
    MatchResult m;
    args.stop = TextPos{0, 4};
    if (Search(p, lines, args, cache, &m) != MatchStatus::kMatch) break;
    all += Describe(m.start) + "-" + Describe(m.end) + " ";
    if (m.end.column >= 4) break;
    args.start = m.end == m.start ? TextPos{0, m.end.column + 1} : m.end;
  }
  EXPECT_EQ(all, "0:0-0:0 0:1-0:3 0:3-0:3 0:4-0:4 ");
}

// Lines offered one byte per unit too, as a host that stores Latin-1 lines so offers them: kept
// one after another in one string (where a literal may straddle two lines), except lines with a
// unit above 255, which only LineText gives and at which every batch stops.
class NarrowLineSource : public LineSource {
 public:
  explicit NarrowLineSource(std::u16string_view text) : wide_(StringLineSource::FromText(text)) {
    for (uint32_t i = 0; i < wide_.LineCount(); ++i) {
      starts_.push_back(bytes_.size());
      char16_t all = 0;
      for (char16_t c : wide_.LineText(i)) {
        bytes_ += static_cast<char>(c);
        all |= c;
      }
      fits_.push_back(all < 256);
    }
    starts_.push_back(bytes_.size());
  }
  uint32_t LineCount() const override { return wide_.LineCount(); }
  std::u16string_view LineText(uint32_t line) const override { return wide_.LineText(line); }
  uint32_t NarrowLines(uint32_t first, std::span<std::string_view> out) const override {
    uint32_t n = 0;
    for (uint32_t line = first; line < LineCount() && n < out.size() && fits_[line]; ++line) {
      out[n++] = std::string_view(bytes_).substr(starts_[line], starts_[line + 1] - starts_[line]);
    }
    return n;
  }

 private:
  StringLineSource wide_;
  std::string bytes_;
  std::vector<size_t> starts_;
  std::vector<bool> fits_;
};

TEST(RegexSearchTest, NarrowLinesFindWhatTheirUtf16FormFinds) {
  std::mt19937 rng(23);
  const char16_t units[] = u"abzAB \u00e9\u00c9\u0100";
  const std::u16string_view patterns[] = {
      u"ab", u"zab",   u"b$",     u"^ab",     u"\u00e9b",      u"\u0100a",  u"\\<ab",
      u"b",  u"a\\nb", u"z\\|ab", u"a\\_s*b", u"\u00c9\u00c9", u"a\\n\\zsb"};
  for (int round = 0; round < 40; ++round) {
    // Many short lines, so that literals often straddle two and batches of every size run.
    std::u16string text;
    const size_t lines = 1 + rng() % 700;
    for (size_t l = 0; l < lines; ++l) {
      if (l > 0) text += u'\n';
      const bool rare = rng() % 50 == 0;
      for (size_t n = rng() % 5; n > 0; --n) text += units[rng() % (rare ? 9 : 8)];
    }
    const StringLineSource wide = StringLineSource::FromText(text);
    const NarrowLineSource narrow(text);
    for (std::u16string_view source : patterns) {
      const Pattern p = Compile(source, round % 3 == 0);
      for (int start = 0; start < 6; ++start) {
        SearchArgs args = From(rng() % lines, rng() % 3, rng() % 2 == 0, rng() % 2 == 0);
        args.backward = rng() % 2 == 0;
        MatchCache cache;
        MatchResult a;
        MatchResult b;
        const std::string expected = Describe(Search(p, wide, args, cache, &a), a);
        ASSERT_EQ(Describe(Search(p, narrow, args, cache, &b), b), expected)
            << "round " << round << " pattern " << Utf8(source);
      }
      // Every line with a match in one scan, as searches from each next line find them.
      std::vector<uint32_t> expected_lines;
      MatchCache cache;
      for (uint32_t line = 0; line < lines;) {
        MatchResult m;
        if (Search(p, wide, From(line, 0, true), cache, &m) != MatchStatus::kMatch) break;
        expected_lines.push_back(m.start.line);
        line = m.start.line + 1;
      }
      std::vector<uint32_t> found;
      SearchLines(p, narrow, 0, uint32_t(lines - 1), cache, &found);
      ASSERT_EQ(found, expected_lines) << "round " << round << " pattern " << Utf8(source);
    }
  }
}

TEST(RegexSearchTest, TooComplexEndsTheSearch) {
  Pattern p = Compile(u"\\(a\\|aa\\)*\\1c");
  StringLineSource lines(std::vector<std::u16string>{std::u16string(40, u'a'), u"c"});
  MatchCache cache;
  cache.limits.step_budget = 10000;
  MatchResult m;
  EXPECT_EQ(Search(p, lines, From(0, 0, true, true), cache, &m), MatchStatus::kTooComplex);
  // The same cache serves the next search normally.
  EXPECT_EQ(Search(Compile(u"c"), lines, From(0, 0), cache, &m), MatchStatus::kMatch);
}

}  // namespace
}  // namespace tavik::testing
