// The screen update as bytes: a small terminal model reads what the painter writes, and must end
// up showing exactly the next screen, with the cursor where it was asked for, after any number
// of updates; unchanged cells are not sent again.
#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <string>

#include "app/terminal_paint.h"

namespace tavik::app {
namespace {

// Test codes: "ESC [ row ; col H" moves, "ESC S x" sets style x, "ESC C" clears, "ESC K" clears
// to the end of the row, "ESC [ top ; bottom r" sets the scroll region, "ESC D" and "ESC M"
// scroll it up and down, "ESC [ n P" and "ESC [ n @" delete and insert characters.
TerminalCodes TestCodes(bool auto_margin, bool wrap_is_delayed) {
  TerminalCodes codes;
  codes.move_to = [](int row, int col, std::string& out) {
    out += "\x1b[" + std::to_string(row + 1) + ";" + std::to_string(col + 1) + "H";
  };
  for (size_t i = 0; i < kCellStyleCount; ++i) {
    codes.styles[i] = std::string("\x1bS") + static_cast<char>('a' + i);
  }
  codes.clear = std::string(1, '\x1b') + "C";
  codes.clear_to_line_end = std::string(1, '\x1b') + "K";
  codes.set_scroll_region = [](int top, int bottom, std::string& out) {
    out += "\x1b[" + std::to_string(top + 1) + ";" + std::to_string(bottom + 1) + "r";
  };
  codes.scroll_up = std::string(1, '\x1b') + "D";
  codes.scroll_down = std::string(1, '\x1b') + "M";
  codes.delete_chars = [](int n, std::string& out) { out += "\x1b[" + std::to_string(n) + "P"; };
  codes.insert_chars = [](int n, std::string& out) { out += "\x1b[" + std::to_string(n) + "@"; };
  codes.auto_margin = auto_margin;
  codes.wrap_is_delayed = wrap_is_delayed;
  return codes;
}

// A terminal that understands the test codes and UTF-8 text, with the wrapping behaviour of the
// codes. Scrolling the screen is a failure: the painter must never cause it.
class TerminalModel {
 public:
  TerminalModel(int rows, int cols, bool wrap_is_delayed)
      : wrap_is_delayed_(wrap_is_delayed), bottom_(rows - 1) {
    screen_.Resize(rows, cols);
  }

  void Feed(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
      const auto c = static_cast<unsigned char>(bytes[i]);
      if (c == 0x1b) {
        ASSERT_LT(i + 1, bytes.size());
        const char kind = bytes[i + 1];
        if (kind == '[') {
          const size_t end = bytes.find_first_of("HrP@", i);
          ASSERT_NE(end, std::string::npos);
          const std::string args = bytes.substr(i + 2, end - i - 2);
          if (bytes[end] == 'P' || bytes[end] == '@') {
            ShiftAtCursor(std::stoi(args), bytes[end] == 'P');
            i = end + 1;
            continue;
          }
          const size_t semi = args.find(';');
          const int a = std::stoi(args.substr(0, semi)) - 1;
          const int b = std::stoi(args.substr(semi + 1)) - 1;
          if (bytes[end] == 'H') {
            row_ = a;
            col_ = b;
          } else {
            ASSERT_TRUE(a >= 0 && a < b && b < screen_.Rows()) << args;
            top_ = a;
            bottom_ = b;
            row_ = col_ = 0;  // setting the region homes the cursor
          }
          pending_wrap_ = false;
          i = end + 1;
        } else if (kind == 'D' || kind == 'M') {
          ScrollAtCursor(kind == 'D');
          i += 2;
        } else if (kind == 'K') {
          // Erases to the end of the row in the current colours; the cursor stays.
          for (int c = col_; c < screen_.Cols(); ++c)
            screen_.Put(row_, c, Cell{U' ', 0, 1, style_});
          pending_wrap_ = false;
          i += 2;
        } else if (kind == 'S') {
          style_ = static_cast<CellStyle>(bytes[i + 2] - 'a');
          i += 3;
        } else {
          ASSERT_EQ(kind, 'C');
          screen_.Resize(screen_.Rows(), screen_.Cols());
          i += 2;
        }
        continue;
      }
      // One UTF-8 code point.
      int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      char32_t cp = length == 1 ? c : c & (0x3F >> (length - 1));
      for (int k = 1; k < length; ++k) cp = (cp << 6) | (bytes[i + k] & 0x3F);
      i += static_cast<size_t>(length);
      Write(cp);
    }
  }

