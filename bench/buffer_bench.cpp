// Costs of the host editor's buffer: loading a large file, random line reads, one-line edits
// in a 1,000,000-line buffer, and undo and redo of a compound edit over 1,000,000 lines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/file_io.h"
#include "platform/text_buffer.h"

namespace tavik::platform {
namespace {

constexpr uint32_t kLines = 1000000;

// The same kind of text as the shared corpus: words and a line number, about 53 bytes a line.
std::string MakeCorpus(uint32_t lines) {
  static constexpr const char* kWords[] = {
      "the",   "quick", "brown", "fox",    "jumps", "over",  "lazy",  "dog",    "alpha", "beta",
      "gamma", "delta", "int",   "return", "value", "index", "count", "buffer", "line"};
  std::mt19937 rng(7);
  std::string text;
  text.reserve(static_cast<size_t>(lines) * 54);
  for (uint32_t i = 0; i < lines; ++i) {
    const int words = 5 + static_cast<int>(rng() % 8);
    for (int w = 0; w < words; ++w) {
      text += kWords[rng() % std::size(kWords)];
      text += ' ';
    }
    text += std::to_string(i);
    text += '\n';
  }
  return text;
}

const std::string& CorpusPath() {
  static const std::string path = [] {
    const auto p = std::filesystem::temp_directory_path() / "tavik_buffer_bench.txt";
    std::ofstream(p, std::ios::binary) << MakeCorpus(kLines);
    return p.string();
  }();
  return path;
}

LineStore LoadCorpus() {
  LineStore lines;
  FileFormat format;
  LoadFile(CorpusPath(), lines, format);
  return lines;
}

void BM_LoadFile(benchmark::State& state) {
  const std::string& path = CorpusPath();
  for (auto _ : state) {
    LineStore lines;
    FileFormat format;
    benchmark::DoNotOptimize(LoadFile(path, lines, format));
    benchmark::DoNotOptimize(lines.LineCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

void BM_WriteText(benchmark::State& state) {
  const LineStore lines = LoadCorpus();
  const FileFormat format{LineBreak::kLf, true};
  std::FILE* sink = std::fopen("/dev/null", "wb");
  for (auto _ : state) WriteText(lines, format, sink);
  std::fclose(sink);
}
BENCHMARK(BM_WriteText)->Unit(benchmark::kMillisecond);

void BM_ReadLineRandom(benchmark::State& state) {
  const TextBuffer buffer(LoadCorpus());
  std::mt19937 rng(1);
  std::u16string line;
  for (auto _ : state) {
    buffer.ReadLine(rng() % kLines, line);
    benchmark::DoNotOptimize(line.data());
  }
}
BENCHMARK(BM_ReadLineRandom);

void BM_EditOneLine(benchmark::State& state) {
  TextBuffer buffer(LoadCorpus());
  std::mt19937 rng(2);
  for (auto _ : state) {
    const uint32_t line = rng() % kLines;
    buffer.Replace({line, 0}, {line, 3}, u"edited");
  }
}
BENCHMARK(BM_EditOneLine);

void BM_InsertAndDeleteLine(benchmark::State& state) {
  TextBuffer buffer(LoadCorpus());
  std::mt19937 rng(3);
  for (auto _ : state) {
    const uint32_t line = rng() % (kLines - 1);
    buffer.Insert({line, 0}, u"a new line\n");
    buffer.Replace({line, 0}, {line + 1, 0}, u"");
  }
}
BENCHMARK(BM_InsertAndDeleteLine);

// One compound edit changing every line, as a substitute over the whole file makes; then its
// undo and redo.
void BM_UndoRedoMillionLineCompound(benchmark::State& state) {
  TextBuffer buffer(LoadCorpus());
  buffer.OpenCompound();
  for (uint32_t l = 0; l < kLines; ++l) buffer.Replace({l, 0}, {l, 1}, u"XY");
  buffer.CloseCompound();
  for (auto _ : state) {
    buffer.Undo();
    buffer.Redo();
  }
}
BENCHMARK(BM_UndoRedoMillionLineCompound)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavik::platform

BENCHMARK_MAIN();
