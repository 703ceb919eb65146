// The in-memory screen the terminal editor draws into before the terminal shows it: rows of
// cells, each holding one character (with at most one combining mark), its width and its style.
// Drawing into it needs no terminal, so layout is tested without one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavik::app {

// What a cell shows, which the screen turns into colours and attributes.
enum class CellStyle : uint8_t {
  kText,
  kSpecialChar,  // control characters and undecodable bytes shown as ^X and <xx>
  kPlaceholder,  // the placeholder text of a collapsed region
  kEmptyLine,    // the mark of a line past the end of the buffer
  kSelection,    // the visual selection
  kSearch,       // every search match
  kIncSearch,    // the match of the search being typed
  kTabLine,
  kTabActive,
  kStatus,
  kSeparator,  // the line between two views of a split window
  kPaneTitle,
  kPaneText,
  kHostSelection,  // the host's own selection, in the host's selection colours
  kDialogTitle,    // the title of a dialog, in bold
  kWhitespace,     // tabs and trailing blanks shown while visible whitespace is on
  kLineNumber,     // the line number column
};
inline constexpr size_t kCellStyleCount = 17;

struct Cell {
  char32_t ch = U' ';
  char32_t mark = 0;  // a combining character drawn over `ch`, 0 when none
  uint8_t width = 1;  // 2 for a wide character, 0 for the cell its right half covers
  CellStyle style = CellStyle::kText;

  friend bool operator==(const Cell&, const Cell&) = default;
};

// The terminal width of a code point: 0 for combining marks, 2 for wide characters, 1 for
// other printable ones, -1 for those a terminal cannot show.
int CodePointWidth(char32_t cp);

// Rows are kept apart from their order on the screen, so that rows moving up or down (a view
// scrolled) move without copying their cells. The grid also notes which rows were written or
// moved since the changes were last cleared, and where moved rows came from: the terminal needs
// only those, and scrolls the moved ones.
class ScreenGrid {
 public:
  void Resize(int rows, int cols);
  int Rows() const { return rows_; }
  int Cols() const { return cols_; }

  const Cell& At(int row, int col) const { return cells_[Index(row, col)]; }
  // Puts a cell; a wide one that does not fit before the right edge becomes a blank. Returns the
  // column after it.
  int Put(int row, int col, Cell cell);
  // Fills from `col` to the end of the row.
  void FillRow(int row, int col, CellStyle style);
  // Writes text (UTF-16) from `col`, stopping before `end_col`; control characters show as
  // blanks. Returns the column after the text.
  int PutText(int row, int col, std::u16string_view text, CellStyle style, int end_col);
  // A whole row, and replacing one with a row of the same width.
  std::span<const Cell> Row(int row) const {
    return {cells_.data() + Index(row, 0), static_cast<size_t>(cols_)};
  }
  void SetRow(int row, std::span<const Cell> cells);
  // Reorders the rows [first, first + sources.size()): row first + i takes the cells row
  // sources[i] had, a row of the same band each taken once; a source of -1 takes the cells of a
  // row no other row takes, to be drawn over.
  void MoveRows(int first, std::span<const int> sources);
  // The display width of a text as PutText writes it.
  static int TextWidth(std::u16string_view text);

  // The row whose cells, as they were at the last ClearChanges, a row still holds, moved or
  // not; -1 once it was written (and for every row of a new grid).
  int RowOrigin(int row) const { return origin_[static_cast<size_t>(row)]; }
  bool RowChanged(int row) const { return RowOrigin(row) != row; }
  void ClearChanges();

  // The row as UTF-8 text, the right halves of wide characters left out (as a terminal shows
  // the row when read back).
  std::string RowText(int row) const;

  // Same size and the same cells in every row.
  friend bool operator==(const ScreenGrid& a, const ScreenGrid& b);

 private:
  size_t Index(int row, int col) const {
    return row_start_[static_cast<size_t>(row)] + static_cast<size_t>(col);
  }
  void Touch(int row) { origin_[static_cast<size_t>(row)] = -1; }

  int rows_ = 0;
  int cols_ = 0;
  std::vector<Cell> cells_;
  std::vector<size_t> row_start_;  // where each row's cells begin in `cells_`
  std::vector<int> origin_;        // per row, see RowOrigin
  // Scratch for MoveRows.
  std::vector<size_t> old_starts_;
  std::vector<int> old_origins_;
  std::vector<uint8_t> taken_;
};

// Appends the UTF-8 form of a code point.
void AppendUtf8(char32_t cp, std::string& out);

}  // namespace tavik::app