  const ScreenGrid& Screen() const { return screen_; }
  int Row() const { return row_; }
  int Col() const { return col_; }
  bool Scrolled() const { return scrolled_; }

 private:
  void Write(char32_t cp) {
    const int width = CodePointWidth(cp);
    if (width == 0) {
      const int at = pending_wrap_ ? col_ : col_ - 1;
      ASSERT_GE(at, 0) << "a combining mark with nothing before it";
      Cell base = screen_.At(row_, at);
      const int base_col = base.width == 0 ? at - 1 : at;
      base = screen_.At(row_, base_col);
      base.mark = cp;
      screen_.Put(row_, base_col, base);
      return;
    }
    if (pending_wrap_) NextLine();
    screen_.Put(row_, col_, Cell{cp, 0, static_cast<uint8_t>(width), style_});
    col_ += width;
    if (col_ >= screen_.Cols()) {
      col_ = screen_.Cols() - 1;
      if (wrap_is_delayed_) {
        pending_wrap_ = true;
      } else {
        NextLine();
      }
    }
  }

  void NextLine() {
    pending_wrap_ = false;
    col_ = 0;
    if (++row_ >= screen_.Rows()) {
      scrolled_ = true;
      row_ = screen_.Rows() - 1;
    }
  }

  // Deleting characters moves the rest of the row left, inserting moves it right; the cells
  // freed are blanks in the current colours, and the cursor stays.
  void ShiftAtCursor(int count, bool left) {
    ASSERT_GT(count, 0);
    pending_wrap_ = false;
    const int cols = screen_.Cols();
    // Some terminals leave old cells behind when more than half the rest of a row moves.
    ASSERT_LE(count * 2, cols - col_) << "a shift by more than it keeps";
    std::vector<Cell> cells(screen_.Row(row_).begin(), screen_.Row(row_).end());
    const Cell blank{U' ', 0, 1, style_};
    for (int c = col_; c < cols; ++c) {
      const int source = left ? c + count : c - count;
      const bool inside = left ? source < cols : source >= col_;
      screen_.Put(row_, c, inside ? cells[static_cast<size_t>(source)] : blank);
    }
  }

  // Index (up) or reverse index (down): the cursor moves a row, or at the region's edge the
  // region's rows move and a blank row comes in.
  void ScrollAtCursor(bool up) {
    pending_wrap_ = false;
    if (up && row_ != bottom_) {
      row_ = std::min(row_ + 1, screen_.Rows() - 1);
      return;
    }
    if (!up && row_ != top_) {
      row_ = std::max(row_ - 1, 0);
      return;
    }
    if (up) {
      for (int r = top_; r < bottom_; ++r) screen_.SetRow(r, screen_.Row(r + 1));
      screen_.FillRow(bottom_, 0, CellStyle::kText);
    } else {
      for (int r = bottom_; r > top_; --r) screen_.SetRow(r, screen_.Row(r - 1));
      screen_.FillRow(top_, 0, CellStyle::kText);
    }
  }

  ScreenGrid screen_;
  int row_ = 0;
  int col_ = 0;
  bool pending_wrap_ = false;
  bool wrap_is_delayed_;
  bool scrolled_ = false;
  CellStyle style_ = CellStyle::kText;
  int top_ = 0;  // the scroll region
  int bottom_ = 0;
};

class TerminalPaintTest : public ::testing::Test {
 protected:
  void SetUp() override { std::setlocale(LC_CTYPE, "C.UTF-8"); }

