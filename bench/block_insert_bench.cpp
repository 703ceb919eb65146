// A block insertion copies the typed text to every line of the block: the time must grow with
// lines x typed characters and nothing more. Timed are Escape after typing on the first line
// (the copy to the other lines) and "." (the whole insertion again on a block of the same size);
// the undo that restores the buffer between runs is not timed.
#include <benchmark/benchmark.h>

#include <string>

#include "app/batch_session.h"
#include "common/key_code.h"

namespace tavik {
namespace {

std::unique_ptr<app::BatchSession> MakeSession(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "the quick brown fox jumps over the lazy dog\n";
  auto session = std::make_unique<app::BatchSession>();
  session->OpenText("bench.txt", text);
  session->SetCursorUtf8(0, 4);
  return session;
}

void TypeCharacters(app::BatchSession& session, int count) {
  for (int i = 0; i < count; ++i)
    session.FeedKey(KeyCode::Char(static_cast<char16_t>(u'a' + i % 26)));
}

void SelectBlockAndInsert(app::BatchSession& session, int lines) {
  session.FeedNotation("gg04l<C-v>" + std::to_string(lines - 1) + "jI");
}

// Escape copies the text typed on the first line to the block's other lines.
void BM_BlockInsertEscape(benchmark::State& state) {
  int lines = static_cast<int>(state.range(0));
  int chars = static_cast<int>(state.range(1));
  auto session = MakeSession(lines);
  for (auto _ : state) {
    state.PauseTiming();
    SelectBlockAndInsert(*session, lines);
    TypeCharacters(*session, chars);
    state.ResumeTiming();
    session->FeedKey(KeyCode::Char(ch::kEscape));
    state.PauseTiming();
    session->FeedKey(KeyCode::Char(u'u'));
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * lines * chars);
}

// "." replays the insertion on the first line and copies it to the others.
void BM_BlockInsertRepeat(benchmark::State& state) {
  int lines = static_cast<int>(state.range(0));
  int chars = static_cast<int>(state.range(1));
  auto session = MakeSession(lines);
  SelectBlockAndInsert(*session, lines);
  TypeCharacters(*session, chars);
  session->FeedNotation("<Esc>u");
  for (auto _ : state) {
    session->FeedKey(KeyCode::Char(u'.'));
    state.PauseTiming();
    session->FeedKey(KeyCode::Char(u'u'));
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * lines * chars);
}

// Lines x characters: 100, 1,000 and 10,000 lines of 1,000 characters, then 1,000 lines of 100
// and of 10,000 characters: from 100,000 to 10,000,000 characters in all.
void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({100, 1000})->Args({1000, 1000})->Args({10000, 1000});
  b->Args({1000, 100})->Args({1000, 10000});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_BlockInsertEscape)->Apply(Sizes);
BENCHMARK(BM_BlockInsertRepeat)->Apply(Sizes);

}  // namespace
}  // namespace tavik
BENCHMARK_MAIN();
