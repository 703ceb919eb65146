// Highlight spans kept sorted and apart per kind, so that the spans on a range of lines are
// found by binary search however many matches a search marked.
#include "platform/markers.h"

#include <algorithm>
#include <cassert>

namespace tavik::platform {

void HighlightMarkers::Add(HighlightKind kind, TextPos start, TextPos end) {
  if (end < start) std::swap(start, end);
  if (start == end) return;
  std::vector<HighlightSpan>& spans = spans_[static_cast<size_t>(kind)];
  ++version_;
  // Fast path: spans placed in order, as a scan over the buffer places them.
  if (spans.empty() || spans.back().end < start) {
    spans.push_back({start, end});
    return;
  }
  // The first span that ends at or after the new start may merge with it, and so may the ones
  // after it that start at or before the new end.
  auto first = std::partition_point(spans.begin(), spans.end(),
                                    [&](const HighlightSpan& s) { return s.end < start; });
  auto last = first;
  HighlightSpan merged{start, end};
  while (last != spans.end() && last->start <= end) {
    merged.start = std::min(merged.start, last->start);
    merged.end = std::max(merged.end, last->end);
    ++last;
  }
  first = spans.erase(first, last);
  spans.insert(first, merged);
}

void HighlightMarkers::Clear(HighlightKind kind) {
  std::vector<HighlightSpan>& spans = spans_[static_cast<size_t>(kind)];
  if (spans.empty()) return;
  spans.clear();
  ++version_;
}

void HighlightMarkers::Overlapping(HighlightKind kind, uint32_t first_line, uint32_t last_line,
                                   std::vector<HighlightSpan>& out) const {
  const std::vector<HighlightSpan>& spans = Of(kind);
  // Spans are apart, so their ends are sorted as their starts are.
  auto it = std::partition_point(spans.begin(), spans.end(),
                                 [&](const HighlightSpan& s) { return s.end.line < first_line; });
  for (; it != spans.end() && it->start.line <= last_line; ++it) out.push_back(*it);
}

void HighlightMarkers::OnChange(const BufferChange& change) {
  const int64_t line_delta =
      static_cast<int64_t>(change.new_line_count) - static_cast<int64_t>(change.old_line_count);
  for (std::vector<HighlightSpan>& spans : spans_) {
    // Spans ending before the change stay; only the rest move.
    auto it = std::partition_point(spans.begin(), spans.end(),
                                   [&](const HighlightSpan& s) { return s.end < change.start; });
    if (it == spans.end()) continue;
    ++version_;
    bool dropped = false;
    for (; it != spans.end(); ++it) {
      // Past the edit's last line only the line numbers move; an edit inside one line leaves
      // every later line alone.
      if (it->start.line > change.old_end.line) {
        if (line_delta == 0) break;
        it->start.line = static_cast<uint32_t>(it->start.line + line_delta);
        it->end.line = static_cast<uint32_t>(it->end.line + line_delta);
        continue;
      }
      it->start = MovePastChange(it->start, change, true);
      it->end = MovePastChange(it->end, change, false);
      if (!(it->start < it->end)) {
        it->end = it->start;
        dropped = true;
      }
    }
    if (dropped) std::erase_if(spans, [](const HighlightSpan& s) { return s.start == s.end; });
  }
}

}  // namespace tavik::platform
