// Turning the change from one screen model to the next into the bytes a terminal needs: only
// changed cells are written, each run after one cursor move, with a style sequence only where
// the style changes. The whole update is one string, so the terminal gets it in one write and
// never shows half a frame.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "app/terminal_grid.h"

namespace tavik::app {

// What the painter needs to know of the terminal, read from its description by the screen (and
// written by hand in tests).
struct TerminalCodes {
  // Appends the sequence that puts the cursor at the row and column (both from 0).
  std::function<void(int row, int col, std::string& out)> move_to;
  // Per cell style: the sequence that sets it whatever was set before.
  std::array<std::string, kCellStyleCount> styles;
  // The sequence that clears the whole screen (used before a full repaint).
  std::string clear;
  // Writing the last column wraps the cursor ("am"), but not before the next character is
  // written ("xenl"). A terminal that wraps at once scrolls when the bottom-right cell is
  // written, so that cell is left alone there.
  bool auto_margin = true;
  bool wrap_is_delayed = true;
};

class TerminalPainter {
 public:
  explicit TerminalPainter(TerminalCodes codes) : codes_(std::move(codes)) {}

  // Appends to `out` what turns the screen showing `shown` into `next` and leaves the cursor at
  // (cursor_row, cursor_col). A `shown` of another size, or `full`, repaints everything after
  // clearing the screen.
  void Paint(const ScreenGrid& shown, const ScreenGrid& next, int cursor_row, int cursor_col,
             bool full, std::string& out) const;

 private:
  // Writes the cells [from, to) of a row, none of them at or past `end`; the cursor is already
  // at `from`.
  void WriteCells(const ScreenGrid& next, int row, int from, int to, int end, int& style,
                  std::string& out) const;

  TerminalCodes codes_;
};

}  // namespace tavik::app
