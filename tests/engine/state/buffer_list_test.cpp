// The buffer list's bookkeeping: first-seen order, the swap in the recent order, removal and
// names that differ only in letter case.
#include "engine/state/buffer_list.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(BufferListTest, TouchAppendsNewNamesAndSwapsKnownOnesToTheEndOfTheRecentOrder) {
  BufferList list;
  list.Touch(u"a", {1, 2});
  list.Touch(u"b", {0, 0});
  list.Touch(u"c", {0, 0});
  list.Touch(u"d", {0, 0});
  EXPECT_EQ(list.RecentOrder(), (std::vector<size_t>{0, 1, 2, 3}));
  // b trades places with d, the last used; a and c stay where they are.
  list.Touch(u"B", {5, 6});
  EXPECT_EQ(list.RecentOrder(), (std::vector<size_t>{0, 3, 2, 1}));
  EXPECT_EQ(list.Size(), 4u);
  EXPECT_EQ(list.Entry(1).name, u"b");  // the first spelling stays
  EXPECT_EQ(list.Entry(1).caret, (TextPos{5, 6}));
  EXPECT_EQ(list.Alternate(), std::optional<size_t>(2));
  // Touching the most recent one again changes nothing in the order.
  list.Touch(u"b", {7, 0});
  EXPECT_EQ(list.RecentOrder(), (std::vector<size_t>{0, 3, 2, 1}));
}

TEST(BufferListTest, TheAlternateOfAShortListIsTheFirstEntry) {
  BufferList list;
  EXPECT_EQ(list.Alternate(), std::nullopt);
  list.Touch(u"only", {});
  EXPECT_EQ(list.Alternate(), std::optional<size_t>(0));
}

TEST(BufferListTest, RemovingAnEntryRenumbersTheRecentOrder) {
  BufferList list;
  for (const char16_t* name : {u"a", u"b", u"c", u"d"}) list.Touch(name, {});
  list.Touch(u"a", {});  // recent: d b c a
  list.Remove(1);        // b goes; c and d move down one
  ASSERT_EQ(list.Size(), 3u);
  EXPECT_EQ(list.Entry(1).name, u"c");
  EXPECT_EQ(list.RecentOrder(), (std::vector<size_t>{2, 1, 0}));
  EXPECT_EQ(list.Find(u"b"), std::nullopt);
  list.Remove(7);  // no such entry: nothing happens
  EXPECT_EQ(list.Size(), 3u);
  list.Remember(0, {9, 9});
  EXPECT_EQ(list.Entry(0).caret, (TextPos{9, 9}));
  EXPECT_EQ(list.RecentOrder(), (std::vector<size_t>{2, 1, 0}));
}

TEST(BufferListTest, NamesAreEqualRegardlessOfLetterCaseOnly) {
  EXPECT_TRUE(SameDocumentName(u"C:\\Src\\Main.cpp", u"c:\\src\\MAIN.CPP"));
  EXPECT_TRUE(SameDocumentName(u"\u00e9t\u00e9.txt", u"\u00c9T\u00c9.TXT"));
  EXPECT_FALSE(SameDocumentName(u"a.txt", u"a.txt "));
  EXPECT_FALSE(SameDocumentName(u"a.txt", u"b.txt"));
  EXPECT_TRUE(SameDocumentName(u"", u""));
}

}  // namespace
}  // namespace tavik
