// Display rows: with word wrap the host shows a long view line as several rows. gj and gk, H, M
// and L, CTRL-D and CTRL-U count these rows; without wrapping every view line is one row.
#pragma once

#include <cstdint>

#include "common/text_pos.h"
#include "engine/text/text_view.h"

namespace tavik {

struct DisplayRow {
  uint32_t line = 0;  // view line
  uint32_t row = 0;   // row of that line
  friend bool operator==(const DisplayRow&, const DisplayRow&) = default;
};

// The row a position is shown on.
DisplayRow DisplayRowOf(const TextView& view, TextPos pos);
// Moves `steps` rows down (positive) or up, stopping at the first and the last row; returns
// how many rows it moved.
uint32_t MoveDisplayRows(const TextView& view, DisplayRow& at, int64_t steps);
// The view position on a row at the desired display column (or its end), the column keeping
// its distance from the start of the row it falls in on the view line `from_line`.
ViewPos AtDisplayColumn(const TextView& view, DisplayRow at, uint32_t desired, uint32_t from_line);

}  // namespace tavik
