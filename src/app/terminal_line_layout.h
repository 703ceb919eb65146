// Laying out one view line for the terminal: tabs expanded to the view's tab size, characters
// at their display width, control characters as ^X, undecodable bytes as <xx>, and each
// collapsed region as its placeholder text. Every cell remembers the unit of the view line it
// shows, so the caret and highlights find their display columns. With visible whitespace on,
// a tab shows as "→" followed by blanks and each blank after the line's last other character
// as "·".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/terminal_grid.h"

namespace tavik::app {

class LineLayout {
 public:
  // Lays out `text` (a view line, collapsed regions as U+FFFC units, whose placeholder texts
  // are given in order) until the cells reach `stop_column` and the units reach `stop_unit`.
  LineLayout(std::u16string_view text, uint32_t tab_size,
             const std::vector<std::u16string>& placeholders, uint32_t stop_column = UINT32_MAX,
             uint32_t stop_unit = 0);
  LineLayout() = default;
  // Lays out another line in the same memory, as the constructor does.
  void Lay(std::u16string_view text, uint32_t tab_size,
           const std::vector<std::u16string>& placeholders, uint32_t stop_column = UINT32_MAX,
           uint32_t stop_unit = 0);

  // Whitespace shows in the lines laid out from now on.
  void SetVisibleWhitespace(bool on) { visible_whitespace_ = on; }

  const std::vector<Cell>& Cells() const { return cells_; }
  // The view-line unit a cell shows.
  uint32_t UnitOfCell(size_t cell) const { return cell_units_[cell]; }
  // The display column where a unit starts; units past the end of the line continue after it.
  uint32_t ColumnOfUnit(uint32_t unit) const;
  // Gives the style to the cells whose units lie in [from, to).
  void Highlight(uint32_t from, uint32_t to, CellStyle style);
  // Gives the style to the cells in the display columns [from, to).
  void HighlightColumns(uint32_t from, uint32_t to, CellStyle style);

 private:
  void Add(Cell cell, uint32_t unit);

  std::vector<Cell> cells_;
  std::vector<uint32_t> cell_units_;
  std::vector<uint32_t> unit_columns_;  // by unit, for the units laid out
  uint32_t laid_units_ = 0;
  bool visible_whitespace_ = false;
};

// How many cells a character other than a tab takes in a laid-out line (^X for a control
// character, <xx> for an undecodable byte): the measure word wrap breaks lines by.
uint32_t LaidOutWidth(char32_t code_point);

}  // namespace tavik::app
