// Search: the first accepted match scanning from a position in a direction, with or without
// wrapping around the buffer. Start positions where no match can begin are skipped.
#pragma once

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

}  // namespace tavik
