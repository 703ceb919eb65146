// Ex commands over a whole 1,000,000-line buffer, in process through the key path: ":g/7$/d",
// ":v/7$/d" (94% of the lines), ":%s/fox/cat/g" and that substitution then "u". Each iteration
// starts from the loaded text: the undo that restores it is not timed. The whole-process
// figures beside Vim come from bench/compare_whole_buffer.sh.
// The text is the file named by TAVIK_BENCH_CORPUS (else 1,000,000 generated lines).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "app/batch_session.h"
#include "bench_corpus.h"
#include "host/package.h"

namespace tavik {
namespace {

std::string CorpusText() {
  if (std::optional<std::string> corpus = bench::CorpusFromEnvironment()) return *corpus;
  static constexpr const char* kWords[] = {"the",   "quick", "brown", "fox",    "jumps",
                                           "over",  "lazy",  "dog",   "alpha",  "beta",
                                           "gamma", "delta", "int",   "return", "value"};
  std::mt19937 rng(7);
  std::string text;
  for (int i = 0; i < 1000000; ++i) {
    for (int w = 5 + static_cast<int>(rng() % 8); w > 0; --w) {
      text += kWords[rng() % std::size(kWords)];
      text += ' ';
    }
    text += std::to_string(i) + "\n";
  }
  return text;
}

// One session for all benchmarks: loading 50 MB per iteration would dominate the run.
app::BatchSession& Session() {
  static const std::unique_ptr<app::BatchSession> session = [] {
    auto s = std::make_unique<app::BatchSession>();
    s->OpenText("corpus.txt", CorpusText());
    return s;
  }();
  return *session;
}

uint32_t LineCount() {
  return Session().Package().FocusedView()->text.LineCount();
}

// Runs `keys` per iteration, then undoes them untimed with `undo` (none when the keys end with
// their own undo).
void RunKeys(benchmark::State& state, std::string_view keys, std::string_view undo) {
  app::BatchSession& session = Session();
  const uint32_t lines = LineCount();
  for (auto _ : state) {
    session.FeedNotation(keys);
    state.PauseTiming();
    session.FeedNotation(undo);
    session.FeedNotation("gg");
    state.ResumeTiming();
  }
  if (LineCount() != lines) state.SkipWithError("the undo did not restore the text");
}

void BM_GlobalDelete(benchmark::State& state) {
  RunKeys(state, ":g/7$/d<CR>", "u");
}
void BM_InverseGlobalDelete(benchmark::State& state) {
  RunKeys(state, ":v/7$/d<CR>", "u");
}
void BM_SubstituteEveryLine(benchmark::State& state) {
  RunKeys(state, ":%s/fox/cat/g<CR>", "u");
}
void BM_SubstituteThenUndo(benchmark::State& state) {
  RunKeys(state, ":%s/fox/cat/g<CR>u", "");
}

BENCHMARK(BM_GlobalDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InverseGlobalDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SubstituteEveryLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SubstituteThenUndo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavik

BENCHMARK_MAIN();
