// Turning the change from one screen model to the next into the bytes a terminal needs: only
// changed cells are written, each run after one cursor move, with a style sequence only where
// the style changes. The whole update is one string, so the terminal gets it in one write and
// never shows half a frame.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/terminal_grid.h"

namespace tavik::app {

// What the painter needs to know of the terminal, read from its description by the screen (and
// written by hand in tests).
struct TerminalCodes {
  // Appends the sequence that puts the cursor at the row and column (both from 0).
  std::function<void(int row, int col, std::string& out)> move_to;
  // Per cell style: the sequence that sets it whatever was set before.
  std::array<std::string, kCellStyleCount> styles;
  // The sequence that clears the whole screen (used before a full repaint), and the one that
  // clears from the cursor to the end of its row ("el"; none: the terminal cannot).
  std::string clear;
  std::string clear_to_line_end;
  // Writing the last column wraps the cursor ("am"), but not before the next character is
  // written ("xenl"). A terminal that wraps at once scrolls when the bottom-right cell is
  // written, so that cell is left alone there.
  bool auto_margin = true;
  bool wrap_is_delayed = true;
  // Scrolling a band of rows, when the terminal can ("csr", "ind", "ri"): sets the scroll
  // region (rows from 0, both included; none: the terminal cannot), and the sequences that
  // scroll the region up a line with the cursor on its bottom row and down a line with the
  // cursor on its top row.
  std::function<void(int top, int bottom, std::string& out)> set_scroll_region;
  std::string scroll_up;
  std::string scroll_down;
  // Deleting and inserting characters at the cursor, which moves the rest of the row left or
  // right ("dch", "ich"; none: the terminal cannot). The cells freed are blank.
  std::function<void(int count, std::string& out)> delete_chars;
  std::function<void(int count, std::string& out)> insert_chars;
};

// One style sequence from the parts that make it (reset, attributes, colours): "ESC [ ... m"
// parts become one "ESC [ a;b;c m", other bytes in them (a character set switch) are kept in
// front. Parts of any other form are joined as they are.
std::string JoinStyleSequences(const std::vector<std::string>& parts);

class TerminalPainter {
 public:
  explicit TerminalPainter(TerminalCodes codes) : codes_(std::move(codes)) {}
  const TerminalCodes& Codes() const { return codes_; }

  // Appends to `out` what turns the screen showing `shown` into `next` and leaves the cursor at
  // (cursor_row, cursor_col). A row of `next` that the grid says still holds the cells of a row
  // (its origin) must show what that row of `shown` does. A `shown` of another size, or `full`,
  // repaints everything after clearing the screen. Rows that moved up or down together (a view
  // scrolled, lines deleted or inserted) are scrolled on the terminal instead of written again.
  // Finding them is quickest when `shown` is the `next` of the call before, as it is on a terminal
  // updated frame by frame.
  void Paint(const ScreenGrid& shown, const ScreenGrid& next, int cursor_row, int cursor_col,
             bool full, std::string& out);

 private:
  // A band of rows that moved: next rows [first, last] were shown `shift` rows lower (shift > 0,
  // the content moved up) or higher (shift < 0).
  struct Move {
    int first = 0;
    int last = -1;
    int shift = 0;
    int Rows() const { return last - first + 1; }
  };
  // The largest band of rows that moved by the same distance, if it is worth a scroll.
  Move FindMove(const ScreenGrid& shown, const ScreenGrid& next);
  // Scrolls the band on the terminal and points `shown_rows_` at what its rows show after.
  void Scroll(const ScreenGrid& shown, const Move& move, std::string& out);

  // When the rest of a row moved left or right (a character typed or deleted, a view scrolled
  // sideways), moves it so on the terminal and returns what the row shows after; otherwise
  // returns `shown`.
  const Cell* ShiftRow(int row, const Cell* shown, std::span<const Cell> next, int& style,
                       std::string& out);
  // Writes what differs between a row the terminal shows (none: a cleared row to be written
  // whole) and the row of `next`.
  void PaintRow(const ScreenGrid& next, int row, const Cell* shown_row, int& style,
                std::string& out);
  // Switches the terminal to a style unless `style` (-1: unknown) says it has it already.
  void UseStyle(CellStyle wanted, int& style, std::string& out) const;
  // Writes the cells [from, to) of a row, none of them at or past `end`; the cursor is already
  // at `from`.
  void WriteCells(const ScreenGrid& next, int row, int from, int to, int end, int& style,
                  std::string& out) const;

  TerminalCodes codes_;
  std::vector<const Cell*> shown_rows_;  // per row, what the terminal shows (after a scroll)
  std::vector<Cell> blank_row_;          // what a row a scroll uncovered shows
  std::vector<Cell> shifted_row_;        // what a row shifted sideways shows
  std::vector<uint8_t> row_same_;        // per row, 1: known to show what the next screen does
  std::vector<uint64_t> shown_hashes_;   // per row, to find moved rows quickly
  std::vector<uint64_t> next_hashes_;
  bool hashes_kept_ = false;  // shown_hashes_ are those of the `next` painted last
};

}  // namespace tavik::app
