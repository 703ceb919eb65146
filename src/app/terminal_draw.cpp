// The screen layout and the drawing of views, tab line, output pane and status bar.
#include "app/terminal_draw.h"

#include <algorithm>
#include <set>
#include <vector>

#include "platform/utf8_codec.h"

namespace tavik::app {

namespace {

std::u16string Number(uint64_t n) {
  return platform::FromUtf8(std::to_string(n));
}

// The code point at `i` (a surrogate pair or one unit) and the units it takes.
char32_t CodePointAt(std::u16string_view text, size_t i, size_t& units) {
  const char16_t c = text[i];
  units = 1;
  if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
      text[i + 1] < 0xE000) {
    units = 2;
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
  }
  return c;
}

}  // namespace

std::vector<size_t> WrapStatusText(std::u16string_view text, int cols,
                                   std::optional<size_t> cursor) {
  std::vector<size_t> starts{0};
  if (cols <= 0) return starts;
  int col = 0;
  for (size_t i = 0; i < text.size();) {
    size_t units = 1;
    const int width = CodePointWidth(CodePointAt(text, i, units));
    const int cells = width < 0 ? 1 : width;
    if (cells > 0 && col + cells > cols && col > 0) {
      starts.push_back(i);
      col = 0;
    }
    col += cells;
    i += units;
  }
  if (cursor && *cursor >= text.size() && col >= cols) starts.push_back(text.size());
  return starts;
}

std::u16string ScreenComposer::ShownName(const platform::Document& document,
                                         bool base_name_only) const {
  if (document.path.empty()) return document.Name();
  std::string path = document.path;
  if (base_name_only) {
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos) path.erase(0, slash + 1);
  } else if (!working_folder_.empty()) {
    const std::string prefix =
        working_folder_.back() == '/' ? working_folder_ : working_folder_ + "/";
    if (path.starts_with(prefix)) path.erase(0, prefix.size());
  }
  return platform::FromUtf8(path);
}

