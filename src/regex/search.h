// Search: the first accepted match scanning from a position in a direction, with or without
// wrapping around the buffer. Start positions where no match can begin are skipped.
#pragma once

#include <optional>

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

}  // namespace tavik
