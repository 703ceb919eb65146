// The screen model's bookkeeping for the terminal: which rows changed since they were last
// shown, and rows moved as a band without losing or sharing cells.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "app/terminal_grid.h"

namespace tavik::app {
namespace {

class ScreenGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    grid_.Resize(6, 10);
    for (int r = 0; r < 6; ++r) grid_.PutText(r, 0, Label(r), CellStyle::kText, 10);
    grid_.ClearChanges();
  }
  static std::u16string Label(int r) { return u"row " + std::u16string(1, u'0' + r); }
  std::vector<int> ChangedRows() const {
    std::vector<int> rows;
    for (int r = 0; r < grid_.Rows(); ++r) {
      if (grid_.RowChanged(r)) rows.push_back(r);
    }
    return rows;
  }
  ScreenGrid grid_;
};

TEST_F(ScreenGridTest, EveryWayOfWritingMarksItsRowAndOnlyThat) {
  EXPECT_TRUE(ChangedRows().empty());
  grid_.Put(1, 3, Cell{U'x', 0, 1, CellStyle::kText});
  grid_.FillRow(2, 0, CellStyle::kStatus);
  grid_.PutText(3, 9, u"\u0301", CellStyle::kText, 10);  // a mark over the cell before
  grid_.SetRow(5, grid_.Row(0));
  EXPECT_EQ(ChangedRows(), (std::vector<int>{1, 2, 3, 5}));
  // Writing outside the grid marks nothing.
  grid_.ClearChanges();
  grid_.Put(7, 0, Cell{});
  grid_.FillRow(-1, 0, CellStyle::kText);
  EXPECT_TRUE(ChangedRows().empty());
  ScreenGrid fresh;
  fresh.Resize(2, 3);
  EXPECT_TRUE(fresh.RowChanged(0) && fresh.RowChanged(1));
}

TEST_F(ScreenGridTest, MovedRowsKeepTheirCellsAndRowsDrawnAnewGetCellsOfTheirOwn) {
  // Rows 1 to 4 are a view scrolled by a line: rows 1 to 3 show rows 2 to 4, row 4 is new.
  const int up[] = {2, 3, 4, -1};
  grid_.MoveRows(1, up);
  EXPECT_EQ(ChangedRows(), (std::vector<int>{1, 2, 3, 4}));
  grid_.FillRow(4, 0, CellStyle::kText);
  grid_.PutText(4, 0, u"new", CellStyle::kText, 10);
  const char* after_up[] = {"row 0", "row 2", "row 3", "row 4", "new  ", "row 5"};
  for (int r = 0; r < 6; ++r) EXPECT_EQ(grid_.RowText(r).substr(0, 5), after_up[r]) << r;

  // And back: the rows move down, the top one is drawn anew, a row that stays is not marked.
  grid_.ClearChanges();
  const int down[] = {-1, 1, 2, 4, 5};
  grid_.MoveRows(1, down);
  grid_.FillRow(1, 0, CellStyle::kText);
  grid_.PutText(1, 0, u"top", CellStyle::kText, 10);
  EXPECT_EQ(ChangedRows(), (std::vector<int>{1, 2, 3}));
  const char* after_down[] = {"row 0", "top  ", "row 2", "row 3", "new  ", "row 5"};
  for (int r = 0; r < 6; ++r) EXPECT_EQ(grid_.RowText(r).substr(0, 5), after_down[r]) << r;
  // Two rows drawn anew in one move; no two rows share cells: writing one leaves every other as
  // it was.
  const int by_two[] = {-1, -1, 1, 2};
  grid_.MoveRows(1, by_two);
  // Where each row's cells were at the last clearing, through both moves.
  const int origins[] = {0, -1, -1, -1, 1, 5};
  for (int r = 0; r < 6; ++r) EXPECT_EQ(grid_.RowOrigin(r), origins[r]) << r;
  for (int r = 0; r < 6; ++r) grid_.Put(r, 9, Cell{static_cast<char32_t>(U'a' + r), 0, 1});
  for (int r = 0; r < 6; ++r) EXPECT_EQ(grid_.At(r, 9).ch, static_cast<char32_t>(U'a' + r));
}

}  // namespace
}  // namespace tavik::app
