// Drawing one view: its frame (number column, wrap width, lines shown), the caret and the
// sideways scroll, rows taken over from the last draw, the highlights of the lines shown, and
// the rows laid out again.
#include <algorithm>
#include <string>
#include <vector>

#include "app/terminal_draw.h"

namespace tavik::app {

namespace {

using platform::HighlightKind;
using platform::HighlightSpan;

// The cell style of each highlight layer, whose colours come from the layer's display item.
constexpr CellStyle StyleOfLayer(HighlightKind kind) {
  switch (kind) {
    case HighlightKind::kSelection:
      return CellStyle::kSelection;
    case HighlightKind::kSearch:
      return CellStyle::kSearch;
    case HighlightKind::kIncSearch:
      return CellStyle::kIncSearch;
  }
  return CellStyle::kText;
}

}  // namespace

std::vector<std::u16string> ScreenComposer::ViewFrame::PlaceholdersOf(uint32_t view_line) const {
  std::vector<std::u16string> texts;
  if (folded) {
    for (const platform::OutlineRegion* r : layout.RegionsOnViewLine(view_line))
      texts.push_back(r->placeholder);
  }
  return texts;
}

ViewPos ScreenComposer::ViewFrame::ToView(TextPos pos) const {
  return folded ? layout.BufferToView(pos) : ViewPos{pos.line, pos.column};
}

ScreenComposer::ViewFrame ScreenComposer::FrameView(platform::View& view, int top, int height,
                                                    int cols) {
  const platform::ViewPreferences& prefs = view.Preferences();
  const platform::TextBuffer& buffer = view.Buffer();
  // The number column: the widest line number and a blank, at least four columns.
  RowLook look;
  look.whitespace = prefs.visible_whitespace;
  if (prefs.line_numbers) {
    const auto digits = static_cast<uint32_t>(std::to_string(buffer.LineCount()).size());
    look.gutter = std::max<uint32_t>(3, digits) + 1;
    if (look.gutter + 1 >= static_cast<uint32_t>(cols)) look.gutter = 0;
  }
  const auto text_cols = static_cast<uint32_t>(cols) - look.gutter;
  // Word wrap breaks lines at the width the text is shown in; the view lays them out.
  const bool width_changed = prefs.word_wrap && view.WrapWidth() != text_cols;
  view.SetWrapWidth(text_cols, &LaidOutWidth);
  if (view.VisibleLineCount() != static_cast<uint32_t>(height) || width_changed) {
    view.SetVisibleLineCount(static_cast<uint32_t>(height));
    view.ScrollToCaret();
  }
  const platform::ViewLayout layout = view.Layout();
  const uint32_t view_lines = layout.ViewLineCount();
  return ViewFrame{.view = view,
                   .buffer = buffer,
                   .layout = layout,
                   .top = top,
                   .height = height,
                   .look = look,
                   .text_cols = text_cols,
                   .tab_size = prefs.tab_size,
                   .view_lines = view_lines,
                   .first = std::min(view.FirstVisibleLine(), view_lines - 1),
                   .wrapping = layout.Wraps(),
                   .folded = !view.Regions().Hiding().empty()};
}

ScreenComposer::CaretPlace ScreenComposer::PlaceCaret(ViewFrame& frame, bool block_caret,
                                                      uint32_t& left) {
  CaretPlace place;
  // The caret's display column decides the horizontal scroll.
  const TextPos caret = frame.view.Caret();
  const ViewPos caret_view = frame.ToView(caret);
  {
    std::u16string& text = text_;
    if (frame.folded) {
      text = frame.layout.ViewLineText(caret_view.line);
    } else {
      frame.buffer.ReadLine(caret.line, text);
    }
    line_.Lay(text, frame.tab_size, frame.PlaceholdersOf(caret_view.line), 0,
              caret_view.column + 1);
    place.display_column = line_.ColumnOfUnit(caret_view.column);
    // A block caret covers the whole tab; the cursor stands on its last column.
    if (block_caret && caret_view.column < text.size() && text[caret_view.column] == u'\t')
      place.display_column = line_.ColumnOfUnit(caret_view.column + 1) - 1;
  }
  place.line = caret.line;
  place.unit_column = caret.column;
  const int top = frame.top;
  if (frame.wrapping) {
    // Wrapped lines need no sideways scrolling: each row starts where the one above ended.
    left = 0;
    const std::vector<uint32_t> starts = frame.layout.RowStarts(caret_view.line);
    const uint32_t caret_row = platform::RowOfColumn(starts, caret_view.column);
    // Lines that grew by wrapping may push the caret's row out of the view: bring it back.
    for (int attempt = 0; attempt < 2 && place.row < 0; ++attempt) {
      if (attempt == 1) {
        frame.view.ScrollToCaret();
        frame.first = std::min(frame.view.FirstVisibleLine(), frame.view_lines - 1);
      }
      WrappedRows(frame.view, frame.layout, frame.first, frame.height, frame.look);
      for (size_t r = 0; r < rows_.size(); ++r) {
        if (rows_[r].view_line != caret_view.line || rows_[r].row != caret_row) continue;
        place.row = top + static_cast<int>(r);
        const uint32_t in_row =
            place.display_column - std::min(place.display_column, rows_[r].left);
        place.col = static_cast<int>(frame.look.gutter + std::min(in_row, frame.text_cols - 1));
      }
    }
  } else {
    // A caret that leaves the view sideways brings it half a screen along, so that typing on
    // or moving along a long line scrolls the view once every half screen, not on every key.
    const uint32_t half = frame.text_cols / 2;
    if (place.display_column < left)
      left = place.display_column > half ? place.display_column - half : 0;
    if (place.display_column >= left + frame.text_cols) left = place.display_column - half;
    if (caret_view.line >= frame.first &&
        caret_view.line < frame.first + static_cast<uint32_t>(frame.height)) {
      place.row = top + static_cast<int>(caret_view.line - frame.first);
      place.col = static_cast<int>(frame.look.gutter + place.display_column - left);
    }
  }
  return place;
}

bool ScreenComposer::TakeOverBand(const ViewFrame& frame, uint32_t left) {
  const int top = frame.top;
  const int height = frame.height;
  const platform::ViewSelection& selection = frame.view.Selection();
  // An empty selection shows nothing, wherever it is (it follows the caret).
  const DrawnBand band{.top = top,
                       .height = height,
                       .view = frame.view.Id(),
                       .lines_version = frame.buffer.Markers().Version(),
                       .first = frame.first,
                       .left = left,
                       .tab_size = frame.tab_size,
                       .gutter = frame.look.gutter,
                       .whitespace = frame.look.whitespace,
                       .selection = selection.Empty() ? platform::ViewSelection{} : selection};
  next_bands_.push_back(band);
  if (!FollowLastDraw(band, frame.buffer.Markers())) return false;
  bool all_stay = true;
  for (int r = 0; r < height; ++r) {
    const int from = sources_[static_cast<size_t>(r)];
    all_stay = all_stay && from == top + r;
    // Taken over, not copied: a row of the last frame is used once.
    if (from >= 0)
      std::swap(next_rows_[static_cast<size_t>(top + r)], drawn_rows_[static_cast<size_t>(from)]);
  }
  return all_stay;
}

void ScreenComposer::LineRows(const ViewFrame& frame, uint32_t left) {
  // One row for each view line from the first, all scrolled sideways alike.
  rows_.resize(static_cast<size_t>(frame.height));
  for (int r = 0; r < frame.height; ++r) {
    RowSource& source = rows_[static_cast<size_t>(r)];
    source.view_line = frame.first + static_cast<uint32_t>(r);
    source.row = 0;
    source.left = left;
    source.look = frame.look;
    if (frame.look.gutter > 0 && source.view_line < frame.view_lines)
      source.look.number =
          (frame.folded ? frame.layout.FirstBufferLine(source.view_line) : source.view_line) + 1;
  }
}

void ScreenComposer::GatherHighlights(const ViewFrame& frame) {
  const platform::ViewLayout& layout = frame.layout;
  const platform::TextBuffer& buffer = frame.buffer;
  const platform::View& view = frame.view;
  const uint32_t first = frame.first;
  const uint32_t view_lines = frame.view_lines;
  const uint32_t last_shown = rows_.empty() ? first : rows_.back().view_line;
  const uint32_t last = std::min(view_lines - 1, std::max(first, last_shown));
  const uint32_t first_buffer_line = frame.folded ? layout.FirstBufferLine(first) : first;
  const uint32_t last_buffer_line =
      frame.folded
          ? (last + 1 < view_lines ? layout.FirstBufferLine(last + 1) : buffer.LineCount() - 1)
          : last;
  ViewHighlights& h = highlights_;
  h.spans.clear();
  // Layers of higher priority are drawn over the others; the host's own selection goes with the
  // selection layer.
  for (const HighlightKind kind : drawing_order_) {
    h.found.clear();
    buffer.Markers().Overlapping(kind, first_buffer_line, last_buffer_line, h.found);
    for (const HighlightSpan& s : h.found) h.spans.emplace_back(s, StyleOfLayer(kind));
    if (kind == HighlightKind::kSelection && !view.Selection().Empty() && !view.Selection().block) {
      h.spans.emplace_back(HighlightSpan{view.Selection().Start(), view.Selection().End()},
                           CellStyle::kHostSelection);
    }
  }
  h.view_spans.clear();
  for (const auto& [span, style] : h.spans)
    h.view_spans.emplace_back(frame.ToView(span.start), frame.ToView(span.end));

  // A block selection covers the same display columns on each of its lines.
  h.block_left = h.block_right = 0;
  h.block_top = 1;  // its view lines; none when there is none
  h.block_bottom = 0;
  const platform::ViewSelection& selection = view.Selection();
  if (selection.block && !selection.Empty()) {
    auto column_of = [&](TextPos pos) {
      const ViewPos vp = frame.ToView(pos);
      const std::u16string text =
          frame.folded ? layout.ViewLineText(vp.line) : buffer.Line(pos.line);
      return LineLayout(text, frame.tab_size, frame.PlaceholdersOf(vp.line), 0, vp.column + 1)
          .ColumnOfUnit(vp.column);
    };
    const uint32_t a = column_of(selection.anchor);
    const uint32_t b = column_of(selection.active);
    h.block_left = std::min(a, b);
    h.block_right = std::max(a, b) + 1;
    const uint32_t anchor_line = frame.ToView(selection.anchor).line;
    const uint32_t active_line = frame.ToView(selection.active).line;
    h.block_top = std::min(anchor_line, active_line);
    h.block_bottom = std::max(anchor_line, active_line);
  }
}

void ScreenComposer::MarksOf(uint32_t view_line, std::vector<RowMark>& marks) const {
  const ViewHighlights& h = highlights_;
  for (size_t i = 0; i < h.spans.size(); ++i) {
    const auto& [from, to] = h.view_spans[i];
    if (from.line > view_line || to.line < view_line) continue;
    const uint32_t start = from.line < view_line ? 0 : from.column;
    // UINT32_MAX only for a span going on past the line end.
    const uint32_t end = to.line > view_line ? UINT32_MAX : std::min(to.column, UINT32_MAX - 1);
    marks.push_back(RowMark{start, end, h.spans[i].second, false});
  }
  if (view_line >= h.block_top && view_line <= h.block_bottom)
    marks.push_back(RowMark{h.block_left, h.block_right, CellStyle::kHostSelection, true});
}

void ScreenComposer::CollectRows(const ViewFrame& frame) {
  // Each row's text and marks first; rows drawn from the same as last time keep their cells,
  // the others are laid out once the kept ones have moved into place.
  std::u16string& text = text_;
  uint32_t read_line = UINT32_MAX;  // the view line in `text` and `row_marks_`
  for (int r = 0; r < frame.height; ++r) {
    const RowSource& source = rows_[static_cast<size_t>(r)];
    const uint32_t view_line = source.view_line;
    const int row = frame.top + r;
    if (sources_[static_cast<size_t>(r)] >= 0) continue;
    const bool past_end = view_line >= frame.view_lines;
    if (view_line != read_line || past_end) {
      text.clear();
      row_marks_.clear();
      read_line = past_end ? UINT32_MAX : view_line;
      if (!past_end) {
        if (frame.folded) {
          text = frame.layout.ViewLineText(view_line);
        } else {
          frame.buffer.ReadLine(view_line, text);
        }
        MarksOf(view_line, row_marks_);
      }
    }
    DrawnRow& drawn = next_rows_[static_cast<size_t>(row)];
    // Collapsed regions show placeholder texts the key leaves out: those rows are always laid
    // out.
    if (!frame.folded) {
      if (const int from = KeptRow(row, frame.top, frame.height, past_end, source.left,
                                   frame.tab_size, source.look);
          from >= 0) {
        // Taken over, not copied: a row of the last frame is used once, or laid out again.
        std::swap(drawn, drawn_rows_[static_cast<size_t>(from)]);
        sources_[static_cast<size_t>(r)] = from;
        continue;
      }
    }
    drawn.kept = !frame.folded;
    drawn.past_end = past_end;
    drawn.text = text;
    drawn.left = source.left;
    drawn.tab_size = frame.tab_size;
    drawn.marks = row_marks_;
    drawn.look = source.look;
  }
}

void ScreenComposer::PaintRows(const ViewFrame& frame, ScreenGrid& grid) {
  grid.MoveRows(frame.top, sources_);
  const std::vector<std::u16string> no_placeholders;
  for (int r = 0; r < frame.height; ++r) {
    if (sources_[static_cast<size_t>(r)] >= 0) continue;
    const int row = frame.top + r;
    const DrawnRow& drawn = next_rows_[static_cast<size_t>(row)];
    if (drawn.past_end) {
      grid.FillRow(row, 0, CellStyle::kText);
      grid.Put(row, 0, Cell{U'~', 0, 1, CellStyle::kEmptyLine});
      continue;
    }
    const uint32_t view_line = rows_[static_cast<size_t>(r)].view_line;
    DrawLine(row, drawn.text, drawn.marks,
             frame.folded ? frame.PlaceholdersOf(view_line) : no_placeholders, drawn.left,
             frame.tab_size, drawn.look, grid);
  }
}

ScreenComposer::CaretPlace ScreenComposer::DrawView(platform::View& view, int top, int height,
                                                    bool block_caret, ScreenGrid& grid) {
  if (height <= 0) return {};
  ViewFrame frame = FrameView(view, top, height, grid.Cols());
  line_.SetVisibleWhitespace(frame.look.whitespace);
  uint32_t& left = left_columns_[view.Id()];
  const CaretPlace place = PlaceCaret(frame, block_caret, left);
  // Rows whose lines neither changed nor left the view since the last draw keep their cells,
  // moved along when the view scrolled or lines were taken out or put in above them. With
  // nothing changed (the caret moved, say) they all stay.
  sources_.assign(static_cast<size_t>(height), -1);
  if (!frame.folded && !frame.wrapping && TakeOverBand(frame, left)) return place;
  if (!frame.wrapping) LineRows(frame, left);
  GatherHighlights(frame);
  CollectRows(frame);
  PaintRows(frame, grid);
  return place;
}

}  // namespace tavik::app
