// Engine work per key must not grow with the buffer: the same keys on a 1,000-line and on a
// 1,000,000-line buffer, through the whole key path (package, engine, TextView, host).
#include <benchmark/benchmark.h>

#include <string>

#include "app/batch_session.h"
#include "common/key_code.h"

namespace tavik {
namespace {

std::string MakeText(int lines) {
  std::string text;
  text.reserve(static_cast<size_t>(lines) * 40);
  for (int i = 0; i < lines; ++i) {
    text += "the quick brown fox jumps over the dog ";
    text += std::to_string(i);
    text += '\n';
  }
  return text;
}

// A session on a buffer of `lines` lines with the caret in the middle.
std::unique_ptr<app::BatchSession> MakeSession(int lines) {
  auto session = std::make_unique<app::BatchSession>();
  session->OpenText("bench.txt", MakeText(lines));
  session->SetCursorUtf8(lines / 2, 10);
  return session;
}

// Feeds a pair of keys that cancel each other, so the state stays the same between runs.
void FeedPair(benchmark::State& state, KeyCode first, KeyCode second) {
  auto session = MakeSession(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    session->FeedKey(first);
    session->FeedKey(second);
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

void BM_FeedKey_jk(benchmark::State& state) {
  FeedPair(state, KeyCode::Char(u'j'), KeyCode::Char(u'k'));
}
void BM_FeedKey_lh(benchmark::State& state) {
  FeedPair(state, KeyCode::Char(u'l'), KeyCode::Char(u'h'));
}
// "w" to the next word and "b" back: word motions read only the lines they cross.
void BM_FeedKey_wb(benchmark::State& state) {
  FeedPair(state, KeyCode::Char(u'w'), KeyCode::Char(u'b'));
}
// "u" with nothing to undo walks the history and finds nothing: the cost of an empty undo.
void BM_FeedKey_u(benchmark::State& state) {
  FeedPair(state, KeyCode::Char(u'u'), KeyCode::Char(u'u'));
}

// "n" and "N" with the only matches on the first and the last line: each key scans the whole
// buffer, with search highlighting of the lines around the view on.
void BM_FeedKey_nN(benchmark::State& state) {
  int lines = static_cast<int>(state.range(0));
  std::string text = "needle\n" + MakeText(lines - 2) + "needle\n";
  app::BatchSession session;
  session.OpenText("bench.txt", text);
  session.SetCursorUtf8(lines / 2, 0);
  session.FeedNotation(":set hls<CR>/needle<CR>");
  for (auto _ : state) {
    session.FeedKey(KeyCode::Char(u'N'));
    session.FeedKey(KeyCode::Char(u'n'));
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

BENCHMARK(BM_FeedKey_jk)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FeedKey_lh)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FeedKey_wb)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FeedKey_u)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FeedKey_nN)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavik

BENCHMARK_MAIN();