DrawResult ScreenComposer::Draw(platform::EditorHost& host, const DrawRequest& request,
                                ScreenGrid& grid) {
  working_folder_ = request.working_folder;
  // Rows kept from the last draw were drawn in the layers' old order.
  if (const auto order = host.colours().DrawingOrder(); order != drawing_order_) {
    drawing_order_ = order;
    ForgetDrawnRows();
  }
  DrawResult result;
  const int rows = grid.Rows();
  const int cols = grid.Cols();
  if (rows <= 0 || cols <= 0) return result;
  // The rows kept from the last draw are in the grid only when it is the one drawn last time,
  // and not where a long status text covered them.
  if (rows != drawn_grid_rows_ || cols != drawn_grid_cols_ || drew_over_views_) ForgetDrawnRows();
  drew_over_views_ = false;
  drawn_grid_rows_ = rows;
  drawn_grid_cols_ = cols;
  next_rows_.resize(static_cast<size_t>(rows));
  for (DrawnRow& row : next_rows_) row.kept = false;
  next_bands_.clear();

  // Rows: tab line, window, output pane (title and lines), status bar.
  const int status_row = rows - 1;
  int window_top = rows >= 3 ? 1 : 0;
  int window_rows = status_row - window_top;
  int pane_rows = 0;
  const platform::OutputPane& pane = host.output();
  if (request.pane_visible && window_rows >= 4) {
    const int wanted = 1 + std::max<int>(1, static_cast<int>(pane.Lines().size()));
    pane_rows = std::min(wanted, std::max(2, window_rows / 3));
    window_rows -= pane_rows;
  }
  if (window_top == 1) DrawTabLine(host, grid);

  CaretPlace caret;
  std::set<uint64_t> shown_views;
  platform::Window* window = host.ActiveWindow();
  // The views write every cell of their rows; without a window, the rows stay blank.
  if (window == nullptr) {
    for (int r = window_top; r < window_top + window_rows; ++r)
      grid.FillRow(r, 0, CellStyle::kText);
  }
  if (window != nullptr && window_rows > 0) {
    if (window->IsSplit() && window_rows >= 3) {
      const int top_rows = (window_rows - 1) / 2;
      const int bottom_rows = window_rows - 1 - top_rows;
      for (int v = 0; v < 2; ++v) {
        platform::View& view = *window->views[v];
        shown_views.insert(view.Id());
        const int top = v == 0 ? window_top : window_top + top_rows + 1;
        const CaretPlace place =
            DrawView(view, top, v == 0 ? top_rows : bottom_rows, request.block_caret, grid);
        if (v == window->focused) caret = place;
      }
      const int separator = window_top + top_rows;
      grid.FillRow(separator, 0, CellStyle::kSeparator);
      grid.PutText(separator, 0, u" " + ShownName(*window->document, false), CellStyle::kSeparator,
                   cols);
    } else {
      platform::View& view = window->FocusedView();
      shown_views.insert(view.Id());
      caret = DrawView(view, window_top, window_rows, request.block_caret, grid);
    }
  }
  std::erase_if(left_columns_,
                [&](const auto& entry) { return !shown_views.contains(entry.first); });
  if (pane_rows > 0) DrawPane(pane, window_top + window_rows, pane_rows, grid);

  // The document as its path below the working folder, or by its file name when that is long.
  std::u16string right;
  if (window != nullptr) {
    std::u16string tail = window->document->Modified() ? u" [+]" : u"";
    if (window->document->buffer.ReadOnly()) tail += u" [RO]";
    tail += u"  " + Number(caret.line + 1) + u"," + Number(caret.unit_column + 1);
    if (caret.display_column != caret.unit_column) tail += u"-" + Number(caret.display_column + 1);
    right = ShownName(*window->document, false) + tail;
    if (ScreenGrid::TextWidth(request.status_text) + 2 + ScreenGrid::TextWidth(right) > cols)
      right = ShownName(*window->document, true) + tail;
  }
  result.cursor_row = caret.row >= 0 ? caret.row : status_row;
  result.cursor_col = std::min(caret.col, cols - 1);
  if (request.status_whole && ScreenGrid::TextWidth(request.status_text) > cols) {
    const std::vector<size_t> starts =
        WrapStatusText(request.status_text, cols, request.status_cursor);
    // Over the views and the pane, below the tab line; a text taller than that shows its end.
    const int shown = std::min(static_cast<int>(starts.size()), std::max(1, rows - window_top));
    DrawLongStatus(request, starts, rows - shown, grid, result);
    drew_over_views_ = shown > 1;
  } else {
    DrawStatus(request, right, grid, result);
  }
  std::swap(drawn_rows_, next_rows_);
  std::swap(drawn_bands_, next_bands_);
  return result;
}

void ScreenComposer::DrawTabLine(platform::EditorHost& host, ScreenGrid& grid) const {
  const int cols = grid.Cols();
  grid.FillRow(0, 0, CellStyle::kTabLine);
  const auto& documents = host.Documents();
  const platform::Document* active = host.FocusedDocument();
  std::vector<std::u16string> labels;
  size_t active_index = 0;
  for (size_t i = 0; i < documents.size(); ++i) {
    labels.push_back(u" " + ShownName(*documents[i], true) +
                     (documents[i]->Modified() ? u" +" : u"") + u" ");
    if (documents[i].get() == active) active_index = i;
  }
  // Leave out tabs on the left until the active one fits.
  size_t first = 0;
  auto width_from = [&](size_t from) {
    int width = 0;
    for (size_t i = from; i <= active_index && i < labels.size(); ++i)
      width += ScreenGrid::TextWidth(labels[i]) + 1;
    return width;
  };
  while (first < active_index && width_from(first) > cols) ++first;
  int col = 0;
  for (size_t i = first; i < labels.size() && col < cols; ++i) {
    col = grid.PutText(0, col, labels[i],
                       i == active_index ? CellStyle::kTabActive : CellStyle::kTabLine, cols);
    col = grid.PutText(0, col, u"|", CellStyle::kTabLine, cols);
  }
}

