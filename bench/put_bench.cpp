// Put of many lines through the whole key path: "P" of a 100,000-line register at the top of a
// 1,000,000-line buffer, and the yank that fills it. bench/put_bench.sh runs this beside Vim.
#include <benchmark/benchmark.h>

#include <string>

#include "app/batch_session.h"
#include "common/key_code.h"

namespace tavik {
namespace {

constexpr int kBufferLines = 1000000;

// The same text bench/put_bench.sh writes for Vim.
std::string MakeText(int lines) {
  std::string text;
  text.reserve(static_cast<size_t>(lines) * 45);
  for (int i = 0; i < lines; ++i) {
    text += "the quick brown fox jumps over the dog ";
    text += std::to_string(i);
    text += '\n';
  }
  return text;
}

std::unique_ptr<app::BatchSession> MakeSession() {
  auto session = std::make_unique<app::BatchSession>();
  session->OpenText("bench.txt", MakeText(kBufferLines));
  return session;
}

// "P" of a linewise register of state.range(0) lines at the first line; undone between runs.
void BM_PutLinesAtTop(benchmark::State& state) {
  auto session = MakeSession();
  session->FeedNotation(std::to_string(state.range(0)) + "yygg");
  for (auto _ : state) {
    session->FeedKey(KeyCode::Char(u'P'));
    state.PauseTiming();
    session->FeedKey(KeyCode::Char(u'u'));
    session->FeedNotation("gg");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The yank that fills the register: state.range(0) lines from the first line.
void BM_YankLines(benchmark::State& state) {
  auto session = MakeSession();
  std::string keys = std::to_string(state.range(0)) + "yy";
  for (auto _ : state) session->FeedNotation(keys);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_PutLinesAtTop)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YankLines)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavik

BENCHMARK_MAIN();
