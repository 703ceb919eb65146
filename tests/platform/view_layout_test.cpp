// Collapsed regions: the view lines they make, mapping both ways, and following edits.
#include "platform/view_layout.h"

#include <gtest/gtest.h>

#include "platform/view.h"

namespace tavik::platform {
namespace {

class ViewLayoutTest : public ::testing::Test {
 protected:
  TextBuffer buffer_{u"zero\none {\ntwo\nthree }\nfour\nfive"};
  ManualClock clock_;
  View view_{buffer_, clock_, 1};
};

TEST_F(ViewLayoutTest, CollapsedRegionFoldsItsLinesIntoOne) {
  ASSERT_NE(view_.Regions().Add({1, 4}, {3, 7}, u"{...}"), 0u);
  const ViewLayout layout = view_.Layout();
  EXPECT_EQ(layout.ViewLineCount(), 4u);
  EXPECT_EQ(layout.ViewLineText(1), u"one \uFFFC");
  EXPECT_EQ(layout.ViewLineText(2), u"four");
  EXPECT_EQ(layout.FirstBufferLine(2), 4u);
  ASSERT_EQ(layout.RegionsOnViewLine(1).size(), 1u);
  EXPECT_EQ(layout.RegionsOnViewLine(1)[0]->placeholder, u"{...}");
}

TEST_F(ViewLayoutTest, MappingBothWays) {
  view_.Regions().Add({1, 4}, {2, 1}, u"A");
  view_.Regions().Add({2, 2}, {3, 2}, u"B");  // chained on the same view line
  const ViewLayout layout = view_.Layout();
  EXPECT_EQ(layout.ViewLineText(1), u"one \uFFFCw\uFFFCree }");
  EXPECT_EQ(layout.BufferToView({1, 2}), (ViewPos{1, 2}));
  EXPECT_EQ(layout.BufferToView({2, 0}), (ViewPos{1, 4}));  // inside: the region's start
  EXPECT_EQ(layout.BufferToView({2, 1}), (ViewPos{1, 5}));
  EXPECT_EQ(layout.BufferToView({3, 3}), (ViewPos{1, 8}));
  EXPECT_EQ(layout.BufferToView({4, 2}), (ViewPos{2, 2}));
  EXPECT_EQ(layout.ViewToBuffer({1, 5}), (TextPos{2, 1}));
  EXPECT_EQ(layout.ViewToBuffer({1, 7}), (TextPos{3, 2}));
  EXPECT_EQ(layout.ViewToBuffer({1, 14}), (TextPos{3, 9}));  // past the end keeps the excess
  EXPECT_EQ(layout.ViewToBuffer({2, 0}), (TextPos{4, 0}));
  for (uint32_t v = 0; v < layout.ViewLineCount(); ++v) {
    const TextPos b = layout.ViewToBuffer({v, 0});
    EXPECT_EQ(layout.BufferToView(b), (ViewPos{v, 0}));
  }
}

TEST_F(ViewLayoutTest, NestedAndExpandedRegions) {
  const uint64_t outer = view_.Regions().Add({1, 0}, {4, 4}, u"outer");
  const uint64_t inner = view_.Regions().Add({2, 0}, {3, 2}, u"inner");
  EXPECT_EQ(view_.Regions().Add({0, 2}, {2, 1}, u"partial"), 0u);
  EXPECT_EQ(view_.Layout().ViewLineCount(), 3u);
  view_.Regions().Toggle(outer);
  EXPECT_EQ(view_.Layout().ViewLineCount(), 5u);
  EXPECT_EQ(view_.Layout().ViewLineText(2), u"\uFFFCree }");
  view_.Regions().ExpandAll();
  EXPECT_EQ(view_.Layout().ViewLineCount(), 6u);
  EXPECT_EQ(view_.Regions().InnermostAt({2, 1})->id, inner);
  // Clearing them unfolds everything at once.
  view_.Regions().CollapseAll();
  EXPECT_EQ(view_.Layout().ViewLineCount(), 3u);
  view_.Regions().Clear();
  EXPECT_TRUE(view_.Regions().Hiding().empty());
  EXPECT_EQ(view_.Layout().ViewLineCount(), 6u);
}

TEST_F(ViewLayoutTest, RegionsFollowEditsAndGoWithTheirText) {
  view_.Regions().Add({1, 4}, {3, 7}, u"{...}");
  buffer_.Insert({0, 0}, u"new\n");
  ASSERT_EQ(view_.Regions().All().size(), 1u);
  EXPECT_EQ(view_.Regions().All()[0].start, (TextPos{2, 4}));
  EXPECT_EQ(view_.Regions().All()[0].end, (TextPos{4, 7}));
  buffer_.Insert({4, 0}, u">>");
  EXPECT_EQ(view_.Regions().All()[0].end, (TextPos{4, 9}));
  buffer_.Replace({1, 0}, {5, 0}, u"");
  EXPECT_TRUE(view_.Regions().All().empty());
  EXPECT_EQ(view_.Layout().ViewLineCount(), buffer_.LineCount());
}

TEST_F(ViewLayoutTest, CaretOfAnotherViewFollowsEdits) {
  view_.SetCaret({4, 2});
  buffer_.Replace({0, 0}, {2, 0}, u"");
  EXPECT_EQ(view_.Caret(), (TextPos{2, 2}));
  buffer_.Replace({1, 0}, {3, 0}, u"x");
  EXPECT_EQ(view_.Caret(), (TextPos{1, 0}));
}

}  // namespace
}  // namespace tavik::platform