void ScreenComposer::WrappedRows(const platform::View& view, const platform::ViewLayout& layout,
                                 uint32_t first, int height, const RowLook& look) {
  rows_.clear();
  const uint32_t view_lines = layout.ViewLineCount();
  const bool folded = !view.Regions().Hiding().empty();
  uint32_t row = view.FirstVisibleRow();
  for (uint32_t view_line = first; rows_.size() < static_cast<size_t>(height); ++view_line) {
    if (view_line >= view_lines) {
      rows_.push_back(RowSource{view_line, 0, 0, look});
      continue;
    }
    const std::vector<uint32_t> starts = layout.RowStarts(view_line);
    // Where the rows start in display columns: the line laid out once.
    if (starts.size() > 1) {
      if (folded) {
        text_ = layout.ViewLineText(view_line);
      } else {
        view.Buffer().ReadLine(view_line, text_);
      }
      std::vector<std::u16string> placeholders;
      if (folded) {
        for (const platform::OutlineRegion* r : layout.RegionsOnViewLine(view_line))
          placeholders.push_back(r->placeholder);
      }
      line_.Lay(text_, view.Preferences().tab_size, placeholders);
    }
    for (row = std::min<uint32_t>(row, static_cast<uint32_t>(starts.size()) - 1);
         row < starts.size() && rows_.size() < static_cast<size_t>(height); ++row) {
      RowSource source{view_line, row, 0, look};
      if (row > 0) source.left = line_.ColumnOfUnit(starts[row]);
      if (row + 1 < starts.size()) source.look.right = line_.ColumnOfUnit(starts[row + 1]);
      if (look.gutter > 0 && row == 0)
        source.look.number = (folded ? layout.FirstBufferLine(view_line) : view_line) + 1;
      rows_.push_back(source);
    }
    row = 0;
  }
}

bool ScreenComposer::FollowLastDraw(const DrawnBand& band,
                                    const platform::HighlightMarkers& markers) {
  if (drawn_rows_.size() != next_rows_.size()) return false;
  for (const DrawnBand& drawn : drawn_bands_) {
    DrawnBand same = band;
    same.first = drawn.first;
    same.lines_version = drawn.lines_version;
    if (!(same == drawn)) continue;
    const auto changes = markers.ChangesSince(drawn.lines_version);
    if (!changes) return false;
    for (int r = 0; r < band.height; ++r) {
      // The line this row shows, where it was at the last draw: back through the changes since.
      std::optional<uint32_t> line = band.first + static_cast<uint32_t>(r);
      for (auto change = changes->rbegin(); line && change != changes->rend(); ++change) {
        if (*line < change->first) continue;
        if (*line - change->first < change->new_count) {
          line.reset();
        } else {
          *line = *line - change->new_count + change->old_count;
        }
      }
      // A row with a line number shows the same only on the same line.
      if (line && band.gutter > 0 && *line != band.first + static_cast<uint32_t>(r)) line.reset();
      if (line && *line >= drawn.first && *line - drawn.first < static_cast<uint32_t>(band.height))
        sources_[static_cast<size_t>(r)] = band.top + static_cast<int>(*line - drawn.first);
    }
    return true;
  }
  return false;
}

int ScreenComposer::KeptRow(int row, int top, int height, bool past_end, uint32_t left,
                            uint32_t tab_size, const RowLook& look) const {
  // A row may have been drawn on the same screen row, or one row away when the view scrolled
  // by a line or lines were deleted or put back above it.
  for (const int from : {row, row + 1, row - 1}) {
    if (from < top || from >= top + height || static_cast<size_t>(from) >= drawn_rows_.size())
      continue;
    const DrawnRow& drawn = drawn_rows_[static_cast<size_t>(from)];
    if (drawn.kept && drawn.past_end == past_end && drawn.left == left &&
        drawn.tab_size == tab_size && drawn.look == look && drawn.text == text_ &&
        drawn.marks == row_marks_) {
      return from;
    }
  }
  return -1;
}

