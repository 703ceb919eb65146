// The caret and display columns of a TextView around characters beyond the BMP, which are two
// units: nothing the host or a column computation does leaves the caret between the halves.
#include <gtest/gtest.h>

#include "engine/fake_host_view.h"
#include "engine/text/text_view.h"

namespace tavik {
namespace {

TEST(TextViewPairsTest, HostCaretBetweenHalvesIsTakenToThePairStart) {
  FakeHostView host(u"a\U0001F600b");
  host.SetCaret({0, 2});
  TextView view(&host);
  EXPECT_EQ(view.GetCaret(), (TextPos{0, 1}));
  EXPECT_EQ(host.Caret(), (TextPos{0, 1}));

  // A later click between the halves, as the next key finds it.
  host.SetCaret({0, 2});
  view.RefreshFromHost(false);
  EXPECT_EQ(view.GetCaret(), (TextPos{0, 1}));
  EXPECT_EQ(host.Caret(), (TextPos{0, 1}));
}

TEST(TextViewPairsTest, ColumnsAndClampsNeverSplitAPair) {
  FakeHostView host(u"a\U0001F600b\nxy\U0001F600");
  TextView view(&host);
  // The pair takes display columns 1 and 2; either of them is the pair.
  EXPECT_EQ(view.ColumnOfVirtual(0, 1, false), 1u);
  EXPECT_EQ(view.ColumnOfVirtual(0, 2, false), 1u);
  EXPECT_EQ(view.ColumnOfVirtual(0, 3, false), 3u);
  EXPECT_EQ(view.ViewColumnOfVirtual(0, 2), 1u);
  // The last character of a line ending in a pair is the pair.
  EXPECT_EQ(view.ClampPosition(1, 9, false, false), (TextPos{1, 2}));
  view.SetCaret({1, 3});
  EXPECT_EQ(host.Caret(), (TextPos{1, 2}));
}

}  // namespace
}  // namespace tavik
