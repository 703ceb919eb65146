// Keeping the last search, running requests through a view, the incremental-search match and
// the highlighted matches, which are found only around the visible lines so that a key never
// scans a whole large buffer.
#include "engine/search/search_state.h"

#include <algorithm>

#include "engine/search/text_view_line_source.h"
#include "engine/text/text_view.h"
#include "regex/search.h"

namespace tavik {

namespace {

// The lines of the highlighted region and the buffer's last line, each read from the view once
// per scan: a scan runs one search per match, and each search asks for its start line and for
// the last line (to know the buffer's end), which would otherwise be read again every time.
class RegionLineSource : public LineSource {
 public:
  // `lines` is scratch space kept between searches, so that its strings keep their memory.
  RegionLineSource(const TextView& view, uint32_t first_line, uint32_t last_line,
                   std::vector<std::u16string>& lines)
      : view_(view),
        count_(view.LineCount()),
        first_(first_line),
        lines_(lines),
        read_(last_line - first_line + 1, false) {
    if (lines_.size() < read_.size()) lines_.resize(read_.size());
  }
  uint32_t LineCount() const override { return count_; }
  std::u16string_view LineText(uint32_t line) const override {
    if (line >= first_ && line - first_ < read_.size()) {
      const size_t index = line - first_;
      if (!read_[index]) {
        lines_[index].assign(view_.LineText(line));
        read_[index] = true;
      }
      return lines_[index];
    }
    if (line + 1 != count_) return view_.LineText(line);
    if (!last_) last_.emplace(view_.LineText(line));
    return *last_;
  }

