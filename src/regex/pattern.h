// A compiled pattern: the byte program with its case flags, plus the compile entry point and
// the case decision made before each search. Copying a Pattern copies one shared pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace tavik {

namespace regex {
struct ProgramInfo;
}

// Why a compile failed. Callers show their own single message; the code is for tests and logs.
enum class CompileError : uint8_t {
  kNone = 0,
  kTrailingText = 1,          // text left over after the top-level alternation
  kUnterminatedBracket = 4,   // end of text or delimiter inside [...]
  kUnclosedGroup = 5,         // \( or \%( without \)
  kMalformedBrace = 6,        // \{...} that is not [-][min][,[max]]
  kTooManyBracketChars = 7,   // more than 255 single characters in one set
  kTooManyBracketRanges = 8,  // 256 or more ranges in one set
  kTooManyBraces = 9,         // more than 256 \{...} in one pattern
  kMultiAfterZeroWidth = 10,  // a repeat after ^ $ \< \> \zs \ze
  kProgramTooLarge = 11,      // a jump would not fit the 16-bit offset of the program
};

class Pattern {
 public:
  Pattern() = default;  // not valid; its program is empty

  bool valid() const { return compiled_ != nullptr; }
  std::span<const uint8_t> program() const;
  bool force_ignore_case() const { return force_ignore_case_; }
  bool force_match_case() const { return force_match_case_; }
  bool has_upper_case() const { return has_upper_case_; }
  // The case rule for the next match (true after a compile; see DecideCase).
  bool ignore_case() const { return ignore_case_; }
  Pattern WithIgnoreCase(bool ignore_case) const;

  // The decoded program and its prefilters, shared by all copies. Null when not valid.
  const regex::ProgramInfo* info() const { return compiled_.get(); }

 private:
  friend struct PatternBuilder;
  std::shared_ptr<const regex::ProgramInfo> compiled_;
  bool force_ignore_case_ = false;
  bool force_match_case_ = false;
  bool has_upper_case_ = false;
  bool ignore_case_ = false;
};

struct CompileResult {
  Pattern pattern;  // valid exactly when error is kNone
  CompileError error = CompileError::kNone;
  size_t pattern_end = 0;      // index where the pattern text ended (delimiter or end of text)
  size_t after_delimiter = 0;  // index just past the delimiter; pattern_end when none was met
};

inline constexpr char16_t kNoDelimiter = 0xFFFF;

// Compiles `text` at magic level 0..3 (callers pass 2 when `magic` is set, else 1). A pattern
// ends at the first unescaped `delimiter`; pass kNoDelimiter for none.
CompileResult CompilePattern(std::u16string_view text, int magic_level, char16_t delimiter);

struct CaseOptions {
  bool ignorecase = false;
  bool smartcase = false;
  bool suppress_smartcase = false;  // `*` and `#` searches
};

// The ignore-case rule for one search: \c, then \C or ignorecase off, then smartcase.
bool DecideIgnoreCase(const Pattern& pattern, const CaseOptions& options);
inline Pattern DecideCase(const Pattern& pattern, const CaseOptions& options) {
  return pattern.WithIgnoreCase(DecideIgnoreCase(pattern, options));
}

}  // namespace tavik
