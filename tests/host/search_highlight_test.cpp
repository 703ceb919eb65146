// The search highlight markers a batch session leaves on the buffer: matches, ":nohlsearch",
// the incremental match while a search is typed, and large buffers marked only near the view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/batch_session.h"
#include "platform/editor_host.h"
#include "platform/markers.h"

namespace tavik {
namespace {

// Highlight markers as the in-process host keeps them.
class SearchHighlightTest : public ::testing::Test {
 protected:
  void Open(const std::string& text) {
    session_.OpenText("t.txt", text);
    session_.FocusFirstDocument();
  }
  const std::vector<platform::HighlightSpan>& Spans(platform::HighlightKind kind) {
    return session_.Editor().FocusedView()->Buffer().Markers().Of(kind);
  }
  app::BatchSession session_;
};

TEST_F(SearchHighlightTest, MatchesNohAndTheNextSearch) {
  Open("foo x foo\nbar\nfoofoo\n");
  session_.FeedNotation(":set hls<CR>/foo<CR>");
  using platform::HighlightKind;
  using Span = platform::HighlightSpan;
  // Adjacent matches on one line merge into one span.
  EXPECT_EQ(Spans(HighlightKind::kSearch),
            (std::vector<Span>{{{0, 0}, {0, 3}}, {{0, 6}, {0, 9}}, {{2, 0}, {2, 6}}}));
  session_.FeedNotation(":noh<CR>");
  EXPECT_TRUE(Spans(HighlightKind::kSearch).empty());
  session_.FeedNotation(":set<CR>");
  EXPECT_NE(session_.StatusUtf8().find(" nohlsearch "), std::string::npos) << session_.StatusUtf8();
  session_.FeedNotation("/bar<CR>");
  EXPECT_EQ(Spans(HighlightKind::kSearch), (std::vector<Span>{{{1, 0}, {1, 3}}}));
  session_.FeedNotation(":set nohls<CR>");
  EXPECT_TRUE(Spans(HighlightKind::kSearch).empty());
}

TEST_F(SearchHighlightTest, IncrementalMatchWhileTyping) {
  Open("foo\nab foo\nfoo\n");
  using platform::HighlightKind;
  using Span = platform::HighlightSpan;
  session_.FeedNotation("/fo");
  EXPECT_EQ(Spans(HighlightKind::kIncSearch), (std::vector<Span>{{{1, 3}, {1, 5}}}));
  EXPECT_EQ(session_.Cursor(), (std::pair<uint32_t, uint32_t>{1, 3}));
  session_.FeedNotation("x");  // "fox" matches nothing: the caret goes back
  EXPECT_TRUE(Spans(HighlightKind::kIncSearch).empty());
  EXPECT_EQ(session_.Cursor(), (std::pair<uint32_t, uint32_t>{0, 0}));
  session_.FeedNotation("<BS><CR>");
  EXPECT_TRUE(Spans(HighlightKind::kIncSearch).empty());
  EXPECT_EQ(session_.Cursor(), (std::pair<uint32_t, uint32_t>{1, 3}));
}

TEST_F(SearchHighlightTest, MatchOnlyAtTheCursorShowsNothing) {
  Open("foo\nbar\n");
  session_.FeedNotation("/foo");
  EXPECT_TRUE(Spans(platform::HighlightKind::kIncSearch).empty());
  session_.FeedNotation("<Esc>");
  EXPECT_EQ(session_.Cursor(), (std::pair<uint32_t, uint32_t>{0, 0}));
}

TEST_F(SearchHighlightTest, LargeBufferMarksOnlyLinesNearTheView) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "foo line\n";
  Open(text);
  session_.FeedNotation(":set hls<CR>/foo<CR>");
  const auto& spans = Spans(platform::HighlightKind::kSearch);
  ASSERT_FALSE(spans.empty());
  EXPECT_LT(spans.size(), 1000u);
  EXPECT_EQ(spans.front().start, (TextPos{0, 0}));
  session_.FeedNotation("150000G");
  const auto& moved = Spans(platform::HighlightKind::kSearch);
  ASSERT_FALSE(moved.empty());
  EXPECT_LT(moved.size(), 1000u);
  EXPECT_LE(moved.front().start.line, 149999u);
  EXPECT_GE(moved.back().start.line, 149999u);
}

}  // namespace
}  // namespace tavik
