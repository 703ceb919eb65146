// The engine's search memory shared by all views: the last request that `n` and `N` repeat, the
// last search string, the request whose matches are highlighted, and the incremental-search
// match shown while a search line is typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/options.h"
#include "engine/search/incremental_search.h"
#include "engine/search/last_substitution.h"
#include "engine/search/search_request.h"
#include "engine/text/host_view.h"
#include "regex/match_cache.h"

namespace tavik {

class TextView;

class SearchState {
 public:
  // `suspended` is the engine's mark set by ":nohlsearch".
  SearchState(OptionSet& options, bool& suspended) : options_(options), suspended_(suspended) {}
  SearchState(const SearchState&) = delete;
  SearchState& operator=(const SearchState&) = delete;

  const std::optional<SearchRequest>& LastRequest() const { return last_request_; }
  const std::u16string& LastString() const { return last_string_; }
  // A new search replaces what `n` repeats and what highlighting shows.
  void SetLastSearch(const SearchRequest& request, std::u16string_view text);
  // Switches highlighting back on after ":nohlsearch" and stores the request to highlight.
  void SetHighlightRequest(const SearchRequest& request);
  // ignorecase or smartcase changed outside a search: the highlighted matches follow them.
  void CaseOptionsChanged();
  // The last substitution, which ":s" alone, ":&" and "&" repeat.
  LastSubstitution& Substitution() { return last_substitution_; }

  // Parses with the `magic` option.
  ParsedSearch Parse(std::u16string_view text, bool backward, bool no_smartcase,
                     char16_t delimiter = 0) const;
  // ignorecase, smartcase and wrapscan as they are now.
  SearchRunArgs RunArgs(bool accept_at_start) const;
  // A chained search through the view with the engine's match scratch space.
  SearchOutcome Run(const TextView& view, TextPos start, const SearchRequest& request,
                    const SearchRunArgs& args);
  // The lines in [first, last] where a match of a one-item request begins, in order (see
  // SearchLines), with ignorecase and smartcase as `args` has them.
  MatchStatus MatchingLines(const TextView& view, const SearchRequest& request, uint32_t first,
                            uint32_t last, const SearchRunArgs& args, std::vector<uint32_t>* lines);

  // Per key while a search line is open: searches for what was typed so far from where the line
  // was opened. Returns the caret to show: the match start, or `start` when nothing matched
  // (yet: on a long buffer the search may go on when keys pause).
  TextPos Incremental(const TextView& view, std::u16string_view typed, TextPos start,
                      bool backward);
  // Whether the last key's search was left unfinished.
  bool IncrementalPending() const { return incremental_search_.Pending(); }
  // Keys paused: goes on with that search. The caret to show, or nothing when none was pending.
  std::optional<TextPos> ContinueIncremental(const TextView& view, TextPos start);
  void ClearIncremental() {
    incremental_.reset();
    incremental_search_.Reset();
  }
  IncrementalSearch& IncrementalSearcher() { return incremental_search_; }
  const std::optional<HighlightRange>& IncrementalMatch() const { return incremental_; }

  // The matches of the highlight request whose start lies in the lines [first, last].
  std::vector<HighlightRange> HighlightRanges(const TextView& view, uint32_t first_line,
                                              uint32_t last_line);
  // Hands the host the matches around the visible lines and the incremental-search match. Does
  // nothing when neither the text, the lines, the request nor the options changed since the last
  // call, so keys that only move the caret on the screen cost no search.
  void RefreshHighlights(TextView& view);
  // Lines above and below the visible ones whose matches are handed over as well.
  static constexpr uint32_t kHighlightMargin = 50;

 private:
  TextPos ShowIncremental(const IncrementalSearch::Step& step, TextPos start);

  OptionSet& options_;
  bool& suspended_;
  std::optional<SearchRequest> last_request_;
  std::u16string last_string_;
  LastSubstitution last_substitution_;
  std::optional<SearchRequest> highlight_request_;
  bool highlight_ignorecase_ = false;
  bool highlight_smartcase_ = false;
  std::optional<HighlightRange> incremental_;
  IncrementalSearch incremental_search_;
  MatchCache cache_;
  MatchCache highlight_cache_;
  std::vector<std::u16string> highlight_lines_;  // the lines a highlight search reads

  // What the host was last handed and what it was computed from.
  struct HandedHighlights {
    const TextView* view = nullptr;
    const HostView* host = nullptr;
    uint64_t document = 0;
    uint64_t changes = 0;
    uint64_t request_generation = 0;
    bool shown = false;  // false: the host was handed no search matches
    uint32_t first_line = 0;
    uint32_t last_line = 0;
    std::optional<HighlightRange> incremental;
    friend bool operator==(const HandedHighlights&, const HandedHighlights&) = default;
  };
  // The two ask for the same matches, wherever the lines and whatever the text.
  static bool SameRequest(const HandedHighlights& a, const HandedHighlights& b) {
    return a.view == b.view && a.host == b.host && a.document == b.document &&
           a.request_generation == b.request_generation && a.shown == b.shown;
  }
  // The two would hand over the same search matches (the incremental match aside).
  static bool SameSearch(const HandedHighlights& a, const HandedHighlights& b) {
    return SameRequest(a, b) && a.changes == b.changes && a.first_line == b.first_line &&
           a.last_line == b.last_line;
  }
  // The matches handed over last, moved along with the edits made since: the lines handed over
  // and their matches where they are now, and the spans of lines whose matches must be found
  // (again), edited lines or lines scrolled into the margin.
  struct MovedMatches {
    uint32_t first_line = 0;
    uint32_t last_line = 0;
    std::vector<HighlightRange> ranges;
    std::vector<std::pair<uint32_t, uint32_t>> searched;
  };
  // None when an edit is not known or reaches outside the lines handed over.
  std::optional<MovedMatches> FollowEdits(const TextView& view) const;
  // The moved matches on the lines [first, last], with those on the searched lines found.
  std::vector<HighlightRange> WithLinesSearched(const TextView& view, const MovedMatches& moved,
                                                uint32_t first, uint32_t last);
  std::optional<HandedHighlights> handed_;
  std::vector<HighlightRange> handed_ranges_;  // the search matches handed over last
  // The highlight pattern matches within one line and means the same on every line, so an edit
  // changes only the matches on the lines it replaced; the others move with their lines.
  bool highlight_line_local_ = false;
  uint64_t request_generation_ = 0;  // counts the changes of the highlight request
};

}  // namespace tavik
