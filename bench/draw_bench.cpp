// Drawing the editor into the screen model on every key must cost only the shown lines, and a
// frame that differs from the one before by a scroll or an edited line little more than a
// frame that does not differ at all, however long the text. 80 by 24 cells, search matches
// on the first lines.
#include <benchmark/benchmark.h>

#include <clocale>
#include <string>
#include <vector>

#include "app/terminal_draw.h"
#include "platform/editor_host.h"

namespace tavik::app {
namespace {

struct DrawFixture {
  explicit DrawFixture(int lines) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::u16string text;
    for (int i = 0; i < lines; ++i) {
      text += u"000" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
              u" foo abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz\n";
    }
    host.OpenText(text);
    view = host.FocusedView();
    for (uint32_t line = 0; line < 200; ++line) {
      view->Buffer().Markers().Add(platform::HighlightKind::kSearch, {line, 5}, {line, 8});
    }
    grid.Resize(24, 80);
    request.status_text = u"-- NORMAL --";
    composer.Draw(host, request, grid);
  }
  platform::EditorHost host;
  platform::View* view = nullptr;
  ScreenComposer composer;
  ScreenGrid grid;
  DrawRequest request;
};

void BM_DrawUnchanged(benchmark::State& state) {
  DrawFixture f(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(f.composer.Draw(f.host, f.request, f.grid));
}
BENCHMARK(BM_DrawUnchanged)->Arg(10000)->Arg(1000000);

// The view scrolled by one line, down and back up. The second argument 1 empties the caches
// before each frame, as the other programs that run between two keys (terminal, multiplexer) do.
void BM_DrawScrolledByALine(benchmark::State& state) {
  DrawFixture f(static_cast<int>(state.range(0)));
  std::vector<char> other(state.range(1) != 0 ? 32 << 20 : 0, 1);
  uint32_t top = 0;
  for (auto _ : state) {
    if (!other.empty()) {
      state.PauseTiming();
      for (size_t i = 0; i < other.size(); i += 64) other[i] = static_cast<char>(other[i] + 1);
      benchmark::ClobberMemory();
      state.ResumeTiming();
    }
    top = top == 0 ? 1 : 0;
    f.view->SetFirstVisibleLine(top);
    benchmark::DoNotOptimize(f.composer.Draw(f.host, f.request, f.grid));
  }
}
BENCHMARK(BM_DrawScrolledByALine)->ArgsProduct({{10000, 1000000}, {0, 1}});

// One character typed into the caret's line and taken out again.
void BM_DrawLineEdited(benchmark::State& state) {
  DrawFixture f(static_cast<int>(state.range(0)));
  bool typed = false;
  for (auto _ : state) {
    if (typed) {
      f.view->Buffer().Replace({3, 0}, {3, 1}, u"");
    } else {
      f.view->Buffer().Insert({3, 0}, u"x");
    }
    typed = !typed;
    benchmark::DoNotOptimize(f.composer.Draw(f.host, f.request, f.grid));
  }
}
BENCHMARK(BM_DrawLineEdited)->Arg(10000)->Arg(1000000);

// Every row laid out again, as on the first frame.
void BM_DrawAllRowsLaidOut(benchmark::State& state) {
  DrawFixture f(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    f.composer.ForgetDrawnRows();
    benchmark::DoNotOptimize(f.composer.Draw(f.host, f.request, f.grid));
  }
}
BENCHMARK(BM_DrawAllRowsLaidOut)->Arg(10000)->Arg(1000000);

}  // namespace
}  // namespace tavik::app

BENCHMARK_MAIN();
