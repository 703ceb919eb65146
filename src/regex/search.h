// Search: the first accepted match scanning from a position in a direction, with or without
// wrapping around the buffer. Start positions where no match can begin are skipped.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "common/text_pos.h"
#include "regex/line_source.h"
#include "regex/match_cache.h"
#include "regex/matcher.h"
#include "regex/pattern.h"

namespace tavik {

struct SearchArgs {
  TextPos start;
  // Without wrapscan the scan ends after trying this position. Default: the buffer's edge.
  std::optional<TextPos> stop;
  bool backward = false;
  bool wrapscan = false;
  // Whether a match that starts exactly at `start` counts (compared with the match start,
  // which \zs may move, not with the position the attempt began at).
  bool accept_at_start = false;
};

// Uses the pattern's ignore-case flag as decided for this search (see DecideCase).
MatchStatus Search(const Pattern& pattern, const LineSource& source, const SearchArgs& args,
                   MatchCache& cache, MatchResult* result);

// The lines in [first, last] holding the start of a match, in order, as forward searches from
// the start of each line without wrapping would find them one after another: appended to
// `lines`. kTooComplex when a search hit a bound (the lines found before it stand).
MatchStatus SearchLines(const Pattern& pattern, const LineSource& source, uint32_t first,
                        uint32_t last, MatchCache& cache, std::vector<uint32_t>* lines);

// Forward searches one after another over a source that changes only where the caller says, with
// one scanner, so that the lines one search read ahead serve the next. Each Find gives what
// Search forward without wrapping from `start` to `stop` gives. The read-ahead lines are kept
// in `cache`, which must serve no other search while this one is in use.
class ForwardSearch {
 public:
  ForwardSearch(const Pattern& pattern, const LineSource& source, MatchCache& cache,
                bool accept_at_start);
  ForwardSearch(const ForwardSearch&) = delete;
  ForwardSearch& operator=(const ForwardSearch&) = delete;
  ~ForwardSearch();

  // Positions up to `stop` inclusive (to the buffer's end when `stop` is before `start`).
  MatchStatus Find(TextPos start, TextPos stop);
  // The last match found.
  const MatchResult& match() const { return match_; }
  // Lines read before may have changed, moved or gone; the line count may differ.
  void Forget();

 private:
  struct State;
  Pattern pattern_;
  const LineSource& source_;
  MatchCache& cache_;
  bool accept_at_start_;
  MatchResult match_;
  std::unique_ptr<State> state_;
};

}  // namespace tavik
