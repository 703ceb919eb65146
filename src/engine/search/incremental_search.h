// The search run while a search line is typed. On a long buffer a pattern that matches nowhere
// would read every line on every key, so the scan goes in slices of lines within a time budget
// per key, and what one key left unread is read when keys pause. A pattern typed on from a
// literal goes on from where its prefix stopped: it cannot match where the prefix did not.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/text_pos.h"
#include "engine/search/search_request.h"
#include "regex/match_cache.h"

namespace tavik {

class TextView;

class IncrementalSearch {
 public:
  enum class State : uint8_t { kFound, kNotFound, kPending };
  struct Step {
    State state = State::kNotFound;
    TextPos match_start;
    TextPos match_end;
  };

  // What one search line asks for: all of it must be equal for an earlier scan to be reused.
  struct Request {
    const TextView* view = nullptr;
    uint64_t document = 0;
    uint64_t changes = 0;
    TextPos start;
    bool backward = false;
    bool wrapscan = true;
    bool magic = true;
    bool ignorecase = false;
    bool smartcase = false;
    friend bool operator==(const Request&, const Request&) = default;
  };

  // Searches for the search line's pattern within the budget. A line with several chained
  // patterns is searched whole at once.
  Step Search(const TextView& view, const Request& request, const SearchRequest& parsed);
  // Goes on with the scan the last call left pending, within the budget.
  Step Continue(const TextView& view);
  bool Pending() const { return !scans_.empty() && !scans_.back().done; }
  void Reset() { scans_.clear(); }

  // The work one key may do (zero: one slice per call), and the lines of a slice, read between
  // two looks at the clock.
  void SetBudget(std::chrono::microseconds budget, uint32_t slice_lines = kSliceLines) {
    budget_ = budget;
    slice_lines_ = std::max<uint32_t>(1, slice_lines);
  }
  static constexpr std::chrono::microseconds kDefaultBudget{8000};
  static constexpr uint32_t kSliceLines = 2048;

 private:
  // One pattern's scan in the order a wrapping search visits positions: segment 0 from the start
  // to the buffer's edge, segment 1 from the other edge back to the start.
  struct Scan {
    std::u16string typed;
    SearchItem item;
    bool ignore_case = false;  // as decided for this pattern
    bool literal = false;      // every character stands for itself
    uint8_t segment = 0;
    TextPos next;              // where the next slice begins
    bool accept_next = false;  // whether a match at `next` counts
    bool done = false;
    bool found = false;
    TextPos match_start;
    TextPos match_end;
  };

  Step Run(const TextView& view, Scan& scan);
  // Searches one slice; false when the segments are all read.
  bool Slice(const TextView& view, Scan& scan);
  // The scan of `typed` begun from what an earlier scan of a prefix of it knows.
  Scan Begin(std::u16string_view typed, const SearchItem& item, bool ignore_case, bool literal);
  static Step Outcome(const Scan& scan);

  Request request_;
  std::vector<Scan> scans_;  // the scans of the prefixes typed, the current one last
  std::chrono::microseconds budget_ = kDefaultBudget;
  uint32_t slice_lines_ = kSliceLines;
  MatchCache cache_;
};

}  // namespace tavik
