// Counts the lines of a file on which a pattern matches, the way `:g` visits them: one search
// from the start of the text, then from the line after each match. Prints the count on stdout
// and times on stderr.
//   regex_count FILE PATTERN [--ignore-case] [--repeat N] [--whole]
// A pattern that cannot match a line break is run block by block over the file (about 256 KB of
// complete lines at a time, buffers reused), as grep reads; otherwise, or with --whole, the
// file is loaded first and searched as one text. --repeat N searches the loaded text N times.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "regex/program_info.h"
#include "regex/search.h"
#include "regex_text_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

struct Counter {
  const tavik::Pattern& pattern;
  tavik::MatchCache cache;
  bool too_complex = false;

  uint64_t Count(const tavik::LineSource& source) {
    uint64_t count = 0;
    tavik::SearchArgs args;
    args.accept_at_start = true;
    const uint32_t lines = source.LineCount();
    tavik::MatchResult m;
    for (;;) {
      tavik::MatchStatus s = tavik::Search(pattern, source, args, cache, &m);
      if (s == tavik::MatchStatus::kTooComplex) too_complex = true;
      if (s != tavik::MatchStatus::kMatch) break;
      ++count;
      if (m.start.line + 1 >= lines) break;
      args.start = {m.start.line + 1, 0};
    }
    return count;
  }
};

// Reads the file in blocks of complete lines and counts each block on its own.
bool CountByBlocks(const char* path, Counter& counter, uint64_t* count, uint64_t* lines) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  constexpr size_t kBlock = size_t(256) << 10;  // small enough to stay in the L2 cache
  std::vector<char> bytes(2 * kBlock);
  std::u16string text;
  std::vector<std::u16string_view> views;
  std::vector<std::pair<size_t, size_t>> spans;
  size_t carry = 0;
  for (;;) {
    if (bytes.size() < carry + kBlock) bytes.resize(carry + kBlock);
    size_t got = std::fread(bytes.data() + carry, 1, kBlock, f);
    bool eof = got == 0;
    size_t size = carry + got;
    if (size == 0) break;
    size_t end = size;  // bytes of complete lines in this block
    if (!eof) {
      while (end > 0 && bytes[end - 1] != '\n') --end;
      if (end == 0) end = size;  // a line longer than the block: take what there is
    }
    std::string_view all(bytes.data(), end);
    unsigned char high = 0;
    for (char c : all) high |= static_cast<unsigned char>(c);
    const bool ascii = high < 0x80;
    views.clear();
    spans.clear();
    if (ascii) {
      // Byte offsets are unit offsets: widen the block at once, split on the bytes. The
      // buffer only grows, so it is not cleared for every block.
      if (text.size() < all.size()) text.resize(all.size());
      tavik::bench::WidenAscii(all.data(), text.data(), all.size());
    } else {
      text.clear();
    }
    for (size_t start = 0; start < all.size();) {
      const void* hit = std::memchr(all.data() + start, '\n', all.size() - start);
      size_t nl = hit ? size_t(static_cast<const char*>(hit) - all.data()) : all.size();
      std::string_view line = all.substr(start, nl - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (ascii) {
        spans.push_back({start, line.size()});
      } else {
        size_t from = text.size();
        tavik::bench::AppendUtf8(line, text);
        spans.push_back({from, text.size() - from});
      }
      start = nl + 1;
    }
    for (auto [from, len] : spans) views.emplace_back(text.data() + from, len);
    *lines += views.size();
    if (!views.empty()) *count += counter.Count(tavik::ViewLineSource(views));
    std::memmove(bytes.data(), bytes.data() + end, size - end);
    carry = size - end;
    if (eof) break;
  }
  std::fclose(f);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: regex_count FILE PATTERN [--ignore-case] [--repeat N] [--whole]\n");
    return 2;
  }
  bool ignore_case = false;
  bool whole = false;
  int repeat = 1;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ignore-case") == 0) ignore_case = true;
    if (std::strcmp(argv[i], "--whole") == 0) whole = true;
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) repeat = std::atoi(argv[++i]);
  }
  std::u16string pattern_text;
  tavik::bench::AppendUtf8(argv[2], pattern_text);
  tavik::CompileResult compiled = tavik::CompilePattern(pattern_text, 2, tavik::kNoDelimiter);
  if (!compiled.pattern.valid()) {
    std::fprintf(stderr, "regex_count: invalid pattern (reason %d)\n", int(compiled.error));
    return 2;
  }
  tavik::Pattern pattern = compiled.pattern.WithIgnoreCase(ignore_case);
  Counter counter{pattern, {}, false};
  uint64_t count = 0;
  auto t0 = Clock::now();
  if (!whole && repeat == 1 && pattern.info()->single_line) {
    uint64_t lines = 0;
    if (!CountByBlocks(argv[1], counter, &count, &lines)) {
      std::fprintf(stderr, "regex_count: cannot read %s\n", argv[1]);
      return 2;
    }
    std::fprintf(stderr, "lines %llu blocks total_ms %.2f\n",
                 static_cast<unsigned long long>(lines), Ms(t0, Clock::now()));
  } else {
    auto file = tavik::bench::LoadTextFile(argv[1]);
    if (!file) {
      std::fprintf(stderr, "regex_count: cannot read %s\n", argv[1]);
      return 2;
    }
    auto t1 = Clock::now();
    tavik::ViewLineSource source(file->lines);
    for (int r = 0; r < repeat; ++r) count = counter.Count(source);
    auto t2 = Clock::now();
    std::fprintf(stderr, "lines %zu load_ms %.1f search_ms %.6f\n", file->lines.size(), Ms(t0, t1),
                 Ms(t1, t2) / repeat);
  }
  if (counter.too_complex) {
    std::fprintf(stderr, "%s\n", std::string(tavik::kPatternTooComplexMessage).c_str());
  }
  std::printf("%llu\n", static_cast<unsigned long long>(count));
  return 0;
}