  // As a view scrolls or lines are deleted: a band of rows of `next` shows the rows of `shown`
  // a few rows below or above.
  static void MoveBand(ScreenGrid& next, const ScreenGrid& shown, std::mt19937& random) {
    if (shown.Rows() != next.Rows()) return;
    const int rows = next.Rows();
    const int top = static_cast<int>(random() % 2);
    const int bottom = rows - 1 - static_cast<int>(random() % 2);
    int shift = static_cast<int>(random() % 3) + 1;
    if (random() % 2 == 0) shift = -shift;
    for (int r = top; r <= bottom; ++r) {
      if (r + shift >= top && r + shift <= bottom) next.SetRow(r, shown.Row(r + shift));
    }
  }

  // A random screen: mostly text with runs of styles, some wide characters and combining marks.
  static void Fill(ScreenGrid& grid, std::mt19937& random, double keep, const ScreenGrid& from) {
    constexpr char32_t kChars[] = {U'a', U'b', U' ', U'x', U'漢', U'字', U'é', U'~', U'🙂'};
    for (int r = 0; r < grid.Rows(); ++r) {
      if (from.Rows() == grid.Rows() && std::uniform_real_distribution<>(0, 1)(random) < keep) {
        for (int c = 0; c < grid.Cols(); ++c) {
          if (from.At(r, c).width != 0) grid.Put(r, c, from.At(r, c));
        }
        continue;
      }
      const auto style = static_cast<CellStyle>(random() % kCellStyleCount);
      for (int c = 0; c < grid.Cols();) {
        const char32_t ch = kChars[random() % std::size(kChars)];
        const auto width = static_cast<uint8_t>(CodePointWidth(ch));
        const char32_t mark = random() % 10 == 0 ? U'\u0301' : 0;
        c = grid.Put(r, c, Cell{ch, mark, width, random() % 4 == 0 ? style : CellStyle::kText});
      }
      // A short line: blanks to the end of the row.
      if (random() % 3 == 0)
        grid.FillRow(r, static_cast<int>(random() % grid.Cols()), CellStyle::kText);
    }
  }
};

TEST_F(TerminalPaintTest, EveryUpdateLeavesTheTerminalShowingTheNextScreen) {
  for (const bool delayed : {true, false}) {
    SCOPED_TRACE(delayed ? "delayed wrap" : "immediate wrap");
    TerminalPainter painter(TestCodes(true, delayed));
    TerminalModel terminal(6, 13, delayed);
    std::mt19937 random(7);
    ScreenGrid shown;
    int scrolls = 0;
    for (int update = 0; update < 300; ++update) {
      ScreenGrid next;
      if (update % 4 == 3 && shown.Rows() == 6) {
        // As the editor draws: over the frame before, marking the rows it touches.
        next = shown;
        next.ClearChanges();
        ScreenGrid other;
        other.Resize(6, 13);
        Fill(other, random, 0.0, shown);
        // A band of rows moved in place (a view scrolled), the rows it uncovers written.
        if (random() % 2 == 0) {
          const int top = static_cast<int>(random() % 2);
          const int shift = static_cast<int>(random() % 5) - 2;
          std::vector<int> sources;
          for (int r = top; r < 6; ++r)
            sources.push_back(r + shift < top || r + shift > 5 ? -1 : r + shift);
          next.MoveRows(top, sources);
          for (int r = top; r < 6; ++r) {
            if (sources[static_cast<size_t>(r - top)] < 0) next.SetRow(r, other.Row(r));
          }
        }
        for (int k = static_cast<int>(random() % 3); k > 0; --k) {
          const int r = static_cast<int>(random() % 6);
          next.SetRow(r, other.Row(r));
        }
        // A character typed or deleted: the rest of a row moves sideways.
        if (random() % 2 == 0) {
          const int r = static_cast<int>(random() % 6);
          const int at = static_cast<int>(random() % 4);
          const int by = static_cast<int>(random() % 5) - 2;
          std::vector<Cell> row(next.Row(r).begin(), next.Row(r).end());
          // Halves of wide characters do not move on their own.
          for (Cell& cell : row) {
            if (cell.width != 1) cell = Cell{U'w', 0, 1, cell.style};
          }
          std::vector<Cell> moved = row;
          for (int c = at; c < 13; ++c) {
            const int source = c + by;
            moved[static_cast<size_t>(c)] =
                source >= at && source < 13 ? row[static_cast<size_t>(source)] : Cell{U'z', 0, 1};
          }
          for (int c = 0; c < 13; ++c) next.Put(r, c, moved[static_cast<size_t>(c)]);
        }
      } else {
        next.Resize(6, 13);
        Fill(next, random, update % 3 == 0 ? 0.0 : 0.7, shown);
        if (update % 3 == 1) MoveBand(next, shown, random);
      }
      const int cursor_row = static_cast<int>(random() % 6);
      const int cursor_col = static_cast<int>(random() % 13);
      std::string bytes;
      painter.Paint(shown, next, cursor_row, cursor_col, update % 50 == 0, bytes);
      terminal.Feed(bytes);
      if (bytes.find('r') != std::string::npos) ++scrolls;  // only a scroll region has an r
      ASSERT_FALSE(terminal.Scrolled()) << "update " << update;
      for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 13; ++c) {
          Cell expected = next.At(r, c);
          if (!delayed && r == 5 && c == 12) continue;  // never written on such a terminal
          // Such a terminal has left the row before a mark in its last column comes.
          if (!delayed && c + expected.width == 13) expected.mark = 0;
          if (!delayed && r == 5 && c == 11 && expected.width == 2) {
            expected = Cell{U' ', 0, 1, expected.style};  // its right half is the last cell
          }
          ASSERT_EQ(terminal.Screen().At(r, c), expected)
              << "update " << update << " row " << r << " col " << c;
        }
      }
      ASSERT_EQ(terminal.Row(), cursor_row);
      ASSERT_EQ(terminal.Col(), cursor_col);
      shown = next;
    }
    EXPECT_GT(scrolls, 30);  // moved bands were scrolled, not only written
  }
}

