// Pattern engine micro-benchmarks: compiling, searching a generated text for patterns that do
// not occur, and the pathological patterns on lines of growing length (time must grow about
// linearly). The side-by-side runs against Vim and grep are in regex_compare.sh.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "regex/search.h"

namespace {

using tavik::CompilePattern;
using tavik::kNoDelimiter;
using tavik::MatchCache;
using tavik::MatchResult;
using tavik::MatchStatus;
using tavik::Pattern;
using tavik::StringLineSource;

// The same word mix as the standard corpus, generated in process (20,000 lines).
StringLineSource WordLines() {
  static const char* const kWords[] = {
      "the",   "quick", "brown", "fox",    "jumps", "over",  "lazy",  "dog",    "alpha", "beta",
      "gamma", "delta", "int",   "return", "value", "index", "count", "buffer", "line"};
  std::vector<std::u16string> lines;
  uint32_t seed = 7;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  for (int i = 0; i < 20000; ++i) {
    std::u16string line;
    int words = 5 + int(next() % 8);
    for (int w = 0; w < words; ++w) {
      for (const char* c = kWords[next() % 19]; *c; ++c) line += char16_t(*c);
      line += u' ';
    }
    for (char c : std::to_string(i)) line += char16_t(c);
    lines.push_back(std::move(line));
  }
  return StringLineSource(std::move(lines));
}

Pattern Compiled(std::u16string_view text, bool ignore_case = false) {
  return CompilePattern(text, 2, kNoDelimiter).pattern.WithIgnoreCase(ignore_case);
}

void SearchWhole(benchmark::State& state, std::u16string_view text, bool ignore_case) {
  static const StringLineSource lines = WordLines();
  Pattern p = Compiled(text, ignore_case);
  MatchCache cache;
  MatchResult m;
  size_t chars = 0;
  for (uint32_t i = 0; i < lines.LineCount(); ++i) chars += lines.LineText(i).size() + 1;
  for (auto _ : state) {
    tavik::SearchArgs args;
    args.accept_at_start = true;
    MatchStatus s = tavik::Search(p, lines, args, cache, &m);
    benchmark::DoNotOptimize(s);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(chars) * 2);
}

void BM_Compile(benchmark::State& state) {
  for (auto _ : state) {
    auto r = CompilePattern(u"\\<\\(foo\\|ba[rz]\\)\\s*(\\d\\{2,4})\\w\\+$", 2, kNoDelimiter);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_Compile);

void BM_AbsentLiteral(benchmark::State& state) {
  SearchWhole(state, u"XYZZY_NOT_HERE", false);
}
BENCHMARK(BM_AbsentLiteral);

void BM_AbsentLiteralIgnoreCase(benchmark::State& state) {
  SearchWhole(state, u"xyzzy_not_here", true);
}
BENCHMARK(BM_AbsentLiteralIgnoreCase);

void BM_AbsentClassRepeat(benchmark::State& state) {
  SearchWhole(state, u"\\w\\+zz\\d", false);
}
BENCHMARK(BM_AbsentClassRepeat);

// No literal to look for: every word start is a candidate and the matcher runs.
void BM_AbsentClassesOnly(benchmark::State& state) {
  SearchWhole(state, u"\\<\\a\\+\\d\\d\\d\\d\\d\\d\\d\\>", false);
}
BENCHMARK(BM_AbsentClassesOnly);

// Pathological patterns on one line of N 'a' then 'c', 1,000 such lines. Search runs the whole
// path; MatchAt runs the matcher alone at column 0, without the line prefilters.
void Pathological(benchmark::State& state, std::u16string_view text, bool matcher_only) {
  size_t n = size_t(state.range(0));
  std::vector<std::u16string> lines(1000, std::u16string(n, u'a') + u"c");
  StringLineSource source(std::move(lines));
  Pattern p = Compiled(text);
  MatchCache cache;
  MatchResult m;
  for (auto _ : state) {
    if (matcher_only) {
      for (uint32_t i = 0; i < 1000; ++i) {
        benchmark::DoNotOptimize(tavik::MatchAt(p, source, {i, 0}, cache, &m));
      }
    } else {
      tavik::SearchArgs args;
      args.accept_at_start = true;
      benchmark::DoNotOptimize(tavik::Search(p, source, args, cache, &m));
    }
  }
  state.SetComplexityN(int64_t(n));
}

void BM_AltStarSearch(benchmark::State& state) {
  Pathological(state, u"^\\(a\\|aa\\)*$", false);
}
void BM_AltStarMatchAt(benchmark::State& state) {
  Pathological(state, u"^\\(a\\|aa\\)*$", true);
}
void BM_NestedStarSearch(benchmark::State& state) {
  Pathological(state, u"^\\(a*\\)*b", false);
}
void BM_NestedStarMatchAt(benchmark::State& state) {
  Pathological(state, u"^\\(a*\\)*b", true);
}
BENCHMARK(BM_AltStarSearch)->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Complexity();
BENCHMARK(BM_AltStarMatchAt)->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Complexity();
BENCHMARK(BM_NestedStarSearch)->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Complexity();
BENCHMARK(BM_NestedStarMatchAt)->Arg(20)->Arg(40)->Arg(80)->Arg(160)->Complexity();

}  // namespace

BENCHMARK_MAIN();
