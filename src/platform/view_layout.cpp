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

}  // namespace tavik::platform
