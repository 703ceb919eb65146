// Search requests: offsets, ";" chains and their failures, chained and plain runs over lines in
// memory.
#include <gtest/gtest.h>

#include <string>

#include "engine/search/search_request.h"

namespace tavik {
namespace {

ParsedSearch Parse(std::u16string_view text, bool backward = false) {
  SearchParseArgs args;
  args.backward = backward;
  return ParseSearchRequest(text, args);
}

TEST(SearchRequestParse, OffsetsAndTheirDefaults) {
  struct Case {
    std::u16string_view text;
    SearchOffsetKind kind;
    int32_t count;
  };
  const Case cases[] = {
      {u"foo", SearchOffsetKind::kNone, 0},      {u"foo/", SearchOffsetKind::kNone, 0},
      {u"foo/+", SearchOffsetKind::kLine, 1},    {u"foo/-", SearchOffsetKind::kLine, -1},
      {u"foo/3", SearchOffsetKind::kLine, 3},    {u"foo/-0", SearchOffsetKind::kLine, 0},
      {u"foo/e", SearchOffsetKind::kEnd, 0},     {u"foo/e-", SearchOffsetKind::kEnd, -1},
      {u"foo/s+2", SearchOffsetKind::kStart, 2}, {u"foo/b-3", SearchOffsetKind::kStart, -3},
      {u"foo/x", SearchOffsetKind::kNone, 0},
  };
  for (const Case& c : cases) {
    ParsedSearch parsed = Parse(c.text);
    std::string name(c.text.begin(), c.text.end());
    ASSERT_TRUE(parsed.request.valid) << name;
    ASSERT_EQ(parsed.request.items.size(), 1u) << name;
    EXPECT_EQ(parsed.request.items[0].source, u"foo") << name;
    EXPECT_EQ(parsed.request.items[0].offset_kind, c.kind) << name;
    EXPECT_EQ(parsed.request.items[0].offset_count, c.count) << name;
    EXPECT_EQ(parsed.pattern_end, 3u) << name;
  }
  // The offset ends the request; what follows is left to the caller.
  EXPECT_EQ(Parse(u"foo/e+1d").end, 7u);
  // A "?" line ends its pattern at "?", not at "/".
  ParsedSearch back = Parse(u"a/b?e", true);
  ASSERT_EQ(back.request.items.size(), 1u);
  EXPECT_EQ(back.request.items[0].source, u"a/b");
  EXPECT_TRUE(back.request.items[0].backward);
  EXPECT_EQ(back.request.items[0].offset_kind, SearchOffsetKind::kEnd);
}

TEST(SearchRequestParse, ChainsEmptyPatternsAndFailures) {
  ParsedSearch chain = Parse(u"foo/e;?bar?+1;//");
  ASSERT_TRUE(chain.request.valid);
  ASSERT_EQ(chain.request.items.size(), 3u);
  EXPECT_FALSE(chain.request.items[0].backward);
  EXPECT_TRUE(chain.request.items[1].backward);
  EXPECT_EQ(chain.request.items[1].source, u"bar");
  EXPECT_EQ(chain.request.items[1].offset_kind, SearchOffsetKind::kLine);
  // An empty pattern later in a chain repeats the one before it.
  EXPECT_EQ(chain.request.items[2].source, u"bar");
  EXPECT_TRUE(chain.request.items[2].pattern.valid());

  ParsedSearch empty = Parse(u"");
  EXPECT_TRUE(empty.request.valid);
  EXPECT_TRUE(empty.request.items.empty());
  EXPECT_TRUE(empty.request.starts_empty);
  EXPECT_TRUE(Parse(u"/e").request.items.empty());  // "//e": offsets after nothing are dropped

  EXPECT_FALSE(Parse(u"foo/;x").request.valid);
  EXPECT_FALSE(Parse(u"foo/;").request.valid);
  EXPECT_FALSE(Parse(u"a\\(b").request.valid);
  EXPECT_FALSE(Parse(u"\\(/").request.valid);
  EXPECT_FALSE(Parse(u"ok/;/[x").request.valid);
}

TEST(SearchRequestParse, SourceIsCutAt511Characters) {
  std::u16string text(600, u'a');
  ParsedSearch parsed = Parse(text);
  ASSERT_EQ(parsed.request.items.size(), 1u);
  EXPECT_EQ(parsed.request.items[0].source.size(), kSearchSourceCapacity);
}

class SearchRunTest : public ::testing::Test {
 protected:
  SearchOutcome Run(std::u16string_view request_text, TextPos start, bool backward = false,
                    bool wrapscan = true) {
    SearchParseArgs parse;
    parse.backward = backward;
    request_ = ParseSearchRequest(request_text, parse).request;
    SearchRunArgs args;
    args.wrapscan = wrapscan;
    return SearchChained(source_, start, request_, args, cache_);
  }
  StringLineSource source_ = StringLineSource::FromText(u"one foo\nfoo bar\n\nbar foo end");
  SearchRequest request_;
  MatchCache cache_;
};

TEST_F(SearchRunTest, OffsetsLandWhereTheyPoint) {
  SearchOutcome plain = Run(u"foo", {0, 0});
  ASSERT_TRUE(plain.found());
  EXPECT_EQ(plain.pos, (TextPos{0, 4}));
  EXPECT_FALSE(plain.end_offset);

  SearchOutcome end = Run(u"foo/e", {0, 0});
  EXPECT_EQ(end.pos, (TextPos{0, 6}));
  EXPECT_TRUE(end.end_offset);
  // Repeating from where it landed takes the offset back first and finds the next match.
  EXPECT_EQ(Run(u"foo/e", end.pos).pos, (TextPos{1, 2}));
  EXPECT_EQ(Run(u"foo/e-1", {0, 5}).pos, (TextPos{1, 1}));

  EXPECT_EQ(Run(u"foo/+2", {0, 0}).pos, (TextPos{2, 0}));
  EXPECT_EQ(Run(u"foo/-9", {0, 0}).pos, (TextPos{0, 0}));   // clamped to the first line
  EXPECT_EQ(Run(u"foo/+9", {0, 0}).pos, (TextPos{3, 0}));   // and to the last
  EXPECT_EQ(Run(u"bar/s+5", {0, 0}).pos, (TextPos{3, 0}));  // a line break counts as one
  EXPECT_EQ(Run(u"foo/b-1", {0, 0}).pos, (TextPos{0, 3}));
}

TEST_F(SearchRunTest, ChainsWrapAndStop) {
  SearchOutcome chained = Run(u"foo/;/bar", {0, 0});
  ASSERT_TRUE(chained.found());
  EXPECT_EQ(chained.pos, (TextPos{1, 4}));
  EXPECT_EQ(chained.match_start, (TextPos{1, 4}));
  EXPECT_EQ(chained.match_end, (TextPos{1, 7}));
  EXPECT_EQ(Run(u"end/;?foo", {0, 0}).pos, (TextPos{3, 4}));
  EXPECT_FALSE(Run(u"foo/;/zzz", {0, 0}).found());

  EXPECT_EQ(Run(u"one", {2, 0}).pos, (TextPos{0, 0}));  // wraps to the top
  EXPECT_FALSE(Run(u"one", {2, 0}, false, false).found());
  EXPECT_EQ(Run(u"end", {0, 0}, true).pos, (TextPos{3, 8}));  // backward wraps to the bottom
  EXPECT_FALSE(Run(u"[", {0, 0}).found());                    // invalid requests find nothing

  SearchRunArgs reversed;
  reversed.reverse_first = true;
  Run(u"foo", {0, 0});
  EXPECT_EQ(SearchChained(source_, {1, 0}, request_, reversed, cache_).pos, (TextPos{0, 4}));
  // Plain mode uses only the last item, from the start.
  Run(u"zzz/;/bar", {0, 0});
  EXPECT_EQ(SearchPlain(source_, {0, 0}, request_, {}, cache_).pos, (TextPos{1, 4}));
}

}  // namespace
}  // namespace tavik
