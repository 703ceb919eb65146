// Typed search text as a request: one or more patterns chained with ";", each with a direction
// and an offset, and running such a request against a buffer in chained or plain mode.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_pos.h"
#include "regex/line_source.h"
#include "regex/match_cache.h"
#include "regex/matcher.h"
#include "regex/pattern.h"

namespace tavik {

inline constexpr size_t kSearchSourceCapacity = 511;

enum class SearchOffsetKind : uint8_t { kNone = 0, kLine = 1, kStart = 2, kEnd = 3 };

struct SearchItem {
  std::u16string source;  // the pattern text alone
  Pattern pattern;        // compiled once from source
  bool backward = false;
  char16_t delimiter = u'/';
  SearchOffsetKind offset_kind = SearchOffsetKind::kNone;
  int32_t offset_count = 0;
};

struct SearchRequest {
  std::vector<SearchItem> items;
  bool no_smartcase = false;  // `*`, `#`, `g*`, `g#`
  bool magic = true;
  bool valid = false;
  bool starts_empty = false;  // the first pattern was empty and nothing was chained
};

struct ParsedSearch {
  SearchRequest request;
  size_t pattern_end = 0;  // where the last pattern's text ended
  size_t end = 0;          // where the request ended
};

struct SearchParseArgs {
  bool backward = false;
  bool no_smartcase = false;
  bool magic = true;
  char16_t delimiter = 0;  // 0: "/" forward, "?" backward
  bool allow_offsets = true;
};

ParsedSearch ParseSearchRequest(std::u16string_view text, const SearchParseArgs& args);

struct SearchRunArgs {
  bool accept_at_start = false;
  bool ignorecase = false;
  bool smartcase = false;
  bool wrapscan = true;
  std::optional<TextPos> stop;
  bool reverse_first = false;  // `N`: the first item searches the other way
};

struct SearchOutcome {
  MatchStatus status = MatchStatus::kNoMatch;
  TextPos pos;          // after the offsets
  TextPos match_start;  // of the last item
  TextPos match_end;
  MatchResult match;
  bool end_offset = false;  // an end offset was applied: the target is inclusive
  bool found() const { return status == MatchStatus::kMatch; }
};

// An item's pattern with the case rule of a run with `args`.
Pattern ItemPattern(const SearchRequest& request, const SearchItem& item,
                    const SearchRunArgs& args);

// Every item in order, each from where the previous one landed.
SearchOutcome SearchChained(const LineSource& source, TextPos start, const SearchRequest& request,
                            const SearchRunArgs& args, MatchCache& cache);
// Only the last item, from `start` in its own direction (substitute and global commands).
SearchOutcome SearchPlain(const LineSource& source, TextPos start, const SearchRequest& request,
                          const SearchRunArgs& args, MatchCache& cache);

// Where an item's offset puts a match from `start` to the exclusive `end`.
TextPos ApplySearchOffset(const LineSource& source, const SearchItem& item, TextPos start,
                          TextPos end, bool* end_offset);

}  // namespace tavik
