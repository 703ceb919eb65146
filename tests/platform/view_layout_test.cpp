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
