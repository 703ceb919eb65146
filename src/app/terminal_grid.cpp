// The screen model: cells, widths and text written into rows.
#include "app/terminal_grid.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cwchar>

namespace tavik::app {

int CodePointWidth(char32_t cp) {
  if (cp == 0) return -1;
  if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return -1;
  if (cp < 0x7F) return 1;
  // The C library's table, under the UTF-8 locale the editor runs in, is the one the terminal
  // library uses to place characters: both must agree.
  return ::wcwidth(static_cast<wchar_t>(cp));
}

void ScreenGrid::Resize(int rows, int cols) {
  rows_ = rows < 0 ? 0 : rows;
  cols_ = cols < 0 ? 0 : cols;
  cells_.assign(static_cast<size_t>(rows_ * cols_), Cell{});
  row_start_.resize(static_cast<size_t>(rows_));
  for (int r = 0; r < rows_; ++r)
    row_start_[static_cast<size_t>(r)] = static_cast<size_t>(r * cols_);
  origin_.assign(static_cast<size_t>(rows_), -1);
}

void ScreenGrid::ClearChanges() {
  for (int r = 0; r < rows_; ++r) origin_[static_cast<size_t>(r)] = r;
}

void ScreenGrid::MoveRows(int first, std::span<const int> sources) {
  const auto count = static_cast<int>(sources.size());
  if (first < 0 || first + count > rows_) return;
  // The band's rows as they were, and which of them a row takes; the others are handed to the
  // rows drawn anew.
  old_starts_.assign(row_start_.begin() + first, row_start_.begin() + first + count);
  old_origins_.assign(origin_.begin() + first, origin_.begin() + first + count);
  taken_.assign(static_cast<size_t>(count), 0);
  for (const int from : sources) {
    if (from >= first && from < first + count) taken_[static_cast<size_t>(from - first)] = 1;
  }
  size_t spare = 0;
  for (int i = 0; i < count; ++i) {
    const int from = sources[static_cast<size_t>(i)];
    const int row = first + i;
    if (from == row) continue;
    if (from >= first && from < first + count) {
      row_start_[static_cast<size_t>(row)] = old_starts_[static_cast<size_t>(from - first)];
      origin_[static_cast<size_t>(row)] = old_origins_[static_cast<size_t>(from - first)];
    } else {
      while (spare < taken_.size() && taken_[spare] != 0) ++spare;
      assert(spare < taken_.size());
      taken_[spare] = 1;
      row_start_[static_cast<size_t>(row)] = old_starts_[spare];
      Touch(row);
    }
  }
}

bool operator==(const ScreenGrid& a, const ScreenGrid& b) {
  if (a.rows_ != b.rows_ || a.cols_ != b.cols_) return false;
  for (int r = 0; r < a.rows_; ++r) {
    const std::span<const Cell> x = a.Row(r);
    const std::span<const Cell> y = b.Row(r);
    if (!std::equal(x.begin(), x.end(), y.begin(), y.end())) return false;
  }
  return true;
}

int ScreenGrid::Put(int row, int col, Cell cell) {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return col + (cell.width == 2 ? 2 : 1);
  Touch(row);
  if (cell.width == 2 && col + 1 >= cols_) {
    cells_[Index(row, col)] = Cell{U' ', 0, 1, cell.style};
    return col + 2;
  }
  // Overwriting half of a wide character leaves a blank in its other half.
  Cell& here = cells_[Index(row, col)];
  if (here.width == 0 && col > 0) cells_[Index(row, col - 1)] = Cell{U' ', 0, 1, here.style};
  if (here.width == 2 && col + 1 < cols_ && cell.width != 2) {
    cells_[Index(row, col + 1)] = Cell{U' ', 0, 1, here.style};
  }
  here = cell;
  if (cell.width == 2) {
    // The right half may cover the left half of another wide character: blank its right half.
    Cell& right = cells_[Index(row, col + 1)];
    if (right.width == 2 && col + 2 < cols_) {
      cells_[Index(row, col + 2)] = Cell{U' ', 0, 1, right.style};
    }
    right = Cell{U' ', 0, 0, cell.style};
    return col + 2;
  }
  return col + 1;
}

void ScreenGrid::FillRow(int row, int col, CellStyle style) {
  if (row < 0 || row >= rows_ || col >= cols_) return;
  Touch(row);
  if (col > 0) Put(row, col, Cell{U' ', 0, 1, style});  // clears a wide character cut in half
  std::fill(cells_.begin() + static_cast<std::ptrdiff_t>(Index(row, std::max(col, 0))),
            cells_.begin() + static_cast<std::ptrdiff_t>(Index(row, cols_ - 1)) + 1,
            Cell{U' ', 0, 1, style});
}

void ScreenGrid::SetRow(int row, std::span<const Cell> cells) {
  if (row < 0 || row >= rows_ || cells.size() != static_cast<size_t>(cols_)) return;
  Touch(row);
  std::copy(cells.begin(), cells.end(),
            cells_.begin() + static_cast<std::ptrdiff_t>(Index(row, 0)));
}

namespace {

// Decodes one code point at `i` (a surrogate pair or one unit); `i` moves past it.
char32_t NextCodePoint(std::u16string_view text, size_t& i) {
  const char16_t c = text[i++];
  if (c >= 0xD800 && c < 0xDC00 && i < text.size() && text[i] >= 0xDC00 && text[i] < 0xE000) {
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i++] - 0xDC00);
  }
  if (c >= 0xD800 && c < 0xE000) return 0xFFFD;
  return c;
}

}  // namespace

int ScreenGrid::PutText(int row, int col, std::u16string_view text, CellStyle style, int end_col) {
  for (size_t i = 0; i < text.size();) {
    const char32_t cp = NextCodePoint(text, i);
    const int width = CodePointWidth(cp);
    if (width == 0) {
      if (col > 0 && row >= 0 && row < rows_ && col - 1 < cols_) {
        Touch(row);
        Cell& prev = cells_[Index(row, col - 1)];
        Cell& base = prev.width == 0 && col > 1 ? cells_[Index(row, col - 2)] : prev;
        if (base.mark == 0) base.mark = cp;
      }
      continue;
    }
    const Cell cell{width < 0 ? U' ' : cp, 0, static_cast<uint8_t>(width < 0 ? 1 : width), style};
    if (col + cell.width > end_col) break;
    col = Put(row, col, cell);
  }
  return col;
}

int ScreenGrid::TextWidth(std::u16string_view text) {
  int width = 0;
  for (size_t i = 0; i < text.size();) {
    const int w = CodePointWidth(NextCodePoint(text, i));
    width += w < 0 ? 1 : w;
  }
  return width;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string ScreenGrid::RowText(int row) const {
  std::string text;
  for (int c = 0; c < cols_; ++c) {
    const Cell& cell = At(row, c);
    if (cell.width == 0) continue;
    AppendUtf8(cell.ch, text);
    if (cell.mark != 0) AppendUtf8(cell.mark, text);
  }
  return text;
}

}  // namespace tavik::app