namespace tavik::platform {
namespace {

std::vector<uint32_t> Rows(std::u16string_view text, uint32_t width, uint32_t tab = 8) {
  return ViewLayout::RowStartsOf(text, {}, WrapShape{width, tab, nullptr});
}

TEST(WordWrapTest, LongLinesBreakAfterBlanksElseAtTheWidth) {
  EXPECT_EQ(Rows(u"short", 10), (std::vector<uint32_t>{0}));
  EXPECT_EQ(Rows(u"exactly10!", 10), (std::vector<uint32_t>{0}));
  EXPECT_EQ(Rows(u"one two three four", 10), (std::vector<uint32_t>{0, 8}));
  EXPECT_EQ(Rows(u"one two three four", 8), (std::vector<uint32_t>{0, 8, 14}));
  EXPECT_EQ(Rows(u"abcdefghijklmnopqrstuvwxy", 10), (std::vector<uint32_t>{0, 10, 20}));
  // A word longer than the width after a blank: the blank ends the row, the word breaks.
  EXPECT_EQ(Rows(u"a bcdefghijklmn", 5), (std::vector<uint32_t>{0, 2, 7, 12}));
  // Tabs take their width at the line's own tab stops; blanks that do not fit hang past the
  // row's end rather than start the next row.
  EXPECT_EQ(Rows(u"\tab\tcd", 10, 8), (std::vector<uint32_t>{0, 4}));
  EXPECT_EQ(Rows(u"abcd   efg", 5), (std::vector<uint32_t>{0, 7}));
  EXPECT_EQ(Rows(u"", 10), (std::vector<uint32_t>{0}));
  EXPECT_EQ(Rows(u"anything", 0), (std::vector<uint32_t>{0}));
  // A character wider than the row stays alone on its row.
  const std::vector<uint32_t> wide = ViewLayout::RowStartsOf(
      u"ab\u4E00c", {}, WrapShape{2, 8, [](char32_t cp) -> uint32_t { return cp > 0xFF ? 3 : 1; }});
  EXPECT_EQ(wide, (std::vector<uint32_t>{0, 2, 3}));
  EXPECT_EQ(RowOfColumn({0, 8, 14}, 0), 0u);
  EXPECT_EQ(RowOfColumn({0, 8, 14}, 8), 1u);
  EXPECT_EQ(RowOfColumn({0, 8, 14}, 13), 1u);
  EXPECT_EQ(RowOfColumn({0, 8, 14}, 99), 2u);
}

TEST(WordWrapTest, TheViewScrollsByDisplayRowsToKeepTheCaretShown) {
  TextBuffer buffer{u"aaaa bbbb cccc dddd\nx\ny\nz\nlast line here"};
  ManualClock clock;
  View view{buffer, clock, 1};
  view.Preferences().word_wrap = true;
  view.SetWrapWidth(5);
  view.SetVisibleLineCount(3);
  const ViewLayout layout = view.Layout();
  ASSERT_TRUE(layout.Wraps());
  EXPECT_EQ(layout.RowStarts(0), (std::vector<uint32_t>{0, 5, 10, 15}));
  EXPECT_EQ(layout.RowOf({0, 12}), 2u);
  // The caret on the fourth row of the first line: the top moves down one row of that line.
  view.SetCaret({0, 16});
  view.ScrollToCaret();
  EXPECT_EQ(view.FirstVisibleLine(), 0u);
  EXPECT_EQ(view.FirstVisibleRow(), 1u);
  // Further down: rows of earlier lines fill the view above the caret.
  view.SetCaret({4, 14});  // "last line here": rows "last ", "line ", "here"
  view.ScrollToCaret();
  EXPECT_EQ(view.FirstVisibleLine(), 4u);
  EXPECT_EQ(view.FirstVisibleRow(), 0u);
  view.SetCaret({3, 0});
  view.ScrollToCaret();
  EXPECT_EQ(view.FirstVisibleLine(), 3u);
  // Back up into the middle of the long line: its row becomes the top.
  view.SetCaret({0, 7});
  view.ScrollToCaret();
  EXPECT_EQ(view.FirstVisibleLine(), 0u);
  EXPECT_EQ(view.FirstVisibleRow(), 1u);
  // Without the preference nothing wraps, whatever the width.
  view.Preferences().word_wrap = false;
  EXPECT_FALSE(view.Layout().Wraps());
  EXPECT_EQ(view.FirstVisibleRow(), 0u);
}

}  // namespace
}  // namespace tavik::platform
