// Helpers for the pattern tests: compile, run a search over lines given as one string, and
// describe the outcome as text so expectations read like the match they state.
#pragma once

#include <string>
#include <string_view>

#include "regex/line_source.h"
#include "regex/match_cache.h"
#include "regex/matcher.h"
#include "regex/pattern.h"
#include "regex/search.h"

namespace tavik::testing {

inline SearchArgs From(uint32_t line, uint32_t column, bool accept = false, bool wrap = false) {
  SearchArgs a;
  a.start = {line, column};
  a.accept_at_start = accept;
  a.wrapscan = wrap;
  return a;
}

inline std::string Utf8(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out += c < 128 ? char(c) : '?';
  return out;
}

inline Pattern Compile(std::u16string_view text, bool ignore_case = false, int level = 2) {
  CompileResult r = CompilePattern(text, level, kNoDelimiter);
  return r.pattern.valid() ? r.pattern.WithIgnoreCase(ignore_case) : r.pattern;
}

inline std::string Describe(TextPos p) {
  return std::to_string(p.line) + ":" + std::to_string(p.column);
}

// "l:c-l:c" for a match, "none" for no match, "too complex" when the bound was reached.
inline std::string Describe(MatchStatus status, const MatchResult& m) {
  if (status == MatchStatus::kNoMatch) return "none";
  if (status == MatchStatus::kTooComplex) return "too complex";
  return Describe(m.start) + "-" + Describe(m.end);
}

// The matched text on one line, or the status when there is no match.
inline std::string Found(std::u16string_view pattern, std::u16string_view text,
                         bool ignore_case = false, SearchArgs args = From(0, 0, true)) {
  Pattern p = Compile(pattern, ignore_case);
  if (!p.valid()) return "invalid";
  StringLineSource lines = StringLineSource::FromText(text);
  MatchCache cache;
  MatchResult m;
  MatchStatus s = Search(p, lines, args, cache, &m);
  if (s != MatchStatus::kMatch) return Describe(s, m);
  if (m.start.line != m.end.line || m.end.column < m.start.column) return Describe(s, m);
  return "[" +
         Utf8(lines.LineText(m.start.line).substr(m.start.column, m.end.column - m.start.column)) +
         "]@" + std::to_string(m.start.column);
}

inline std::string SearchAt(std::u16string_view pattern, std::u16string_view text, SearchArgs args,
                            bool ignore_case = false) {
  Pattern p = Compile(pattern, ignore_case);
  StringLineSource lines = StringLineSource::FromText(text);
  MatchCache cache;
  MatchResult m;
  return Describe(Search(p, lines, args, cache, &m), m);
}

inline std::string Groups(std::u16string_view pattern, std::u16string_view text) {
  Pattern p = Compile(pattern);
  StringLineSource lines = StringLineSource::FromText(text);
  MatchCache cache;
  MatchResult m;
  MatchStatus s = Search(p, lines, From(0, 0, true), cache, &m);
  if (s != MatchStatus::kMatch) return Describe(s, m);
  std::string out;
  for (const Capture& c : m.captures) {
    if (!out.empty()) out += " ";
    if (!c.has_start) {
      out += "-";
      continue;
    }
    if (!c.has_end || c.start.line != c.end.line) {
      out += "?";
      continue;
    }
    out +=
        "[" +
        Utf8(lines.LineText(c.start.line).substr(c.start.column, c.end.column - c.start.column)) +
        "]";
  }
  return out;
}

}  // namespace tavik::testing