TEST_F(TerminalPaintTest, OnlyChangedCellsAreSent) {
  TerminalPainter painter(TestCodes(true, true));
  ScreenGrid shown;
  shown.Resize(4, 20);
  shown.PutText(1, 0, u"hello world", CellStyle::kText, 20);
  shown.PutText(2, 0, u"second line here", CellStyle::kSearch, 20);

  std::string same;
  painter.Paint(shown, shown, 3, 4, false, same);
  EXPECT_EQ(same, "\x1b[4;5H");  // nothing but the cursor

  ScreenGrid next = shown;
  next.Put(1, 6, Cell{U'W', 0, 1, CellStyle::kText});
  std::string one;
  painter.Paint(shown, next, 1, 6, false, one);
  EXPECT_EQ(one, "\x1b[2;7H\x1bSaW\x1b[2;7H");

  // Two changes a few cells apart go out as one run; far apart, as two.
  next = shown;
  next.Put(1, 0, Cell{U'H', 0, 1, CellStyle::kText});
  next.Put(1, 4, Cell{U'O', 0, 1, CellStyle::kText});
  next.Put(1, 19, Cell{U'!', 0, 1, CellStyle::kText});
  std::string runs;
  painter.Paint(shown, next, 0, 0, false, runs);
  EXPECT_EQ(runs, "\x1b[2;1H\x1bSaHellO\x1b[2;20H!\x1b[1;1H");

  // A line that became shorter: the rest of the row is erased, not written with blanks.
  next = shown;
  next.FillRow(2, 0, CellStyle::kText);
  next.PutText(2, 0, u"short", CellStyle::kText, 20);
  std::string shorter;
  painter.Paint(shown, next, 0, 0, false, shorter);
  EXPECT_EQ(shorter, "\x1b[3;1H\x1bSashort\x1b[3;6H\x1bK\x1b[1;1H");

  // A full repaint clears first and writes every cell but the blanks that end a row.
  std::string full;
  painter.Paint(shown, shown, 0, 0, true, full);
  EXPECT_NE(full.find(std::string(1, '\x1b') + "C"), std::string::npos);
  EXPECT_NE(full.find("second line here"), std::string::npos);
}

