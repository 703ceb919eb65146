// View-line layout: one pass over the units, producing cells.
#include "app/terminal_line_layout.h"

#include <algorithm>

namespace tavik::app {

namespace {

constexpr char16_t kPlaceholderUnit = 0xFFFC;
constexpr char16_t kRawByteFirst = 0xDC80;
constexpr char16_t kRawByteLast = 0xDCFF;
constexpr char kHex[] = "0123456789abcdef";
constexpr char32_t kTabGlyph = U'\u2192';    // →
constexpr char32_t kBlankGlyph = U'\u00B7';  // ·

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

}  // namespace

LineLayout::LineLayout(std::u16string_view text, uint32_t tab_size,
                       const std::vector<std::u16string>& placeholders, uint32_t stop_column,
                       uint32_t stop_unit) {
  Lay(text, tab_size, placeholders, stop_column, stop_unit);
}

void LineLayout::Lay(std::u16string_view text, uint32_t tab_size,
                     const std::vector<std::u16string>& placeholders, uint32_t stop_column,
                     uint32_t stop_unit) {
  cells_.clear();
  cell_units_.clear();
  unit_columns_.clear();
  if (tab_size == 0) tab_size = 8;
  size_t next_placeholder = 0;
  size_t i = 0;
  unit_columns_.reserve(std::min<size_t>(text.size(), 4096));
  // Blanks from here on are trailing ones.
  size_t trailing = text.size();
  if (visible_whitespace_) {
    while (trailing > 0 && IsBlank(text[trailing - 1])) --trailing;
  }
  while (i < text.size()) {
    if (cells_.size() >= stop_column && i >= stop_unit) break;
    const auto unit = static_cast<uint32_t>(i);
    const auto column = static_cast<uint32_t>(cells_.size());
    const char16_t c = text[i];
    size_t units = 1;
    if (c == u'\t') {
      const uint32_t spaces = tab_size - column % tab_size;
      if (visible_whitespace_) {
        Add(Cell{kTabGlyph, 0, 1, CellStyle::kWhitespace}, unit);
        for (uint32_t s = 1; s < spaces; ++s) Add(Cell{U' ', 0, 1, CellStyle::kWhitespace}, unit);
      } else {
        for (uint32_t s = 0; s < spaces; ++s) Add(Cell{U' ', 0, 1, CellStyle::kText}, unit);
      }
    } else if (c == u' ' && i >= trailing) {
      Add(Cell{kBlankGlyph, 0, 1, CellStyle::kWhitespace}, unit);
    } else if (c == kPlaceholderUnit && next_placeholder < placeholders.size()) {
      const std::u16string& shown = placeholders[next_placeholder++];
      ScreenGrid scratch;
      const int width = std::max(1, ScreenGrid::TextWidth(shown));
      scratch.Resize(1, width);
      scratch.PutText(0, 0, shown.empty() ? u"..." : shown, CellStyle::kPlaceholder, width);
      for (int k = 0; k < width; ++k) {
        Cell cell = scratch.At(0, k);
        cell.style = CellStyle::kPlaceholder;
        Add(cell, unit);
      }
    } else if (c < 0x20 || c == 0x7F) {
      Add(Cell{U'^', 0, 1, CellStyle::kSpecialChar}, unit);
      Add(Cell{c == 0x7F ? U'?' : static_cast<char32_t>(c + 64), 0, 1, CellStyle::kSpecialChar},
          unit);
    } else if (c >= kRawByteFirst && c <= kRawByteLast) {
      const unsigned byte = c - 0xDC00u;
      for (char32_t shown : {U'<', static_cast<char32_t>(kHex[byte >> 4]),
                             static_cast<char32_t>(kHex[byte & 15]), U'>'}) {
        Add(Cell{shown, 0, 1, CellStyle::kSpecialChar}, unit);
      }
    } else {
      char32_t cp = c;
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
          text[i + 1] < 0xE000) {
        cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        units = 2;
      } else if (c >= 0xD800 && c < 0xE000) {
        cp = 0xFFFD;
      }
      const int width = CodePointWidth(cp);
      if (width == 0 && !cells_.empty() && cells_.back().mark == 0 &&
          cells_.back().style == CellStyle::kText) {
        // A combining mark is drawn over the character before it.
        Cell* base = &cells_.back();
        if (base->width == 0 && cells_.size() >= 2) base = &cells_[cells_.size() - 2];
        base->mark = cp;
        unit_columns_.push_back(column - 1);
        if (units == 2) unit_columns_.push_back(column - 1);
        i += units;
        continue;
      }
      if (width == 2) {
        Add(Cell{cp, 0, 2, CellStyle::kText}, unit);
        Add(Cell{U' ', 0, 0, CellStyle::kText}, unit);
      } else if (width == 1) {
        Add(Cell{cp, 0, 1, CellStyle::kText}, unit);
      } else {
        Add(Cell{0xFFFD, 0, 1, CellStyle::kSpecialChar}, unit);
      }
    }
    for (size_t k = 0; k < units; ++k) unit_columns_.push_back(column);
    i += units;
  }
  laid_units_ = static_cast<uint32_t>(i);
}

uint32_t LaidOutWidth(char32_t cp) {
  if (cp < 0x20 || cp == 0x7F) return 2;
  if (cp >= kRawByteFirst && cp <= kRawByteLast) return 4;
  if (cp >= 0xD800 && cp < 0xE000) return 1;  // a lone surrogate shows as U+FFFD
  const int width = CodePointWidth(cp);
  return width == 0 || width == 2 ? static_cast<uint32_t>(width) : 1;
}

void LineLayout::Add(Cell cell, uint32_t unit) {
  cells_.push_back(cell);
  cell_units_.push_back(unit);
}

uint32_t LineLayout::ColumnOfUnit(uint32_t unit) const {
  if (unit < unit_columns_.size()) return unit_columns_[unit];
  return static_cast<uint32_t>(cells_.size()) + (unit - laid_units_);
}

void LineLayout::Highlight(uint32_t from, uint32_t to, CellStyle style) {
  for (size_t k = 0; k < cells_.size(); ++k) {
    if (cell_units_[k] >= from && cell_units_[k] < to) cells_[k].style = style;
  }
}

void LineLayout::HighlightColumns(uint32_t from, uint32_t to, CellStyle style) {
  for (size_t k = from; k < to && k < cells_.size(); ++k) cells_[k].style = style;
}

}  // namespace tavik::app
