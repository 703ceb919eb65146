#include "engine/search/incremental_search.h"

#include <algorithm>

#include "engine/search/text_view_line_source.h"
#include "engine/text/text_view.h"
#include "regex/search.h"

namespace tavik {
namespace {

// Characters that may mean more than themselves in a pattern, whatever `magic` says.
bool IsLiteral(std::u16string_view source) {
  return std::none_of(source.begin(), source.end(), [](char16_t c) {
    return c == u'\\' || c == u'.' || c == u'*' || c == u'[' || c == u'~' || c == u'^' || c == u'$';
  });
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

}  // namespace

IncrementalSearch::Step IncrementalSearch::Search(const TextView& view, const Request& request,
                                                  const SearchRequest& parsed) {
  if (!(request == request_)) {
    scans_.clear();
    request_ = request;
  }
  CaseOptions case_options{request.ignorecase, request.smartcase, parsed.no_smartcase};
  if (parsed.items.size() != 1) {
    // Chained patterns: each begins where the one before matched, so no slice can stand alone.
    scans_.clear();
    TextViewLineSource source(view);
    SearchRunArgs args;
    args.ignorecase = request.ignorecase;
    args.smartcase = request.smartcase;
    args.wrapscan = request.wrapscan;
    SearchOutcome outcome = SearchChained(source, request.start, parsed, args, cache_);
    if (!outcome.found()) return {};
    return {State::kFound, outcome.match_start, outcome.match_end};
  }
  const SearchItem& item = parsed.items.front();
  const bool ignore_case = DecideIgnoreCase(item.pattern, case_options);
  const bool literal = IsLiteral(item.source);
  while (!scans_.empty() && !StartsWith(item.source, scans_.back().typed)) scans_.pop_back();
  if (scans_.empty() || scans_.back().typed != item.source ||
      scans_.back().ignore_case != ignore_case) {
    scans_.push_back(Begin(item.source, item, ignore_case, literal));
  }
  return Run(view, scans_.back());
}

IncrementalSearch::Scan IncrementalSearch::Begin(std::u16string_view typed, const SearchItem& item,
                                                 bool ignore_case, bool literal) {
  Scan scan;
  scan.typed.assign(typed);
  scan.item = item;
  scan.ignore_case = ignore_case;
  scan.literal = literal;
  scan.next = request_.start;
  // A literal that grew matches only where the shorter one matched, and then under the same or
  // a stricter case rule: no position the shorter scan passed over can hold a match.
  if (!scans_.empty()) {
    const Scan& prefix = scans_.back();
    if (literal && prefix.literal && (prefix.ignore_case || !ignore_case)) {
      scan.segment = prefix.segment;
      scan.done = prefix.done && !prefix.found;
      scan.next = prefix.found ? prefix.match_start : prefix.next;
      scan.accept_next = prefix.found ? true : prefix.accept_next;
    }
  }
  return scan;
}

IncrementalSearch::Step IncrementalSearch::Continue(const TextView& view) {
  if (!Pending()) return scans_.empty() ? Step{} : Outcome(scans_.back());
  return Run(view, scans_.back());
}

IncrementalSearch::Step IncrementalSearch::Run(const TextView& view, Scan& scan) {
  const auto began = std::chrono::steady_clock::now();
  while (!scan.done) {
    if (!Slice(view, scan)) scan.done = true;
    if (!scan.done && std::chrono::steady_clock::now() - began >= budget_) break;
  }
  return Outcome(scan);
}

IncrementalSearch::Step IncrementalSearch::Outcome(const Scan& scan) {
  if (!scan.done) return {State::kPending, {}, {}};
  if (!scan.found) return {};
  return {State::kFound, scan.match_start, scan.match_end};
}

bool IncrementalSearch::Slice(const TextView& view, Scan& scan) {
  TextViewLineSource source(view);
  const uint32_t lines = std::max<uint32_t>(1, view.LineCount());
  const uint32_t last = lines - 1;
  const TextPos start = request_.start;
  auto line_end = [&](uint32_t line) { return TextPos{line, view.LineLength(line)}; };
  SearchArgs args;
  args.start = scan.next;
  args.backward = request_.backward;
  args.wrapscan = false;
  args.accept_at_start = scan.accept_next;
  // The slice's last position to try, and whether it ends the segment.
  TextPos stop;
  bool segment_ends = false;
  if (!request_.backward) {
    TextPos bound = line_end(last);
    if (scan.segment == 1) {
      // The wrapped part ends just before the start.
      if (start.column > 0) {
        bound = {start.line, start.column - 1};
      } else if (start.line > 0) {
        bound = line_end(start.line - 1);
      } else {
        return false;
      }
      if (bound < scan.next) return false;
    }
    const uint32_t slice_end =
        std::min<uint64_t>(uint64_t(scan.next.line) + slice_lines_ - 1, last);
    stop = slice_end >= bound.line ? bound : line_end(slice_end);
    segment_ends = stop == bound;
  } else {
    TextPos bound{0, 0};
    if (scan.segment == 1) {
      // The wrapped part ends just after the start.
      if (start.column < view.LineLength(start.line)) {
        bound = {start.line, start.column + 1};
      } else if (start.line < last) {
        bound = {start.line + 1, 0};
      } else {
        return false;
      }
      if (scan.next < bound) return false;
    }
    const uint32_t slice_top =
        scan.next.line >= slice_lines_ ? scan.next.line - slice_lines_ + 1 : 0;
    stop = slice_top <= bound.line ? bound : TextPos{slice_top, 0};
    segment_ends = stop == bound;
  }
  args.stop = stop;
  Pattern pattern = scan.item.pattern.WithIgnoreCase(scan.ignore_case);
  MatchResult result;
  MatchStatus status = tavik::Search(pattern, source, args, cache_, &result);
  if (status == MatchStatus::kMatch) {
    scan.found = true;
    scan.match_start = result.start;
    scan.match_end = result.end;
    return false;
  }
  if (status == MatchStatus::kTooComplex) return false;
  scan.accept_next = true;
  if (segment_ends) {
    if (scan.segment == 1 || !request_.wrapscan) return false;
    scan.segment = 1;
    scan.next = request_.backward ? line_end(last) : TextPos{0, 0};
    return true;
  }
  scan.next = request_.backward ? line_end(stop.line - 1) : TextPos{stop.line + 1, 0};
  return true;
}

}  // namespace tavik