TEST_F(TerminalPaintTest, MovedRowsAreScrolledNotWrittenAgain) {
  TerminalPainter painter(TestCodes(true, true));
  ScreenGrid shown;
  shown.Resize(10, 30);
  for (int r = 0; r < 10; ++r) {
    shown.PutText(r, 0, u"row " + std::u16string(1, static_cast<char16_t>(u'A' + r)) + u" text",
                  r == 4 ? CellStyle::kSearch : CellStyle::kText, 30);
  }
  // The view (rows 1 to 8) scrolls up a line; the status row changes too.
  ScreenGrid next = shown;
  for (int r = 1; r < 8; ++r) next.SetRow(r, shown.Row(r + 1));
  next.FillRow(8, 0, CellStyle::kText);
  next.PutText(8, 0, u"new row", CellStyle::kText, 30);
  next.PutText(9, 0, u"status", CellStyle::kStatus, 30);
  std::string up;
  painter.Paint(shown, next, 8, 0, false, up);
  EXPECT_NE(up.find("\x1b[2;9r"), std::string::npos) << up;
  EXPECT_EQ(up.find("row C"), std::string::npos) << "a moved row was written again: " << up;
  TerminalModel terminal(10, 30, true);
  std::string all;
  painter.Paint(ScreenGrid(), shown, 0, 0, true, all);
  terminal.Feed(all);
  terminal.Feed(up);
  for (int r = 0; r < 10; ++r) EXPECT_EQ(terminal.Screen().RowText(r), next.RowText(r)) << r;

  // And back down, as an undo puts a deleted line back.
  std::string down;
  painter.Paint(next, shown, 0, 0, false, down);
  EXPECT_NE(down.find(std::string(1, '\x1b') + "M"), std::string::npos) << down;
  terminal.Feed(down);
  for (int r = 0; r < 10; ++r) EXPECT_EQ(terminal.Screen().RowText(r), shown.RowText(r)) << r;
}

TEST_F(TerminalPaintTest, TheRestOfARowMovedSidewaysIsShiftedNotWrittenAgain) {
  TerminalPainter painter(TestCodes(true, true));
  TerminalModel terminal(3, 30, true);
  ScreenGrid shown;
  shown.Resize(3, 30);
  shown.PutText(0, 0, u"0000001 foo abcdefghijklmnopq", CellStyle::kText, 30);
  for (int c = 8; c < 11; ++c) shown.Put(0, c, Cell{shown.At(0, c).ch, 0, 1, CellStyle::kSearch});
  std::string all;
  painter.Paint(ScreenGrid(), shown, 0, 0, true, all);
  terminal.Feed(all);
  auto paint = [&](const ScreenGrid& next) {
    std::string bytes;
    painter.Paint(shown, next, 0, 0, false, bytes);
    terminal.Feed(bytes);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(terminal.Screen().RowText(r), next.RowText(r)) << r;
    EXPECT_EQ(terminal.Screen().At(0, 7).style, next.At(0, 7).style);
    shown = next;
    return bytes;
  };
  // A character typed at the start: one inserted, the match moving along with the text.
  ScreenGrid typed = shown;
  for (int c = 29; c > 0; --c) typed.Put(0, c, shown.At(0, c - 1));
  typed.Put(0, 0, Cell{U'x', 0, 1});
  EXPECT_EQ(paint(typed), "\x1bSa\x1b[1;1H\x1b[1@\x1b[1;1Hx\x1b[1;1H");
  // Deleted again.
  ScreenGrid deleted = shown;
  for (int c = 0; c < 29; ++c) deleted.Put(0, c, shown.At(0, c + 1));
  deleted.Put(0, 29, Cell{U'q', 0, 1, CellStyle::kSearch});
  EXPECT_EQ(paint(deleted), "\x1bSa\x1b[1;1H\x1b[1P\x1b[1;30H\x1bSfq\x1b[1;1H");
  // Two characters typed, the second the same as the one it pushes along.
  ScreenGrid two = shown;
  two.Put(0, 1, Cell{U'x', 0, 1});
  for (int c = 3; c < 30; ++c) two.Put(0, c, shown.At(0, c - 2));
  EXPECT_EQ(two.RowText(0).substr(0, 4), "0x00");
  paint(two);
  // The view scrolled sideways by 12 columns: the row's rest moves left, blanks come in.
  ScreenGrid scrolled;
  scrolled.Resize(3, 30);
  for (int c = 0; c + 12 < 30; ++c) scrolled.Put(0, c, shown.At(0, c + 12));
  EXPECT_EQ(paint(scrolled), "\x1bSa\x1b[1;1H\x1b[12P\x1b[1;1H");
  // The blanks that came in are in the default colours, whatever was written before.
  EXPECT_EQ(terminal.Screen().At(0, 29), (Cell{U' ', 0, 1, CellStyle::kText}));
}

