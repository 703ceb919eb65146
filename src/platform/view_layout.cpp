// Mapping between buffer and view coordinates over the hiding regions, which are few: each
// operation walks them in order.
#include "platform/view_layout.h"

#include <algorithm>

namespace tavik::platform {

uint32_t ViewLayout::ViewLineCount() const {
  uint32_t hidden = 0;
  for (const OutlineRegion* r : regions_.Hiding()) hidden += r->end.line - r->start.line;
  return buffer_.LineCount() - hidden;
}

uint32_t ViewLayout::HeadLine(uint32_t line) const {
  const auto& hiding = regions_.Hiding();
  for (auto it = hiding.rbegin(); it != hiding.rend(); ++it) {
    const OutlineRegion& r = **it;
    if (r.start.line < line && line <= r.end.line) line = r.start.line;
  }
  return line;
}

uint32_t ViewLayout::HiddenLinesBefore(uint32_t line) const {
  uint32_t hidden = 0;
  for (const OutlineRegion* r : regions_.Hiding()) {
    if (r->end.line >= line) break;
    hidden += r->end.line - r->start.line;
  }
  return hidden;
}

uint32_t ViewLayout::FirstBufferLine(uint32_t view_line) const {
  uint32_t line = view_line;
  for (const OutlineRegion* r : regions_.Hiding()) {
    if (r->start.line >= line) break;
    line += r->end.line - r->start.line;
  }
  return std::min(line, buffer_.LineCount() - 1);
}

std::vector<ViewLayout::Piece> ViewLayout::Pieces(uint32_t head) const {
  std::vector<Piece> pieces;
  const auto& hiding = regions_.Hiding();
  auto it = std::lower_bound(hiding.begin(), hiding.end(), head,
                             [](const OutlineRegion* r, uint32_t l) { return r->start.line < l; });
  TextPos cur{head, 0};
  for (; it != hiding.end() && (*it)->start.line == cur.line; ++it) {
    const OutlineRegion* r = *it;
    pieces.push_back({cur.line, cur.column, r->start.column, nullptr});
    pieces.push_back({0, 0, 0, r});
    cur = r->end;
  }
  pieces.push_back({cur.line, cur.column, buffer_.LineLength(cur.line), nullptr});
  return pieces;
}

ViewPos ViewLayout::BufferToView(TextPos pos) const {
  if (pos.line >= buffer_.LineCount()) return {};
  const uint32_t head = HeadLine(pos.line);
  const uint32_t view_line = head - HiddenLinesBefore(head);
  uint32_t column = 0;
  const std::vector<Piece> pieces = Pieces(head);
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = pieces[i];
    if (p.region != nullptr) {
      if (p.region->start < pos && pos < p.region->end) return {view_line, column};
      column += 1;
      continue;
    }
    const bool last = i + 1 == pieces.size();
    if (pos.line == p.line && p.from <= pos.column && (pos.column <= p.to || last)) {
      return {view_line, column + (pos.column - p.from)};
    }
    column += p.to - p.from;
  }
  return {view_line, column};
}

TextPos ViewLayout::ViewToBuffer(ViewPos pos) const {
  const uint32_t head = FirstBufferLine(pos.line);
  uint32_t column = 0;
  const std::vector<Piece> pieces = Pieces(head);
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece& p = pieces[i];
    if (p.region != nullptr) {
      if (pos.column == column) return p.region->start;
      column += 1;
      continue;
    }
    const uint32_t length = p.to - p.from;
    if (pos.column <= column + length || i + 1 == pieces.size()) {
      return {p.line, p.from + (pos.column - column)};
    }
    column += length;
  }
  return {head, 0};
}

std::u16string ViewLayout::ViewLineText(uint32_t view_line) const {
  std::u16string text;
  std::u16string line;
  uint32_t read_line = UINT32_MAX;
  for (const Piece& p : Pieces(FirstBufferLine(view_line))) {
    if (p.region != nullptr) {
      text.push_back(kPlaceholderUnit);
      continue;
    }
    if (read_line != p.line) buffer_.ReadLine(read_line = p.line, line);
    text.append(line, p.from, p.to - p.from);
  }
  return text;
}