 private:
  const TextView& view_;
  uint32_t count_;
  uint32_t first_;
  std::vector<std::u16string>& lines_;
  mutable std::vector<bool> read_;
  mutable std::optional<std::u16string> last_;
};

}  // namespace

void SearchState::SetLastSearch(const SearchRequest& request, std::u16string_view text) {
  last_request_ = request;
  last_string_.assign(text);
  SetHighlightRequest(request);
}

void SearchState::SetHighlightRequest(const SearchRequest& request) {
  if (suspended_) {
    options_.SetBool(OptionId::kHlSearch, true);
    suspended_ = false;
  }
  highlight_request_ = request;
  if (!highlight_request_->items.empty()) highlight_request_->items.front().backward = false;
  highlight_ignorecase_ = options_.Bool(OptionId::kIgnoreCase);
  highlight_smartcase_ = options_.Bool(OptionId::kSmartCase);
  ++request_generation_;
  // Line breaks, positions and looks around can tie a match to other lines; an empty pattern
  // stands for another one. Either way every edit searches all the lines again.
  highlight_line_local_ = highlight_request_->items.size() == 1;
  if (highlight_line_local_) {
    const std::u16string& source = highlight_request_->items.front().source;
    highlight_line_local_ = !source.empty();
    for (std::u16string_view atom : {u"\\n", u"\\_", u"\\%", u"\\@"}) {
      if (source.find(atom) != std::u16string::npos) highlight_line_local_ = false;
    }
  }
}

void SearchState::CaseOptionsChanged() {
  if (!highlight_request_) return;
  highlight_ignorecase_ = options_.Bool(OptionId::kIgnoreCase);
  highlight_smartcase_ = options_.Bool(OptionId::kSmartCase);
  ++request_generation_;
}

ParsedSearch SearchState::Parse(std::u16string_view text, bool backward, bool no_smartcase,
                                char16_t delimiter) const {
  SearchParseArgs args;
  args.backward = backward;
  args.no_smartcase = no_smartcase;
  args.magic = options_.Bool(OptionId::kMagic);
  args.delimiter = delimiter;
  return ParseSearchRequest(text, args);
}

SearchRunArgs SearchState::RunArgs(bool accept_at_start) const {
  SearchRunArgs args;
  args.accept_at_start = accept_at_start;
  args.ignorecase = options_.Bool(OptionId::kIgnoreCase);
  args.smartcase = options_.Bool(OptionId::kSmartCase);
  args.wrapscan = options_.Bool(OptionId::kWrapScan);
  return args;
}

SearchOutcome SearchState::Run(const TextView& view, TextPos start, const SearchRequest& request,
                               const SearchRunArgs& args) {
  TextViewLineSource source(view);
  return SearchChained(source, start, request, args, cache_);
}

MatchStatus SearchState::MatchingLines(const TextView& view, const SearchRequest& request,
                                       uint32_t first, uint32_t last, const SearchRunArgs& args,
                                       std::vector<uint32_t>* lines) {
  if (!request.valid || request.items.size() != 1) return MatchStatus::kNoMatch;
  TextViewLineSource source(view);
  return SearchLines(ItemPattern(request, request.items[0], args), source, first, last, cache_,
                     lines);
}

TextPos SearchState::Incremental(const TextView& view, std::u16string_view typed, TextPos start,
                                 bool backward) {
  incremental_.reset();
  ParsedSearch parsed = Parse(typed, backward, false);
  if (!parsed.request.valid || parsed.request.items.empty()) {
    incremental_search_.Reset();
    return start;
  }
  IncrementalSearch::Request request;
  request.view = &view;
  request.document = view.Host() != nullptr ? view.Host()->DocumentId() : 0;
  request.changes = view.ChangeCount();
  request.start = start;
  request.backward = backward;
  request.wrapscan = options_.Bool(OptionId::kWrapScan);
  request.magic = options_.Bool(OptionId::kMagic);
  request.ignorecase = options_.Bool(OptionId::kIgnoreCase);
  request.smartcase = options_.Bool(OptionId::kSmartCase);
  return ShowIncremental(incremental_search_.Search(view, request, parsed.request), start);
}

std::optional<TextPos> SearchState::ContinueIncremental(const TextView& view, TextPos start) {
  if (!incremental_search_.Pending()) return std::nullopt;
  return ShowIncremental(incremental_search_.Continue(view), start);
}

TextPos SearchState::ShowIncremental(const IncrementalSearch::Step& step, TextPos start) {
  incremental_.reset();
  if (step.state != IncrementalSearch::State::kFound) return start;
  incremental_ = HighlightRange{step.match_start, step.match_end};
  return step.match_start;
}

std::vector<HighlightRange> SearchState::HighlightRanges(const TextView& view, uint32_t first_line,
                                                         uint32_t last_line) {
  std::vector<HighlightRange> ranges;
  if (!highlight_request_ || view.LineCount() == 0) return ranges;
  last_line = std::min(last_line, view.LineCount() - 1);
  if (first_line > last_line) return ranges;
  RegionLineSource source(view, first_line, last_line, highlight_lines_);
  SearchRunArgs args;
  args.accept_at_start = true;
  args.ignorecase = highlight_ignorecase_;
  args.smartcase = highlight_smartcase_;
  args.wrapscan = false;
  TextPos region_end{last_line, view.LineLength(last_line)};
  args.stop = region_end;
  TextPos pos{first_line, 0};
  for (;;) {
    SearchOutcome outcome = SearchChained(source, pos, *highlight_request_, args, highlight_cache_);
    if (!outcome.found()) break;
    TextPos start = outcome.match_start;
    TextPos end = outcome.match_end;
    if (start.line >= first_line && start <= region_end) ranges.push_back({start, end});
    if (end > pos) {
      pos = end;
    } else if (pos.column < view.LineLength(pos.line)) {
      pos = {pos.line, view.NextCharColumn(pos.line, pos.column)};
    } else {
      pos = {pos.line + 1, 0};
    }
    if (pos.line > last_line || pos >= region_end) break;
  }
  // The scratch lines are kept for the next scan around the visible lines, not for a large one.
  constexpr size_t kKeptLines = 1024;
  if (highlight_lines_.size() > kKeptLines) {
    highlight_lines_.clear();
    highlight_lines_.shrink_to_fit();
  }
  return ranges;
}

std::optional<SearchState::MovedMatches> SearchState::FollowEdits(const TextView& view) const {
  MovedMatches moved{handed_->first_line, handed_->last_line, handed_ranges_, {}};
  if (handed_->changes == view.ChangeCount()) return moved;
  const std::optional<std::span<const TextView::LineEdit>> edits =
      view.LineEditsSince(handed_->changes);
  if (!edits || edits->empty() || !highlight_line_local_) return std::nullopt;
  uint32_t edited_first = UINT32_MAX;
  uint32_t edited_last = 0;
  for (const TextView::LineEdit& edit : *edits) {
    const uint32_t first = edit.first_line;
    const uint32_t end = first + edit.old_line_count;  // the first line after those replaced
    const uint32_t new_last = first + edit.new_line_count - 1;
    // The matches of lines outside those handed over are not known.
    if (first < moved.first_line || end - 1 > moved.last_line) return std::nullopt;
    auto move = [&](uint32_t line) { return line - edit.old_line_count + edit.new_line_count; };
    std::erase_if(moved.ranges, [&](const HighlightRange& r) {
      return r.start.line >= first && r.start.line < end;
    });
    for (HighlightRange& r : moved.ranges) {
      if (r.start.line >= end) r.start.line = move(r.start.line);
      if (r.end.line >= end) r.end.line = move(r.end.line);
    }
    moved.last_line = move(moved.last_line);
    // Lines edited before move along too; the span grows to cover this edit.
    if (edited_first == UINT32_MAX) {
      edited_first = first;
      edited_last = new_last;
    } else {
      edited_first = std::min(edited_first >= end ? move(edited_first) : edited_first, first);
      edited_last = edited_last >= end ? move(edited_last) : new_last;
    }
  }
  moved.searched.emplace_back(edited_first, edited_last);
  return moved;
}

std::vector<HighlightRange> SearchState::WithLinesSearched(const TextView& view,
                                                           const MovedMatches& moved,
                                                           uint32_t first, uint32_t last) {
  auto searched = [&](uint32_t line) {
    return std::any_of(moved.searched.begin(), moved.searched.end(),
                       [&](const auto& span) { return line >= span.first && line <= span.second; });
  };
  std::vector<HighlightRange> ranges;
  for (const HighlightRange& r : moved.ranges) {
    if (r.start.line >= first && r.start.line <= last && !searched(r.start.line)) {
      ranges.push_back(r);
    }
  }
  const size_t kept = ranges.size();
  for (const auto& [from, to] : moved.searched) {
    const uint32_t a = std::max(from, first);
    const uint32_t b = std::min(to, last);
    if (a > b) continue;
    std::vector<HighlightRange> found = HighlightRanges(view, a, b);
    ranges.insert(ranges.end(), found.begin(), found.end());
  }
  if (ranges.size() != kept) {
    std::sort(ranges.begin(), ranges.end(),
              [](const HighlightRange& x, const HighlightRange& y) { return x.start < y.start; });
  }
  return ranges;
}

void SearchState::RefreshHighlights(TextView& view) {
  HostView* host = view.Host();
  if (host == nullptr || !view.IsAttached()) return;
  HandedHighlights now;
  now.view = &view;
  now.host = host;
  now.document = host->DocumentId();
  now.changes = view.ChangeCount();
  now.request_generation = request_generation_;
  now.shown = highlight_request_ && options_.Bool(OptionId::kHlSearch) && !suspended_;
  now.incremental = incremental_;
  std::optional<MovedMatches> moved;
  if (now.shown) {
    VisibleRange visible = view.VisibleLines();
    uint32_t top = view.ViewToBuffer({visible.first_line, 0}).line;
    uint32_t bottom_view = visible.first_line + visible.line_count;
    uint32_t last_view = view.ViewLineCount() > 0 ? view.ViewLineCount() - 1 : 0;
    uint32_t bottom = view.ViewToBuffer({std::min(bottom_view, last_view), 0}).line;
    now.first_line = top > kHighlightMargin ? top - kHighlightMargin : 0;
    now.last_line = bottom + std::min(kHighlightMargin, UINT32_MAX - bottom);
    // The matches handed over stay, moved along with the edits since, and only the lines
    // edited are searched again. Scrolling within the lines handed over needs no search: the
    // margin is there so that a line scrolled into view already has its matches. Scrolling
    // past them searches the lines that come into the margin, when no match can reach from
    // one line into another.
    if (handed_ && handed_->shown && SameRequest(*handed_, now)) {
      if (handed_->changes == now.changes && top >= handed_->first_line &&
          bottom <= handed_->last_line) {
        now.first_line = handed_->first_line;
        now.last_line = handed_->last_line;
      } else {
        moved = FollowEdits(view);
      }
    }
    if (moved && top >= moved->first_line && bottom <= moved->last_line) {
      now.first_line = moved->first_line;
      now.last_line = moved->last_line;
    } else if (moved && highlight_line_local_ && now.first_line <= moved->last_line &&
               now.last_line >= moved->first_line) {
      if (now.first_line < moved->first_line)
        moved->searched.emplace_back(now.first_line, moved->first_line - 1);
      if (now.last_line > moved->last_line)
        moved->searched.emplace_back(moved->last_line + 1, now.last_line);
    } else {
      moved.reset();
    }
  }
  if (handed_ == now) return;
  if (!handed_ || !SameSearch(*handed_, now)) {
    std::vector<HighlightRange> ranges;
    if (moved) {
      ranges = WithLinesSearched(view, *moved, now.first_line, now.last_line);
    } else if (now.shown) {
      ranges = HighlightRanges(view, now.first_line, now.last_line);
    }
    host->SetHighlights(HighlightLayer::kSearch, ranges);
    handed_ranges_ = std::move(ranges);
  }
  std::vector<HighlightRange> incremental;
  if (incremental_) incremental.push_back(*incremental_);
  host->SetHighlights(HighlightLayer::kIncSearch, incremental);
  handed_ = now;
}

}  // namespace tavik
