// Walking display rows through the host's row starts.
#include "engine/text/display_rows.h"

#include <algorithm>
#include <vector>

#include "engine/state/view_state.h"

namespace tavik {
namespace {

uint32_t RowOf(const std::vector<uint32_t>& starts, uint32_t column) {
  const auto after = std::upper_bound(starts.begin(), starts.end(), column);
  return after == starts.begin() ? 0 : static_cast<uint32_t>(after - starts.begin() - 1);
}

uint32_t RowCount(const TextView& view, uint32_t line) {
  return static_cast<uint32_t>(view.DisplayRowStarts(line).size());
}

}  // namespace

DisplayRow DisplayRowOf(const TextView& view, TextPos pos) {
  const ViewPos at = view.BufferToView(pos);
  return {at.line, RowOf(view.DisplayRowStarts(at.line), at.column)};
}

uint32_t MoveDisplayRows(const TextView& view, DisplayRow& at, int64_t steps) {
  const uint32_t last = view.ViewLineCount() - 1;
  uint32_t moved = 0;
  at.line = std::min(at.line, last);
  at.row = std::min(at.row, RowCount(view, at.line) - 1);
  for (; steps > 0; --steps, ++moved) {
    if (at.row + 1 < RowCount(view, at.line)) {
      ++at.row;
    } else if (at.line < last) {
      at = {at.line + 1, 0};
    } else {
      break;
    }
  }
  for (; steps < 0; ++steps, ++moved) {
    if (at.row > 0) {
      --at.row;
    } else if (at.line > 0) {
      --at.line;
      at.row = RowCount(view, at.line) - 1;
    } else {
      break;
    }
  }
  return moved;
}

ViewPos AtDisplayColumn(const TextView& view, DisplayRow at, uint32_t desired, uint32_t from_line) {
  const std::vector<uint32_t> starts = view.DisplayRowStarts(at.line);
  const uint32_t row = std::min<uint32_t>(at.row, static_cast<uint32_t>(starts.size()) - 1);
  const uint32_t length = view.ViewLineLength(at.line);
  const uint32_t row_end = row + 1 < starts.size() ? starts[row + 1] - 1 : length;
  if (desired == kDesiredColumnEndOfLine) return {at.line, row_end};
  // Where the desired column falls on the line the move starts from, and how far into its row.
  const std::vector<uint32_t> from_starts =
      from_line == at.line ? starts : view.DisplayRowStarts(from_line);
  uint32_t from_row = 0;
  while (from_row + 1 < from_starts.size() &&
         view.ViewVirtualColumn(from_line, from_starts[from_row + 1]) <= desired) {
    ++from_row;
  }
  const uint32_t offset = desired - view.ViewVirtualColumn(from_line, from_starts[from_row]);
  uint32_t column =
      view.ViewColumnOfVirtual(at.line, view.ViewVirtualColumn(at.line, starts[row]) + offset);
  column = std::clamp(column, starts[row], std::max(starts[row], row_end));
  return {at.line, std::min(column, length)};
}

}  // namespace tavik