std::vector<const OutlineRegion*> ViewLayout::RegionsOnViewLine(uint32_t view_line) const {
  std::vector<const OutlineRegion*> regions;
  for (const Piece& p : Pieces(FirstBufferLine(view_line))) {
    if (p.region != nullptr) regions.push_back(p.region);
  }
  return regions;
}

const OutlineRegion* ViewLayout::HidingRegionAt(TextPos pos) const {
  for (const OutlineRegion* r : regions_.Hiding()) {
    if (r->start > pos) break;
    if (pos < r->end) return r;
  }
  return nullptr;
}

// ---- Display rows ----

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

uint32_t TextWidth(std::u16string_view text, CellWidthFunction cell_width) {
  if (cell_width == nullptr) return static_cast<uint32_t>(text.size());
  uint32_t width = 0;
  for (char16_t c : text) width += cell_width(c);
  return width;
}

}  // namespace

std::vector<uint32_t> ViewLayout::RowStartsOf(std::u16string_view text,
                                              const std::vector<uint32_t>& placeholder_widths,
                                              const WrapShape& wrap) {
  std::vector<uint32_t> starts{0};
  if (wrap.width == 0) return starts;
  const uint32_t tab = wrap.tab_size == 0 ? 8 : wrap.tab_size;
  std::vector<uint32_t> columns(text.size() + 1, 0);  // display column where each unit starts
  size_t next_placeholder = 0;
  uint32_t column = 0;
  uint32_t row_unit = 0;
  uint32_t row_column = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    columns[i] = column;
    size_t units = 1;
    uint32_t width = 1;
    if (c == u'\t') {
      width = tab - column % tab;
    } else if (c == kPlaceholderUnit && next_placeholder < placeholder_widths.size()) {
      width = placeholder_widths[next_placeholder];
    } else if (wrap.cell_width != nullptr) {
      char32_t cp = c;
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
          text[i + 1] < 0xE000) {
        cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        units = 2;
      }
      width = wrap.cell_width(cp);
    }
    // A unit that does not fit starts a new row; the row breaks after its last blank when it
    // has one, so that words stay whole. Blanks hang past the end of the row instead, and a
    // unit alone on its row stays however wide it is.
    if (column + width > row_column + wrap.width && i > row_unit && !IsBlank(c)) {
      uint32_t at = static_cast<uint32_t>(i);
      // Blanks that indent the row are no place to break it.
      uint32_t word = row_unit;
      while (word < i && IsBlank(text[word])) ++word;
      for (uint32_t p = static_cast<uint32_t>(i); p > word + 1; --p) {
        if (IsBlank(text[p - 1]) && !IsBlank(text[p])) {
          at = p;
          break;
        }
      }
      starts.push_back(at);
      row_unit = at;
      row_column = columns[at];
      if (column + width > row_column + wrap.width && i > row_unit) continue;
    }
    for (size_t k = 0; k < units; ++k) columns[i + k] = column;
    if (c == kPlaceholderUnit && next_placeholder < placeholder_widths.size()) ++next_placeholder;
    column += width;
    i += units;
  }
  return starts;
}

std::vector<uint32_t> ViewLayout::RowStarts(uint32_t view_line) const {
  if (!Wraps()) return {0};
  if (regions_.Hiding().empty()) {
    if (view_line >= buffer_.LineCount()) return {0};
    std::u16string text;
    buffer_.ReadLine(view_line, text);
    return RowStartsOf(text, {}, wrap_);
  }
  std::vector<uint32_t> widths;
  for (const OutlineRegion* r : RegionsOnViewLine(view_line)) {
    widths.push_back(r->placeholder.empty() ? 3 : TextWidth(r->placeholder, wrap_.cell_width));
  }
  return RowStartsOf(ViewLineText(view_line), widths, wrap_);
}

uint32_t ViewLayout::RowCount(uint32_t view_line) const {
  return static_cast<uint32_t>(RowStarts(view_line).size());
}

uint32_t ViewLayout::RowOf(ViewPos pos) const {
  return RowOfColumn(RowStarts(pos.line), pos.column);
}

uint32_t RowOfColumn(const std::vector<uint32_t>& row_starts, uint32_t column) {
  const auto after = std::upper_bound(row_starts.begin(), row_starts.end(), column);
  return after == row_starts.begin() ? 0 : static_cast<uint32_t>(after - row_starts.begin() - 1);
}

}  // namespace tavik::platform
