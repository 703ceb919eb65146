// Search through the whole key path on a large text: one typed key of an incremental search
// with highlighting on, one search over the whole buffer, and the highlight ranges of the whole
// buffer. bench/compare_search.sh runs this beside Vim on the standard corpus.
// The text is the file named by TAVIK_BENCH_CORPUS (else 1,000,000 generated lines).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "app/batch_session.h"
#include "bench_corpus.h"
#include "common/key_code.h"
#include "engine/search/search_state.h"
#include "host/package.h"

namespace tavik {
namespace {

constexpr std::string_view kPattern = "lazy dog";

std::string CorpusText() {
  if (std::optional<std::string> corpus = bench::CorpusFromEnvironment()) return *corpus;
  std::string text;
  for (int i = 0; i < 1000000; ++i) {
    text += i % 37 == 0 ? "the lazy dog jumps over " : "the quick brown fox jumps over ";
    text += std::to_string(i) + "\n";
  }
  return text;
}

// One session for all benchmarks: loading 50 MB per benchmark would dominate the run.
app::BatchSession& Session() {
  static const std::unique_ptr<app::BatchSession> session = [] {
    auto s = std::make_unique<app::BatchSession>();
    s->OpenText("corpus.txt", CorpusText());
    s->FeedNotation(":set incsearch hlsearch<CR>");
    return s;
  }();
  return *session;
}

AttachedView& CurrentView() {
  return *Session().Package().FocusedView();
}

// Typing a search line key by key with incremental search and highlighting: time per key, and
// the slowest key of each line typed ("max_key_ms"), which decides whether typing stutters.
// "lazy dog" matches all along; "zzqx" matches nowhere, so each key would read every line.
void BM_IncrementalSearchPerKey(benchmark::State& state, std::string_view pattern,
                                bool budget = true) {
  app::BatchSession& session = Session();
  IncrementalSearch& searcher = session.Package().Engine().Search().IncrementalSearcher();
  // Without a budget every key searches until it knows: what typing cost before the budget.
  searcher.SetBudget(budget ? IncrementalSearch::kDefaultBudget : std::chrono::hours(1));
  session.FeedNotation("gg");
  double slowest = 0;
  for (auto _ : state) {
    for (size_t i = 0; i <= pattern.size(); ++i) {
      const char16_t c = i == 0 ? u'/' : static_cast<char16_t>(pattern[i - 1]);
      const auto began = std::chrono::steady_clock::now();
      session.FeedKey(KeyCode::Char(c));
      const std::chrono::duration<double, std::milli> took =
          std::chrono::steady_clock::now() - began;
      slowest = std::max(slowest, took.count());
    }
    state.PauseTiming();
    session.FeedNotation("<Esc>");
    state.ResumeTiming();
  }
  searcher.SetBudget(IncrementalSearch::kDefaultBudget);
  state.counters["max_key_ms"] = slowest;
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pattern.size() + 1));
}

// A search that reads every line and finds nothing.
void BM_FullBufferSearch(benchmark::State& state) {
  app::BatchSession& session = Session();
  // Without incsearch: the keys typed before Return would search the buffer too.
  session.FeedNotation(":set noincsearch<CR>gg");
  for (auto _ : state) session.FeedNotation("/lazy dig<CR>");
  session.FeedNotation(":set incsearch<CR>");
  if (session.Cursor().first != 0) state.SkipWithError("the pattern matched");
}

// The highlight ranges of every line, as the highlighter computes them for its window.
void BM_HighlightRangesWholeBuffer(benchmark::State& state) {
  app::BatchSession& session = Session();
  session.FeedNotation("gg/lazy dog<CR>");
  SearchState& search = session.Package().Engine().Search();
  TextView& text = CurrentView().text;
  size_t count = 0;
  for (auto _ : state) {
    count = search.HighlightRanges(text, 0, text.LineCount() - 1).size();
    benchmark::DoNotOptimize(count);
  }
  if (count == 0) state.SkipWithError("no matches");
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(count));
}

BENCHMARK_CAPTURE(BM_IncrementalSearchPerKey, lazy_dog, kPattern)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_IncrementalSearchPerKey, zzqx, std::string_view("zzqx"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_IncrementalSearchPerKey, zzqx_unbudgeted, std::string_view("zzqx"), false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullBufferSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HighlightRangesWholeBuffer)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavik

BENCHMARK_MAIN();
