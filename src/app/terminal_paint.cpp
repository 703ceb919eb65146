// The screen update as bytes: changed runs of cells, cursor moves and style changes.
#include "app/terminal_paint.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace tavik::app {

namespace {

// Unchanged cells between two changed runs of a row are written again when there are at most
// this many: a cursor move costs about as many bytes.
constexpr int kJoinGap = 6;

// The cell at `col` of a row differs from what the terminal shows there. The left half of a wide
// character counts as changed when its right half did, so the character is written whole.
bool Changed(const Cell* shown, std::span<const Cell> next, int col) {
  const Cell& cell = next[static_cast<size_t>(col)];
  if (!(shown[col] == cell)) return true;
  return cell.width == 2 && static_cast<size_t>(col) + 1 < next.size() &&
         !(shown[col + 1] == next[static_cast<size_t>(col) + 1]);
}

// A blank in the terminal's default colours, and the fewest of them at the end of a row that are
// erased rather than written.
constexpr Cell kDefaultBlank{U' ', 0, 1, CellStyle::kText};
constexpr int kLeastCellsToErase = 4;

// A row's rest moved sideways is shifted on the terminal when at least this many cells move.
constexpr int kLeastCellsToShift = 8;

// Fewer moved rows than this are written again rather than scrolled.
constexpr int kLeastRowsToScroll = 3;

uint64_t RowHash(std::span<const Cell> row) {
  uint64_t hash = 1469598103934665603ull;
  for (const Cell& cell : row) {
    const uint64_t value = (static_cast<uint64_t>(cell.ch) << 32) ^ (cell.mark << 16) ^
                           (static_cast<uint64_t>(cell.width) << 8) ^
                           static_cast<uint64_t>(cell.style);
    hash = (hash ^ value) * 1099511628211ull;
  }
  return hash;
}

bool SameRow(const ScreenGrid& a, int row_a, const ScreenGrid& b, int row_b) {
  const std::span<const Cell> x = a.Row(row_a);
  const std::span<const Cell> y = b.Row(row_b);
  return std::equal(x.begin(), x.end(), y.begin(), y.end());
}

}  // namespace

std::string JoinStyleSequences(const std::vector<std::string>& parts) {
  std::string kept;
  std::string params;
  for (const std::string& part : parts) {
    const size_t start = part.find("\x1b[");
    size_t end = start == std::string::npos ? part.size() : start + 2;
    while (end < part.size() &&
           (std::isdigit(static_cast<unsigned char>(part[end])) != 0 || part[end] == ';')) {
      ++end;
    }
    const bool is_style = end < part.size() && part[end] == 'm';
    const std::string rest = is_style ? part.substr(0, start) + part.substr(end + 1) : part;
    if (!is_style || rest.find("\x1b[") != std::string::npos) {
      std::string joined;
      for (const std::string& p : parts) joined += p;
      return joined;
    }
    kept += rest;
    if (!params.empty()) params += ';';
    params += end == start + 2 ? "0" : part.substr(start + 2, end - start - 2);
  }
  return params.empty() ? kept : kept + "\x1b[" + params + "m";
}

TerminalPainter::Move TerminalPainter::FindMove(const ScreenGrid& shown, const ScreenGrid& next) {
  Move best;
  const int rows = next.Rows();
  // Most updates change a row or two (a character typed, the status line): nothing to scroll.
  // Rows the grid says were not touched show what the terminal shows; the others that did not
  // change are written down too, so that they are not compared again.
  int changed_rows = 0;
  for (int r = 0; r < rows; ++r) {
    const int origin = next.RowOrigin(r);
    const bool same = origin == r || (origin < 0 && SameRow(next, r, shown, r));
    row_same_[static_cast<size_t>(r)] = same ? 1 : 0;
    if (!same) ++changed_rows;
  }
  // The hashes of what the terminal shows are those of the frame painted last, when they were
  // taken then; a row that was not written keeps the hash of the row it came from.
  if (!hashes_kept_ || shown_hashes_.size() != static_cast<size_t>(rows)) {
    shown_hashes_.resize(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) shown_hashes_[static_cast<size_t>(r)] = RowHash(shown.Row(r));
  }
  next_hashes_.resize(static_cast<size_t>(rows));
  for (int r = 0; r < rows; ++r) {
    const int origin = next.RowOrigin(r);
    const auto at = static_cast<size_t>(r);
    if (origin >= 0) {
      next_hashes_[at] = shown_hashes_[static_cast<size_t>(origin)];
    } else {
      next_hashes_[at] = row_same_[at] != 0 ? shown_hashes_[at] : RowHash(next.Row(r));
    }
  }
  hashes_kept_ = true;
  if (changed_rows < kLeastRowsToScroll) return best;
  // The bottom row of a terminal that wraps at once never gets its last cell: it is only ever
  // written, not moved.
  const bool bottom_row_moves = !codes_.auto_margin || codes_.wrap_is_delayed;
  // A row moved by the grid is known to show what its row of origin showed; others are compared.
  auto moved = [&](int r, int shift) {
    if (!bottom_row_moves && (r == rows - 1 || r + shift == rows - 1)) return false;
    const auto from = static_cast<size_t>(r + shift);
    const auto to = static_cast<size_t>(r);
    if (row_same_[to] != 0) return false;
    if (next.RowOrigin(r) == r + shift) return true;
    return next_hashes_[to] == shown_hashes_[from] && SameRow(next, r, shown, r + shift);
  };
  for (int shift = -(rows - 1); shift < rows; ++shift) {
    if (shift == 0) continue;
    // Longest run of rows that each show what the row `shift` below (or above) showed.
    int run = 0;
    for (int r = std::max(0, -shift); r < std::min(rows, rows - shift); ++r) {
      run = moved(r, shift) ? run + 1 : 0;
      if (run > best.Rows()) best = Move{r - run + 1, r, shift};
    }
  }
  if (best.Rows() < kLeastRowsToScroll) return Move{};
  return best;
}

