// The search highlights stay current although the engine skips finding them again after keys
// that changed nothing they depend on: edits (typed, undone, redone, from another view),
// scrolling, option changes, ":nohlsearch" and new searches all show at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/batch_session.h"
#include "platform/editor_host.h"
#include "platform/markers.h"

namespace tavik {
namespace {

using platform::HighlightKind;
using Span = platform::HighlightSpan;

class HighlightRefreshTest : public ::testing::Test {
 protected:
  void Open(const std::string& text) {
    session_.OpenText("t.txt", text);
    session_.FocusFirstDocument();
  }
  std::vector<Span> Matches() {
    return session_.Editor().FocusedView()->Buffer().Markers().Of(HighlightKind::kSearch);
  }
  app::BatchSession session_;
};

TEST_F(HighlightRefreshTest, EditsInTheShownLinesShowAtOnce) {
  Open("foo\nbar fxoo\nbaz\n");
  session_.FeedNotation(":set hls<CR>/foo<CR>gg");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 0}, {0, 3}}}));
  session_.FeedNotation("j");  // nothing changed: the same matches
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 0}, {0, 3}}}));
  // Deleting a character makes a match; undo and redo take it away and back.
  session_.FeedNotation("$hhx");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 0}, {0, 3}}, {{1, 4}, {1, 7}}}));
  session_.FeedNotation("u");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 0}, {0, 3}}}));
  session_.FeedNotation("<C-R>");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 0}, {0, 3}}, {{1, 4}, {1, 7}}}));
  // An edit that breaks a match, a copied line and lines joined into a new match.
  session_.FeedNotation("ggx");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{1, 4}, {1, 7}}}));
  session_.FeedNotation("jyyp");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{1, 4}, {1, 7}}, {{2, 4}, {2, 7}}}));
  session_.FeedNotation("ggJ");
  EXPECT_EQ(session_.Editor().FocusedView()->Buffer().Line(0), u"oo bar foo");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 7}, {0, 10}}, {{1, 4}, {1, 7}}}));
  // Text typed in insert mode counts once the mode is left.
  session_.FeedNotation("3Gcwfoo<Esc>");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 7}, {0, 10}}, {{1, 4}, {1, 7}}, {{2, 0}, {2, 3}}}));
}

TEST_F(HighlightRefreshTest, OptionsNohAndNewSearches) {
  Open("foo bar\nbar foo\n");
  session_.FeedNotation(":set hls<CR>/foo<CR>");
  const std::vector<Span> foo = {{{0, 0}, {0, 3}}, {{1, 4}, {1, 7}}};
  EXPECT_EQ(Matches(), foo);
  session_.FeedNotation(":set nohls<CR>");
  EXPECT_TRUE(Matches().empty());
  session_.FeedNotation("j:set hls<CR>");
  EXPECT_EQ(Matches(), foo);
  session_.FeedNotation(":noh<CR>");
  EXPECT_TRUE(Matches().empty());
  session_.FeedNotation("k");
  EXPECT_TRUE(Matches().empty());
  session_.FeedNotation("n");  // repeating the search shows its matches again
  EXPECT_EQ(Matches(), foo);
  session_.FeedNotation("/bar<CR>");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 4}, {0, 7}}, {{1, 0}, {1, 3}}}));
  // The same pattern searched again after an edit removed its matches and another put one back.
  session_.FeedNotation(":%s/bar/x/<CR>");
  EXPECT_TRUE(Matches().empty());
  session_.FeedNotation("ggibar<Esc>/bar<CR>");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 0}, {0, 3}}}));
}

TEST_F(HighlightRefreshTest, ScrollingAndEditsFarDown) {
  std::string text = "foo\n";
  for (int i = 0; i < 200000; ++i) text += "bar\n";
  Open(text);
  session_.FeedNotation(":set hls<CR>/foo<CR>");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 0}, {0, 3}}}));
  session_.FeedNotation("150000G");
  EXPECT_TRUE(Matches().empty());
  session_.FeedNotation("cwfoo<Esc>");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{149999, 0}, {149999, 3}}}));
  // Lines scrolled into view are searched: a match put far below shows when it is reached.
  session_.FeedNotation("180000Gcwfoo<Esc>150000G");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{149999, 0}, {149999, 3}}}));
  session_.FeedNotation("180000G");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{179999, 0}, {179999, 3}}}));
  session_.FeedNotation("gg");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 0}, {0, 3}}}));
}

TEST_F(HighlightRefreshTest, TwoViewsOfOneBufferAndAnotherDocument) {
  std::string text = "foo\n";
  for (int i = 0; i < 100000; ++i) text += "bar\n";
  text += "foo\n";
  Open(text);
  session_.OpenText("u.txt", "x foo\n");
  session_.FocusFirstDocument();
  session_.FeedNotation(":set hls<CR>/foo<CR>gg");
  platform::EditorHost& editor = session_.Editor();
  const std::vector<Span> top = {{{0, 0}, {0, 3}}};
  const std::vector<Span> bottom = {{{100001, 0}, {100001, 3}}};
  EXPECT_EQ(Matches(), top);
  // Both views share the buffer's highlights: each key shows the lines of the view it went to,
  // even a key that changes nothing.
  session_.FeedNotation(":sp<CR>");
  platform::Window* window = editor.ActiveWindow();
  ASSERT_TRUE(window != nullptr && window->IsSplit());
  session_.FeedNotation("G");
  EXPECT_EQ(Matches(), bottom);
  platform::View& lower = *editor.FocusedView();
  platform::View& upper = *window->views[window->views[0].get() == &lower ? 1 : 0];
  editor.Focus(upper);
  session_.FeedNotation("0");
  EXPECT_EQ(Matches(), top);
  editor.Focus(lower);
  session_.FeedNotation("0");
  EXPECT_EQ(Matches(), bottom);
  // Another document's lines are searched when a key comes to its view, and the first
  // document's again when it comes back.
  editor.Focus(*editor.ViewsOf(*editor.Documents()[1]).front());
  session_.FeedNotation("0");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 2}, {0, 5}}}));
  editor.Focus(lower);
  session_.FeedNotation("kyyp");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{100001, 0}, {100001, 3}}, {{100002, 0}, {100002, 3}}}));
}

TEST_F(HighlightRefreshTest, DocumentsOfTheSameLengthAreTold) {
  Open("foo\nbar\n");
  session_.OpenText("u.txt", "bar\nfoo\n");
  session_.FocusFirstDocument();
  session_.FeedNotation(":set hls<CR>/foo<CR>gg");
  platform::EditorHost& editor = session_.Editor();
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 0}, {0, 3}}}));
  editor.Focus(*editor.ViewsOf(*editor.Documents()[1]).front());
  session_.FeedNotation("gg");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{1, 0}, {1, 3}}}));
}

TEST_F(HighlightRefreshTest, MatchesAtLineEndsAndOnTheLastLine) {
  Open("a foo\nbar foo\nbar\nfoo");
  session_.FeedNotation(":set hls<CR>/foo$<CR>");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 2}, {0, 5}}, {{1, 4}, {1, 7}}, {{3, 0}, {3, 3}}}));
  session_.FeedNotation("Gx");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{0, 2}, {0, 5}}, {{1, 4}, {1, 7}}}));
  session_.FeedNotation("ggA!<Esc>");
  EXPECT_EQ(Matches(), (std::vector<Span>{{{1, 4}, {1, 7}}}));
}

}  // namespace
}  // namespace tavik