void ScreenComposer::DrawLine(int row, std::u16string_view text, const std::vector<RowMark>& marks,
                              const std::vector<std::u16string>& placeholders, uint32_t left,
                              uint32_t tab_size, const RowLook& look, ScreenGrid& grid) {
  const int cols = grid.Cols();
  grid.FillRow(row, 0, CellStyle::kText);
  int col = 0;
  if (look.gutter > 0) {
    const std::u16string number = look.number > 0 ? Number(look.number) : u"";
    const auto width = static_cast<int>(look.gutter);
    grid.PutText(row, std::max(0, width - 1 - static_cast<int>(number.size())), number,
                 CellStyle::kLineNumber, width - 1);
    col = width;
  }
  // A wrapped row shows the display columns [left, right) of its line.
  const uint32_t shown = static_cast<uint32_t>(cols - col);
  const uint32_t right = std::min<uint64_t>(look.right, uint64_t{left} + shown);
  LineLayout& line = line_;
  line.Lay(text, tab_size, placeholders, right);
  CellStyle past_end = CellStyle::kText;  // a span going on past the line end shows one cell
  for (const RowMark& mark : marks) {
    if (mark.columns) {
      line.HighlightColumns(mark.from, mark.to, mark.style);
    } else {
      line.Highlight(mark.from, mark.to, mark.style);
      if (mark.to == UINT32_MAX) past_end = mark.style;
    }
  }
  const std::vector<Cell>& cells = line.Cells();
  for (size_t k = left; k < cells.size() && k < right && col < cols; ++k) {
    Cell cell = cells[k];
    if (cell.width == 0 && k == left) cell = Cell{U' ', 0, 1, cell.style};
    if (cell.width == 0) continue;
    col = grid.Put(row, col, cell);
  }
  if (past_end != CellStyle::kText && look.right == UINT32_MAX && cells.size() >= left &&
      col < cols) {
    grid.Put(row, col, Cell{U' ', 0, 1, past_end});
  }
}

void ScreenComposer::DrawPane(const platform::OutputPane& pane, int top, int height,
                              ScreenGrid& grid) const {
  const int cols = grid.Cols();
  grid.FillRow(top, 0, CellStyle::kPaneTitle);
  grid.PutText(top, 0, u" Output (F9 hides)", CellStyle::kPaneTitle, cols);
  const auto& lines = pane.Lines();
  const int shown = height - 1;
  const size_t first = lines.size() > static_cast<size_t>(shown) ? lines.size() - shown : 0;
  for (int r = 0; r < shown; ++r) {
    grid.FillRow(top + 1 + r, 0, CellStyle::kPaneText);
    if (first + r < lines.size()) {
      grid.PutText(top + 1 + r, 0, lines[first + r], CellStyle::kPaneText, cols);
    }
  }
}

void ScreenComposer::DrawStatus(const DrawRequest& request, const std::u16string& right,
                                ScreenGrid& grid, DrawResult& result) const {
  const int row = grid.Rows() - 1;
  const int cols = grid.Cols();
  grid.FillRow(row, 0, CellStyle::kStatus);
  const int left_width = ScreenGrid::TextWidth(request.status_text);
  const int right_width = ScreenGrid::TextWidth(right);
  // The engine's text comes first: the document part gives way when both do not fit.
  if (!right.empty() && left_width + 2 + right_width <= cols) {
    grid.PutText(row, cols - right_width, right, CellStyle::kStatus, cols);
  }
  grid.PutText(row, 0, request.status_text, CellStyle::kStatus, cols);
  if (request.status_cursor) {
    const size_t at = std::min(*request.status_cursor, request.status_text.size());
    result.cursor_row = row;
    result.cursor_col = std::min(
        cols - 1, ScreenGrid::TextWidth(std::u16string_view(request.status_text).substr(0, at)));
  }
}

void ScreenComposer::DrawLongStatus(const DrawRequest& request, const std::vector<size_t>& starts,
                                    int top, ScreenGrid& grid, DrawResult& result) const {
  const int rows = grid.Rows();
  const int cols = grid.Cols();
  const std::u16string_view text = request.status_text;
  // The rows that fit are the last ones of the text.
  const size_t first = starts.size() - static_cast<size_t>(rows - top);
  for (int row = top; row < rows; ++row) {
    const size_t k = first + static_cast<size_t>(row - top);
    const size_t from = starts[k];
    const size_t to = k + 1 < starts.size() ? starts[k + 1] : text.size();
    grid.FillRow(row, 0, CellStyle::kStatus);
    grid.PutText(row, 0, text.substr(from, to - from), CellStyle::kStatus, cols);
  }
  if (!request.status_cursor) return;
  const size_t at = std::min(*request.status_cursor, text.size());
  size_t k = first;
  while (k + 1 < starts.size() && starts[k + 1] <= at) ++k;
  result.cursor_row = top + static_cast<int>(k - first);
  result.cursor_col =
      std::min(cols - 1, ScreenGrid::TextWidth(text.substr(starts[k], at - starts[k])));
}

}  // namespace tavik::app