void TerminalPainter::Scroll(const ScreenGrid& shown, const Move& move, std::string& out) {
  const int rows = shown.Rows();
  const int lines = std::abs(move.shift);
  // The band on the terminal: the moved rows with the rows they leave behind.
  const int top = move.shift > 0 ? move.first : move.first + move.shift;
  const int bottom = move.shift > 0 ? move.last + move.shift : move.last;
  codes_.set_scroll_region(top, bottom, out);
  codes_.move_to(move.shift > 0 ? bottom : top, 0, out);
  for (int i = 0; i < lines; ++i) out += move.shift > 0 ? codes_.scroll_up : codes_.scroll_down;
  codes_.set_scroll_region(0, rows - 1, out);
  // The terminal's rows after the scroll: the band moved, blank rows where it came from.
  // The moved rows were compared cell by cell when the move was found, or the grid moved them.
  for (int r = move.first; r <= move.last; ++r) {
    shown_rows_[static_cast<size_t>(r)] = shown.Row(r + move.shift).data();
    row_same_[static_cast<size_t>(r)] = 1;
  }
  blank_row_.assign(static_cast<size_t>(shown.Cols()), Cell{U' ', 0, 1, CellStyle::kText});
  const int blank_first = move.shift > 0 ? move.last + 1 : top;
  for (int r = blank_first; r < blank_first + lines; ++r) {
    shown_rows_[static_cast<size_t>(r)] = blank_row_.data();
    row_same_[static_cast<size_t>(r)] = 0;
  }
}

const Cell* TerminalPainter::ShiftRow(int row, const Cell* shown, std::span<const Cell> next,
                                      int& style, std::string& out) {
  const int cols = static_cast<int>(next.size());
  int from = 0;
  while (from < cols && shown[from] == next[static_cast<size_t>(from)]) ++from;
  if (cols - from <= kLeastCellsToShift) return shown;
  // Wide characters would be cut in two by a shift: rows with them are written.
  for (int c = from; c < cols; ++c) {
    if (shown[c].width != 1 || next[static_cast<size_t>(c)].width != 1) return shown;
  }
  // `next` from `from` on shows what `shown` showed `by` cells further right (by > 0: the rest
  // moved left) or further left (by < 0), to the end of the row.
  auto moved_by = [&](int by) {
    const int count = cols - from - std::abs(by);
    const Cell* was = shown + from + std::max(by, 0);
    const Cell* now = next.data() + from + std::max(-by, 0);
    return std::equal(now, now + count, was);
  };
  // A shift moves at least as many cells as it frees: some terminals leave old cells behind
  // when asked to insert more than half of the rest of a row.
  int by = 0;
  const int most = std::min(cols - from - kLeastCellsToShift, (cols - from) / 2);
  for (int k = 1; k <= most && by == 0; ++k) {
    if (moved_by(k)) {
      by = k;
    } else if (moved_by(-k)) {
      by = -k;
    }
  }
  if (by == 0) return shown;
  // Moving only blanks saves nothing over writing the row.
  const Cell* kept_from = shown + from + std::max(by, 0);
  const int kept = cols - from - std::abs(by);
  if (std::count(kept_from, kept_from + kept, kDefaultBlank) + kLeastCellsToShift > kept)
    return shown;
  // The cells freed are blank in the terminal's default colours.
  UseStyle(CellStyle::kText, style, out);
  codes_.move_to(row, from, out);
  const int count = std::abs(by);
  shifted_row_.assign(shown, shown + cols);
  if (by > 0) {
    codes_.delete_chars(count, out);
    std::copy(shown + from + count, shown + cols, shifted_row_.begin() + from);
    std::fill(shifted_row_.end() - count, shifted_row_.end(), kDefaultBlank);
  } else {
    codes_.insert_chars(count, out);
    std::copy(shown + from, shown + cols - count, shifted_row_.begin() + from + count);
    std::fill_n(shifted_row_.begin() + from, count, kDefaultBlank);
  }
  return shifted_row_.data();
}