TEST_F(TerminalPaintTest, ARowThatSharesOnlyBlanksWithTheOldOneIsWrittenNotShifted) {
  // Another file's line over a tab-indented one: only blanks would line up after a shift.
  TerminalPainter painter(TestCodes(true, true));
  TerminalModel terminal(2, 40, true);
  ScreenGrid shown;
  shown.Resize(2, 40);
  shown.PutText(0, 0, u"        indented line one", CellStyle::kText, 40);
  std::string all;
  painter.Paint(ScreenGrid(), shown, 0, 0, true, all);
  terminal.Feed(all);
  for (const std::u16string_view text : {u"hello", u"x       indented line one", u"hello"}) {
    ScreenGrid next;
    next.Resize(2, 40);
    next.PutText(0, 0, text, CellStyle::kText, 40);
    std::string bytes;
    painter.Paint(shown, next, 0, 0, false, bytes);
    terminal.Feed(bytes);
    EXPECT_EQ(terminal.Screen().RowText(0), next.RowText(0)) << bytes;
    shown = next;
  }
}

TEST_F(TerminalPaintTest, WideCharacterChangesAreWrittenWhole) {
  TerminalPainter painter(TestCodes(true, true));
  ScreenGrid shown;
  shown.Resize(1, 6);
  shown.PutText(0, 0, u"ab漢cd", CellStyle::kText, 6);
  ScreenGrid next = shown;
  // Only the right half's cell differs in style: the whole character goes out from its left half.
  next.Put(0, 2, Cell{U'漢', 0, 2, CellStyle::kSearch});
  std::string bytes;
  painter.Paint(shown, next, 0, 0, false, bytes);
  EXPECT_EQ(bytes, "\x1b[1;3H\x1bSf漢\x1b[1;1H");
}

}  // namespace
}  // namespace tavik::app

namespace tavik::app {
namespace {

TEST(StyleSequenceTest, PartsJoinIntoOneSequenceWhenAllHaveTheCommonForm) {
  // A reset with a character set switch after it, bold, two colours.
  EXPECT_EQ(JoinStyleSequences({"\x1b[m\x0f", "\x1b[1m", "\x1b[30m", "\x1b[43m"}),
            "\x0f\x1b[0;1;30;43m");
  EXPECT_EQ(JoinStyleSequences({"\x1b(B\x1b[m", "\x1b[7m"}), "\x1b(B\x1b[0;7m");
  EXPECT_EQ(JoinStyleSequences({"\x1b[0m"}), "\x1b[0m");
  // A part of another form: everything stays as given.
  EXPECT_EQ(JoinStyleSequences({"\x1b[m", "\x1b[38;5;3m", "\x1b[X"}), "\x1b[m\x1b[38;5;3m\x1b[X");
  EXPECT_EQ(JoinStyleSequences({"\x1b[0m", "\x1b[1"}), "\x1b[0m\x1b[1");
  EXPECT_EQ(JoinStyleSequences({}), "");
}

}  // namespace
}  // namespace tavik::app
