// Runs a compiled program at one position of a line source (Match at). Backtracking in the
// program's preference order, with a trail instead of thread copies and, where the program
// allows it, a record of explored (instruction, position) pairs that bounds the work.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "common/text_pos.h"
#include "regex/match_cache.h"
#include "regex/pattern.h"

namespace tavik {

class LineSource;

struct Capture {
  TextPos start;
  TextPos end;
  bool has_start = false;
  bool has_end = false;
};

struct MatchResult {
  TextPos start;                  // moved by \zs
  TextPos end;                    // \ze, else where the program matched
  std::vector<Capture> captures;  // by group number (0-based), as far as groups were opened
};

enum class MatchStatus : uint8_t {
  kNoMatch = 0,
  kMatch = 1,
  kTooComplex = 2,  // the work bound was reached; callers show kPatternTooComplexMessage
};

inline constexpr std::string_view kPatternTooComplexMessage = "Pattern too complex";

// Whether the pattern matches with its match attempt starting at `pos`.
MatchStatus MatchAt(const Pattern& pattern, const LineSource& source, TextPos pos,
                    MatchCache& cache, MatchResult* result);

namespace regex {

struct ProgramInfo;

// Match attempts on one line at a time; the record of explored pairs is kept across the
// attempts on a line, because a pair from which every path failed fails from any start.
class LineMatcher {
 public:
  LineMatcher(const ProgramInfo& info, bool ignore_case, const LineSource& source,
              MatchCache& cache);
  void StartLine(uint32_t line);
  // The same for a line the source handed out one byte per unit.
  void StartLine(uint32_t line, std::string_view narrow);
  std::u16string_view Text() { return cache_.window.Line(0); }
  MatchStatus Try(uint32_t column, MatchResult* result);

 private:
  // Clears the record of explored pairs for a new line and decides whether to keep one.
  void ForgetVisited();
  void Prepare();
  template <bool kMemo>
  MatchStatus Run(uint32_t column, MatchResult* result);

  const ProgramInfo& info_;
  bool ignore_case_;
  const LineSource& source_;
  MatchCache& cache_;
  MatchLimits limits_;
  uint32_t line_count_;
  bool memo_ = false;
  bool prepared_ = false;
};

}  // namespace regex
}  // namespace tavik
