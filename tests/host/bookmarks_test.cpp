// Host bookmarks: placed by marks when LeaveVSMark is on, and kept on their lines across edits.
#include <gtest/gtest.h>

#include "app/batch_session.h"
#include "platform/bookmarks.h"

namespace tavik {
namespace {

const platform::Bookmarks& BookmarksOf(app::BatchSession& session) {
  platform::View* view = session.Editor().FocusedView();
  return session.Editor().DocumentOf(*view)->bookmarks;
}

TEST(BookmarksTest, MarksPlaceHostBookmarksOnlyWithLeaveVSMark) {
  app::BatchSession session;
  session.OpenText("a.txt", "one\ntwo\nthree\nfour");
  session.FeedNotation("jma");
  EXPECT_TRUE(BookmarksOf(session).Lines().empty());

  ASSERT_TRUE(session.Package().GetSettings().PutBool(SettingId::kLeaveVSMark, true));
  session.FeedNotation("jmbjmC");
  EXPECT_EQ(BookmarksOf(session).Lines(), (std::set<uint32_t>{2, 3}));
  // A mark that is not a letter places none.
  session.FeedNotation("gg m[");
  EXPECT_EQ(BookmarksOf(session).Lines().size(), 2u);
}

TEST(BookmarksTest, BookmarksFollowInsertedAndDeletedLines) {
  platform::Bookmarks marks;
  marks.Add(1);
  marks.Add(5);
  marks.Add(9);
  // Lines 2 to 4 replaced by one line: the bookmark of line 5 lies after them and moves up.
  marks.Follow({2, 3, 1, {2, 0}, {4, 3}, {2, 0}});
  EXPECT_EQ(marks.Lines(), (std::set<uint32_t>{1, 3, 7}));
  // Line 3 split into three lines: later bookmarks move down by two.
  marks.Follow({3, 1, 3, {3, 1}, {3, 1}, {5, 0}});
  EXPECT_EQ(marks.Lines(), (std::set<uint32_t>{1, 3, 9}));
  // Lines 8 to 9 merged into line 8: the bookmark of line 9 goes with its line.
  marks.Follow({8, 2, 1, {8, 4}, {9, 0}, {8, 4}});
  EXPECT_EQ(marks.Lines(), (std::set<uint32_t>{1, 3}));
}

}  // namespace
}  // namespace tavik