void TerminalPainter::UseStyle(CellStyle wanted, int& style, std::string& out) const {
  if (static_cast<int>(wanted) == style) return;
  out += codes_.styles[static_cast<size_t>(wanted)];
  style = static_cast<int>(wanted);
}

void TerminalPainter::WriteCells(const ScreenGrid& next, int row, int from, int to, int end,
                                 int& style, std::string& out) const {
  for (int col = from; col < to; ++col) {
    const Cell& cell = next.At(row, col);
    if (cell.width == 0) continue;  // the right half of a wide character written before it
    UseStyle(cell.style, style, out);
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

void TerminalPainter::PaintRow(const ScreenGrid& next, int row, const Cell* shown_row, int& style,
                               std::string& out) {
  const bool full = shown_row == nullptr;
  const int rows = next.Rows();
  const int cols = next.Cols();
  const std::span<const Cell> next_row = next.Row(row);
  // A terminal that wraps at once scrolls when the bottom-right cell is written.
  int end = cols;
  if (row == rows - 1 && codes_.auto_margin && !codes_.wrap_is_delayed) --end;
  // A shift could move a cell into the bottom-right corner that is never written there.
  if (!full && end == cols && codes_.delete_chars && codes_.insert_chars)
    shown_row = ShiftRow(row, shown_row, next_row, style, out);
  // Blanks at the end of the row, as after a short line, are erased with one sequence.
  int erase_from = cols;
  if (!codes_.clear_to_line_end.empty()) {
    int c = cols;
    while (c > 0 && next_row[static_cast<size_t>(c) - 1] == kDefaultBlank) --c;
    if (cols - c >= kLeastCellsToErase) erase_from = c;
  }
  const int write_end = std::min(end, erase_from);
  int col = 0;
  while (col < write_end) {
    if (!full && !Changed(shown_row, next_row, col)) {
      ++col;
      continue;
    }
    // A run of changes, joined with the next one over a short unchanged gap. A run never
    // starts on the right half of a wide character.
    int start = col;
    if (next.At(row, start).width == 0 && start > 0) --start;
    int stop = col + 1;
    int gap = 0;
    for (int c = stop; c < write_end && gap <= kJoinGap; ++c) {
      if (full || Changed(shown_row, next_row, c)) {
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
  // A full repaint starts from a cleared screen: the blanks are there already.
  bool erase = false;
  for (int c = erase_from; !full && c < cols && !erase; ++c)
    erase = Changed(shown_row, next_row, c);
  if (erase) {
    codes_.move_to(row, erase_from, out);
    UseStyle(CellStyle::kText, style, out);  // erasing fills in the current colours
    out += codes_.clear_to_line_end;
  }
}

void TerminalPainter::Paint(const ScreenGrid& shown, const ScreenGrid& next, int cursor_row,
                            int cursor_col, bool full, std::string& out) {
  const int rows = next.Rows();
  const int cols = next.Cols();
  full = full || shown.Rows() != rows || shown.Cols() != cols;
  // The style the terminal has now is unknown at the start of an update: other output (a bell,
  // a clipboard sequence) may have come in between.
  int style = -1;
  if (full) {
    UseStyle(CellStyle::kText, style, out);
    out += codes_.clear;
  }
  // What each row of the terminal shows, a row of `shown` unless a scroll moved it.
  shown_rows_.resize(static_cast<size_t>(rows));
  row_same_.assign(static_cast<size_t>(rows), 0);
  if (!full) {
    for (int r = 0; r < rows; ++r) shown_rows_[static_cast<size_t>(r)] = shown.Row(r).data();
  }
  if (!full && codes_.set_scroll_region) {
    const Move move = FindMove(shown, next);
    if (move.shift != 0) {
      // Rows a scroll uncovers are blank in the terminal's default colours.
      UseStyle(CellStyle::kText, style, out);
      Scroll(shown, move, out);
    }
    // Once painted, the terminal shows `next`.
    std::swap(shown_hashes_, next_hashes_);
  } else {
    hashes_kept_ = false;
  }
  for (int row = 0; row < rows; ++row) {
    if (full) {
      PaintRow(next, row, nullptr, style, out);
    } else if (row_same_[static_cast<size_t>(row)] == 0) {
      PaintRow(next, row, shown_rows_[static_cast<size_t>(row)], style, out);
    }
  }
  codes_.move_to(cursor_row, cursor_col, out);
}

}  // namespace tavik::app
