// The scan visits positions in the order the plain design does: forward from the start to the
// end of the buffer, then from (0, 0) back to the start when wrapping (backward mirrored), each
// end of line included. Per line, the prefilters of the program pick the positions worth a
// match attempt; every other position cannot begin a match, so results are unchanged.
#include "regex/search.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/char_class.h"
#include "regex/char_scan.h"
#include "regex/line_source.h"
#include "regex/program_info.h"

namespace tavik {
namespace {

using regex::kNotFound;

class Scanner {
 public:
  Scanner(const Pattern& pattern, const LineSource& source, const SearchArgs& args,
          MatchCache& cache, MatchResult* result)
      : info_(*pattern.info()),
        ic_(pattern.ignore_case()),
        first_(info_.first[ic_]),
        required_(info_.required[ic_]),
        args_(args),
        source_(source),
        matcher_(info_, ic_, source, cache),
        result_(result),
        batch_(cache.narrow_batch),
        literal_only_(info_.literal_only && !required_.at_line_end &&
                      required_.text.size() + 1 == info_.insts.size()) {
    if (batch_.size() < kMaxBatch) batch_.resize(kMaxBatch);
  }

  // Tries the positions of `line` from column `lo` to `hi` (both inclusive, hi clamped to the
  // line length) in the scan direction.
  MatchStatus Line(uint32_t line, uint32_t lo, uint32_t hi, bool backward);
  // The first line in [line, last] that Line must look at when the scan covers each of them
  // whole: lines the source holds narrow and without the required literal have no match. A
  // batch of lines is read at a time; `last` + 1 when none is left.
  uint32_t SkipLinesWithoutLiteral(uint32_t line, uint32_t last);

 private:
  bool IsFirstChar(char16_t c) const {
    return c < 128 ? ((first_.ascii[c >> 6] >> (c & 63)) & 1) != 0 : first_.non_ascii;
  }
  size_t NextCandidate(std::u16string_view text, size_t col, size_t end) const;
  size_t PrevCandidate(std::u16string_view text, size_t lo, size_t col) const;
  MatchStatus Attempt(uint32_t line, uint32_t col, bool* done);
  // Line forward for a pattern that is one literal: the matches are where the scan finds it.
  template <class Text>
  MatchStatus LiteralLine(uint32_t line, Text text, uint32_t lo, uint32_t hi);
  // The line one byte per unit, from the batch read last or from the source; false when the
  // source gives it only as UTF-16.
  bool NarrowLine(uint32_t line, std::string_view* out) const;
  // The first line of the batch in [from, to) holding the required literal, or `to`.
  uint32_t FirstBatchLineWithLiteral(uint32_t from, uint32_t to);

