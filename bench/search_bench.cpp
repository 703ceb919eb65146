// Search through the whole key path on a large text: one typed key of an incremental search
// with highlighting on, one search over the whole buffer, and the highlight ranges of the whole
// buffer. bench/compare_search.sh runs this beside Vim on the standard corpus.
// The text is the file named by TAVIK_BENCH_CORPUS (else 1,000,000 generated lines).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/batch_session.h"
#include "common/key_code.h"
#include "engine/search_state.h"
#include "host/package.h"

namespace tavik {
namespace {

constexpr std::string_view kPattern = "lazy dog";

std::string CorpusText() {
  if (const char* path = std::getenv("TAVIK_BENCH_CORPUS")) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (in) return text.str();
  }
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

// Typing "/lazy dog" key by key with incremental search and highlighting: time per key.
void BM_IncrementalSearchPerKey(benchmark::State& state) {
  app::BatchSession& session = Session();
  session.FeedNotation("gg");
  for (auto _ : state) {
    session.FeedKey(KeyCode::Char(u'/'));
    for (char c : kPattern) session.FeedKey(KeyCode::Char(static_cast<char16_t>(c)));
    state.PauseTiming();
    session.FeedNotation("<Esc>");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kPattern.size() + 1));
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

BENCHMARK(BM_IncrementalSearchPerKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullBufferSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HighlightRangesWholeBuffer)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavik

BENCHMARK_MAIN();
