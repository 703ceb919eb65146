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
  // Fast path: spans placed in order, as a scan over the buffer places them.
  if (spans.empty() || spans.back().end < start) {
    spans.push_back({start, end});
    Changed(start.line, end.line);
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
  Changed(merged.start.line, merged.end.line);
}

void HighlightMarkers::Clear(HighlightKind kind) {
  std::vector<HighlightSpan>& spans = spans_[static_cast<size_t>(kind)];
  if (spans.empty()) return;
  const uint32_t first_line = spans.front().start.line;
  const uint32_t last_line = spans.back().end.line;
  spans.clear();
  Changed(first_line, last_line);
}

void HighlightMarkers::Set(HighlightKind kind, std::span<const HighlightSpan> wanted) {
  std::vector<HighlightSpan>& spans = spans_[static_cast<size_t>(kind)];
  for (size_t i = 0; i < wanted.size(); ++i) {
    const bool sorted = i == 0 || wanted[i - 1].end < wanted[i].start;
    if (!sorted || !(wanted[i].start < wanted[i].end)) {
      Clear(kind);
      for (const HighlightSpan& span : wanted) Add(kind, span.start, span.end);
      return;
    }
  }
  // The spans that go and the ones that come, found by walking both in order; their lines are
  // the lines changed, a few runs of them at most (a window of matches sliding along changes
  // at both ends).
  struct LineRange {
    uint32_t first;
    uint32_t last;
  };
  std::vector<LineRange> changed;
  auto note = [&](const HighlightSpan& span) {
    if (!changed.empty() && span.start.line <= changed.back().last + 1) {
      changed.back().last = std::max(changed.back().last, span.end.line);
    } else {
      changed.push_back({span.start.line, span.end.line});
    }
  };
  size_t i = 0;
  size_t j = 0;
  while (i < spans.size() || j < wanted.size()) {
    if (i < spans.size() && j < wanted.size() && spans[i] == wanted[j]) {
      ++i;
      ++j;
    } else if (j == wanted.size() || (i < spans.size() && spans[i].start < wanted[j].start)) {
      note(spans[i++]);
    } else {
      note(wanted[j++]);
    }
  }
  if (changed.empty()) return;
  spans.assign(wanted.begin(), wanted.end());
  constexpr size_t kMostRuns = 4;
  if (changed.size() > kMostRuns) {
    LineRange all = changed.front();
    for (const LineRange& range : changed) all.last = std::max(all.last, range.last);
    changed.clear();
    changed.push_back(all);
  }
  for (const LineRange& range : changed) Changed(range.first, range.last);
}

void HighlightMarkers::Changed(uint32_t first_line, uint32_t last_line) {
  const uint32_t count = last_line - first_line + 1;
  Note({first_line, count, count});
}

void HighlightMarkers::Note(LineChange change) {
  ++version_;
  if (changes_.size() == kChangesKept) changes_.erase(changes_.begin());
  changes_.push_back(change);
}

std::optional<std::span<const HighlightMarkers::LineChange>> HighlightMarkers::ChangesSince(
    uint64_t version) const {
  if (version > version_ || version_ - version > changes_.size()) return std::nullopt;
  return std::span<const LineChange>(changes_).subspan(changes_.size() -
                                                       static_cast<size_t>(version_ - version));
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
  // Whole lines taken out or put in leave the line after them as it was, only moved.
  const bool whole_lines =
      change.start.column == 0 && change.old_end.column == 0 && change.new_end.column == 0;
  const uint32_t extra = whole_lines ? 0 : 1;
  Note({change.start.line, change.old_end.line - change.start.line + extra,
        change.new_end.line - change.start.line + extra});
  const int64_t line_delta =
      static_cast<int64_t>(change.new_line_count) - static_cast<int64_t>(change.old_line_count);
  for (std::vector<HighlightSpan>& spans : spans_) {
    // Spans ending before the change stay; only the rest move.
    auto it = std::partition_point(spans.begin(), spans.end(),
                                   [&](const HighlightSpan& s) { return s.end < change.start; });
    if (it == spans.end()) continue;
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