  const regex::ProgramInfo& info_;
  bool ic_;
  const regex::FirstChars& first_;
  const regex::RequiredLiteral& required_;
  const SearchArgs& args_;
  const LineSource& source_;
  regex::LineMatcher matcher_;
  MatchResult* result_;
  MatchResult scratch_;
  // The line SkipLinesWithoutLiteral last found the literal on, which Line need not test again.
  uint32_t literal_line_ = UINT32_MAX;
  // The last batch of narrow lines read, kept for the lines after a failed attempt: the source
  // does not change during a search. `batch_short_`: the line after it is not narrow.
  static constexpr uint32_t kMaxBatch = 256;
  std::vector<std::string_view>& batch_;
  uint32_t batch_first_ = 0;
  uint32_t batch_count_ = 0;
  bool batch_short_ = false;
  // The batch lines [run_first_, run_end_) lie one after another in memory.
  uint32_t run_first_ = 0;
  uint32_t run_end_ = 0;
  // Small batches first: a search that stops a few lines on (":g" looks for each next matching
  // line) must not read hundreds of lines ahead.
  uint32_t batch_size_ = 4;
  const bool literal_only_;
};

bool Scanner::NarrowLine(uint32_t line, std::string_view* out) const {
  if (line - batch_first_ < batch_count_) {
    *out = batch_[line - batch_first_];
    return true;
  }
  return source_.NarrowLines(line, {out, 1}) == 1;
}

// First column in [col, end) where a character may begin a match, or `end`.
size_t Scanner::NextCandidate(std::u16string_view text, size_t col, size_t end) const {
  if (first_.needle_count > 0) {
    return regex::ScanForward(text.data(), col, end, first_.needles.data(), first_.needle_count,
                              first_.non_ascii);
  }
  while (col < end && !IsFirstChar(text[col])) ++col;
  return col;
}

// Last column in [lo, col) where a character may begin a match, or kNotFound.
size_t Scanner::PrevCandidate(std::u16string_view text, size_t lo, size_t col) const {
  if (first_.needle_count > 0) {
    return regex::ScanBackward(text.data(), lo, col, first_.needles.data(), first_.needle_count,
                               first_.non_ascii);
  }
  while (col > lo) {
    if (IsFirstChar(text[col - 1])) return col - 1;
    --col;
  }
  return kNotFound;
}

MatchStatus Scanner::Attempt(uint32_t line, uint32_t col, bool* done) {
  TextPos pos{line, col};
  *done = false;
  if (first_.word_start_only) {
    std::u16string_view text = matcher_.Text();
    if (col >= text.size() || !IsPatternWordChar(text[col]) ||
        (col > 0 && IsPatternWordChar(text[col - 1]))) {
      return MatchStatus::kNoMatch;
    }
  }
  if (!args_.accept_at_start && pos == args_.start) return MatchStatus::kNoMatch;
  MatchResult* out = result_ != nullptr ? result_ : &scratch_;
  MatchStatus status = matcher_.Try(col, out);
  if (status == MatchStatus::kTooComplex) {
    *done = true;
    return status;
  }
  if (status == MatchStatus::kMatch && (args_.accept_at_start || out->start != args_.start)) {
    *done = true;
    return status;
  }
  return MatchStatus::kNoMatch;
}

template <class Text>
MatchStatus Scanner::LiteralLine(uint32_t line, Text text, uint32_t lo, uint32_t hi) {
  for (size_t at = regex::FindRequired(text, lo, required_, ic_); at != kNotFound && at <= hi;
       at = regex::FindRequired(text, at + 1, required_, ic_)) {
    const TextPos start{line, uint32_t(at)};
    if (!args_.accept_at_start && start == args_.start) continue;
    MatchResult* out = result_ != nullptr ? result_ : &scratch_;
    out->start = start;
    out->end = {line, uint32_t(at + required_.text.size())};
    out->captures.clear();
    return MatchStatus::kMatch;
  }
  return MatchStatus::kNoMatch;
}

MatchStatus Scanner::Line(uint32_t line, uint32_t lo, uint32_t hi, bool backward) {
  // Most lines of a long buffer fail the literal test: decide that on the plain line text
  // before setting up the matcher for it.
  // A line the source holds one byte per unit is tested where it lies, without widening it.
  std::string_view narrow;
  const bool is_narrow = NarrowLine(line, &narrow);
  if (literal_only_ && !backward) {
    return is_narrow ? LiteralLine(line, narrow, lo, hi)
                     : LiteralLine(line, source_.LineText(line), lo, hi);
  }
  if (!required_.text.empty() && !(line == literal_line_ && lo == 0)) {
    if (is_narrow) {
      if (lo > narrow.size() || regex::FindRequired(narrow, lo, required_, ic_) == kNotFound) {
        return MatchStatus::kNoMatch;
      }
    } else {
      std::u16string_view peek = source_.LineText(line);
      if (lo > peek.size() || regex::FindRequired(peek, lo, required_, ic_) == kNotFound) {
        return MatchStatus::kNoMatch;
      }
    }
  }
  if (is_narrow) {
    matcher_.StartLine(line, narrow);
  } else {
    matcher_.StartLine(line);
  }
  std::u16string_view text = matcher_.Text();
  const size_t len = text.size();
  hi = uint32_t(std::min<size_t>(hi, len));
  if (lo > hi) return MatchStatus::kNoMatch;
  bool done = false;
  MatchStatus status = MatchStatus::kNoMatch;
  if (first_.line_start_only) {
    if (lo == 0) status = Attempt(line, 0, &done);
    return done ? status : MatchStatus::kNoMatch;
  }
  if (first_.any_position) {
    for (uint32_t i = 0; i <= hi - lo; ++i) {
      status = Attempt(line, backward ? hi - i : lo + i, &done);
      if (done) return status;
    }
    return MatchStatus::kNoMatch;
  }
  bool try_end = first_.at_line_end && hi == len;
  if (!backward) {
    size_t end = std::min<size_t>(size_t(hi) + 1, len);
    for (size_t col = NextCandidate(text, lo, end); col < end;
         col = NextCandidate(text, col + 1, end)) {
      status = Attempt(line, uint32_t(col), &done);
      if (done) return status;
    }
    if (try_end) {
      status = Attempt(line, uint32_t(len), &done);
      if (done) return status;
    }
    return MatchStatus::kNoMatch;
  }
  if (try_end) {
    status = Attempt(line, uint32_t(len), &done);
    if (done) return status;
  }
  size_t top = std::min<size_t>(size_t(hi) + 1, len);
  for (size_t col = PrevCandidate(text, lo, top); col != kNotFound;
       col = PrevCandidate(text, lo, col)) {
    status = Attempt(line, uint32_t(col), &done);
    if (done) return status;
  }
  return MatchStatus::kNoMatch;
}

uint32_t Scanner::SkipLinesWithoutLiteral(uint32_t line, uint32_t last) {
  if (required_.text.empty()) return line;
  while (line <= last) {
    if (line - batch_first_ >= batch_count_) {
      const uint32_t want = std::min(batch_size_, last - line + 1);
      batch_size_ = std::min(batch_size_ * 2, kMaxBatch);
      batch_first_ = line;
      batch_count_ = source_.NarrowLines(line, {batch_.data(), want});
      batch_short_ = batch_count_ < want;
      run_end_ = 0;
    }
    const uint32_t to = std::min(batch_count_, last - batch_first_ + 1);
    const uint32_t found = FirstBatchLineWithLiteral(line - batch_first_, to);
    if (found < to) {
      literal_line_ = batch_first_ + found;
      return literal_line_;
    }
    line = batch_first_ + to;
    // A line the source gives only as UTF-16 is Line's to read.
    if (to == batch_count_ && batch_short_) return line;
  }
  return line;
}

uint32_t Scanner::FirstBatchLineWithLiteral(uint32_t from, uint32_t to) {
  if (required_.at_line_end) {
    // Only the end of each line can hold it.
    for (uint32_t i = from; i < to; ++i) {
      if (regex::FindRequired(batch_[i], 0, required_, ic_) != kNotFound) return i;
    }
    return to;
  }
  // Lines stored one after the other are searched as one text, so that the scan runs over
  // thousands of bytes at a time; an occurrence that straddles two lines is none.
  for (uint32_t first = from; first < to;) {
    if (first < run_first_ || first >= run_end_) {
      // Where the run holding `first` ends, found once per batch line: later searches start
      // inside the same run.
      run_first_ = first;
      run_end_ = first + 1;
      while (run_end_ < batch_count_ &&
             batch_[run_end_].data() == batch_[run_end_ - 1].data() + batch_[run_end_ - 1].size()) {
        ++run_end_;
      }
    }
    const uint32_t end = std::min(run_end_, to);
    const std::string_view run(batch_[first].data(),
                               static_cast<size_t>(batch_[end - 1].data() + batch_[end - 1].size() -
                                                   batch_[first].data()));
    uint32_t in = first;    // the line holding `at`
    size_t line_start = 0;  // where it starts in the run
    for (size_t at = regex::FindRequired(run, 0, required_, ic_); at != kNotFound;
         at = regex::FindRequired(run, at + 1, required_, ic_)) {
      while (at >= line_start + batch_[in].size()) line_start += batch_[in++].size();
      if (at + required_.text.size() <= line_start + batch_[in].size()) return in;
    }
    first = end;
  }
  return to;
}

// Positions from `a` to `b` in scan order; `b` itself only when `include_b`.
MatchStatus ScanRange(Scanner& scanner, TextPos a, TextPos b, bool include_b, bool backward) {
  if (!backward) {
    for (uint32_t line = a.line; line <= b.line; ++line) {
      if (line != a.line && line < b.line) {
        line = scanner.SkipLinesWithoutLiteral(line, b.line - 1);
      }
      uint32_t lo = line == a.line ? a.column : 0;
      uint32_t hi = kEndOfLineColumn - 1;
      if (line == b.line) {
        if (!include_b && b.column == 0) break;
        hi = include_b ? b.column : b.column - 1;
      }
      MatchStatus s = scanner.Line(line, lo, hi, false);
      if (s != MatchStatus::kNoMatch) return s;
    }
    return MatchStatus::kNoMatch;
  }
  for (uint32_t line = a.line + 1; line-- > b.line;) {
    uint32_t hi = line == a.line ? a.column : kEndOfLineColumn - 1;
    uint32_t lo = 0;
    if (line == b.line) lo = include_b ? b.column : b.column + 1;
    MatchStatus s = scanner.Line(line, lo, hi, true);
    if (s != MatchStatus::kNoMatch) return s;
  }
  return MatchStatus::kNoMatch;
}

// The length of a line, from its narrow form where the source has one: reading it as UTF-16
// would copy it (and push the line being scanned out of a one-line cache).
uint32_t LineLength(const LineSource& source, uint32_t line) {
  std::string_view narrow;
  if (source.NarrowLines(line, {&narrow, 1}) == 1) return uint32_t(narrow.size());
  return uint32_t(source.LineText(line).size());
}

TextPos Clamp(const LineSource& source, uint32_t lines, TextPos p) {
  if (p.line >= lines) return {lines - 1, LineLength(source, lines - 1)};
  if (p.column > 0) p.column = std::min(p.column, LineLength(source, p.line));
  return p;
}

}  // namespace

MatchStatus Search(const Pattern& pattern, const LineSource& source, const SearchArgs& args,
                   MatchCache& cache, MatchResult* result) {
  if (!pattern.valid()) return MatchStatus::kNoMatch;
  const uint32_t lines = std::max<uint32_t>(1, source.LineCount());
  SearchArgs a = args;
  a.start = Clamp(source, lines, args.start);
  if (args.stop) a.stop = Clamp(source, lines, *args.stop);
  const TextPos origin{0, 0};
  // The buffer's end is read only when the search runs to it: a bounded search (the highlights
  // of a screen) must not fetch the last line of a long buffer every time.
  auto last = [&] { return TextPos{lines - 1, LineLength(source, lines - 1)}; };
  Scanner scanner(pattern, source, a, cache, result);
  if (!a.backward) {
    TextPos edge = (!a.wrapscan && a.stop && *a.stop >= a.start) ? *a.stop : last();
    MatchStatus s = ScanRange(scanner, a.start, edge, true, false);
    if (s != MatchStatus::kNoMatch || !a.wrapscan) return s;
    return ScanRange(scanner, origin, a.start, false, false);
  }
  TextPos edge = (!a.wrapscan && a.stop && *a.stop <= a.start) ? *a.stop : origin;
  MatchStatus s = ScanRange(scanner, a.start, edge, true, true);
  if (s != MatchStatus::kNoMatch || !a.wrapscan) return s;
  return ScanRange(scanner, last(), a.start, false, true);
}

// The scanner with the arguments it reads, which each Find sets.
struct ForwardSearch::State {
  State(const Pattern& pattern, const LineSource& source, MatchCache& cache, MatchResult* result)
      : lines(std::max<uint32_t>(1, source.LineCount())),
        scanner(pattern, source, args, cache, result) {}
  // The source's line count, which changes only where Forget is called.
  uint32_t lines;
  SearchArgs args;
  Scanner scanner;
  // The last stop asked for and where it clamped to: the same stop again needs no line length.
  std::optional<TextPos> asked_stop;
};

ForwardSearch::ForwardSearch(const Pattern& pattern, const LineSource& source, MatchCache& cache,
                             bool accept_at_start)
    : pattern_(pattern), source_(source), cache_(cache), accept_at_start_(accept_at_start) {}

ForwardSearch::~ForwardSearch() = default;

void ForwardSearch::Forget() {
  state_.reset();
}

MatchStatus ForwardSearch::Find(TextPos start, TextPos stop) {
  if (!pattern_.valid()) return MatchStatus::kNoMatch;
  // The scanner's matcher knows the line count: a new one after Forget.
  if (!state_) state_ = std::make_unique<State>(pattern_, source_, cache_, &match_);
  const uint32_t lines = state_->lines;
  SearchArgs& a = state_->args;
  a.start = Clamp(source_, lines, start);
  if (state_->asked_stop != stop) {
    a.stop = Clamp(source_, lines, stop);
    state_->asked_stop = stop;
  }
  a.accept_at_start = accept_at_start_;
  const TextPos edge =
      *a.stop >= a.start ? *a.stop : TextPos{lines - 1, LineLength(source_, lines - 1)};
  return ScanRange(state_->scanner, a.start, edge, true, false);
}

MatchStatus SearchLines(const Pattern& pattern, const LineSource& source, uint32_t first,
                        uint32_t last, MatchCache& cache, std::vector<uint32_t>* lines) {
  if (!pattern.valid()) return MatchStatus::kNoMatch;
  const uint32_t count = std::max<uint32_t>(1, source.LineCount());
  last = std::min(last, count - 1);
  ForwardSearch search(pattern, source, cache, true);
  const TextPos edge{last, LineLength(source, last)};
  for (uint32_t line = first; line <= last;) {
    const MatchStatus status = search.Find({line, 0}, edge);
    if (status == MatchStatus::kTooComplex) return status;
    if (status != MatchStatus::kMatch) break;
    const uint32_t hit = std::max(search.match().start.line, line);
    if (hit > last) break;
    lines->push_back(hit);
    line = hit + 1;
  }
  return MatchStatus::kNoMatch;
}

}  // namespace tavik
