// The screen update as bytes: changed runs of cells, cursor moves and style changes.
#include "app/terminal_paint.h"

namespace tavik::app {

namespace {

// Unchanged cells between two changed runs of a row are written again when there are at most
// this many: a cursor move costs about as many bytes.
constexpr int kJoinGap = 6;

// The cell at (row, col) differs from what the terminal shows. The left half of a wide character
// counts as changed when its right half did, so the character is written whole.
bool Changed(const ScreenGrid& shown, const ScreenGrid& next, int row, int col) {
  const Cell& cell = next.At(row, col);
  if (!(shown.At(row, col) == cell)) return true;
  return cell.width == 2 && col + 1 < next.Cols() &&
         !(shown.At(row, col + 1) == next.At(row, col + 1));
}

}  // namespace

void TerminalPainter::WriteCells(const ScreenGrid& next, int row, int from, int to, int end,
                                 int& style, std::string& out) const {
  for (int col = from; col < to; ++col) {
    const Cell& cell = next.At(row, col);
    if (cell.width == 0) continue;  // the right half of a wide character written before it
    const int wanted = static_cast<int>(cell.style);
    if (wanted != style) {
      out += codes_.styles[static_cast<size_t>(wanted)];
      style = wanted;
    }
    if (cell.width == 2 && col + 2 > end) {
      out += ' ';  // its right half would fall on the cell that must not be written
      continue;
    }
    AppendUtf8(cell.ch, out);
    // A terminal that wraps at once has left the row before a mark in its last column comes.
    const bool mark_fits = col + cell.width < next.Cols() || codes_.wrap_is_delayed;
    if (cell.mark != 0 && mark_fits) AppendUtf8(cell.mark, out);
  }
}

void TerminalPainter::Paint(const ScreenGrid& shown, const ScreenGrid& next, int cursor_row,
                            int cursor_col, bool full, std::string& out) const {
  const int rows = next.Rows();
  const int cols = next.Cols();
  full = full || shown.Rows() != rows || shown.Cols() != cols;
  // The style the terminal has now is unknown at the start of an update: other output (a bell,
  // a clipboard sequence) may have come in between.
  int style = -1;
  if (full) {
    out += codes_.styles[static_cast<size_t>(CellStyle::kText)];
    style = static_cast<int>(CellStyle::kText);
    out += codes_.clear;
  }
  for (int row = 0; row < rows; ++row) {
    // A terminal that wraps at once scrolls when the bottom-right cell is written.
    int end = cols;
    if (row == rows - 1 && codes_.auto_margin && !codes_.wrap_is_delayed) --end;
    int col = 0;
    while (col < end) {
      if (!full && !Changed(shown, next, row, col)) {
        ++col;
        continue;
      }
      // A run of changes, joined with the next one over a short unchanged gap. A run never
      // starts on the right half of a wide character.
      int start = col;
      if (next.At(row, start).width == 0 && start > 0) --start;
      int stop = col + 1;
      int gap = 0;
      for (int c = stop; c < end && gap <= kJoinGap; ++c) {
        if (full || Changed(shown, next, row, c)) {
          stop = c + 1;
          gap = 0;
        } else {
          ++gap;
        }
      }
      if (stop < end && next.At(row, stop).width == 0) ++stop;  // the wide character's right half
      codes_.move_to(row, start, out);
      WriteCells(next, row, start, stop, end, style, out);
      col = stop;
    }
  }
  codes_.move_to(cursor_row, cursor_col, out);
}

}  // namespace tavik::app
