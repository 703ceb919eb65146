// The backtracking matcher. A backtrack point holds only the program counter, the position and
// the lengths of the trail and path record; every change to captures, and-slots, counters and
// the match bounds is logged on the trail and undone when a point is resumed.
//
// Loops whose body can match empty: a path that comes back to a join instruction at the same
// position with the same counters (counted only up to the loop minimum) as earlier on the same
// path fails, so an empty iteration ends the loop and non-empty iterations are unaffected.
// For programs without back-references, counters and and-concatenation that rule is enforced
// by the record of explored pairs, which also skips pairs already known to fail.
#include "regex/matcher.h"

#include <algorithm>
#include <cassert>

#include "common/char_class.h"
#include "common/utf16_chars.h"
#include "regex/line_source.h"
#include "regex/matcher_steps.h"
#include "regex/program_info.h"
#include "regex/regex_classes.h"

namespace tavik {
namespace regex {

using namespace matcher_steps;

LineMatcher::LineMatcher(const ProgramInfo& info, bool ignore_case, const LineSource& source,
                         MatchCache& cache)
    : info_(info),
      ignore_case_(ignore_case),
      source_(source),
      cache_(cache),
      limits_(cache.limits),
      line_count_(std::max<uint32_t>(1, source.LineCount())) {
  cache_.visited_words_used = cache_.visited.size();
}

// The scratch space is set up at the first attempt: most searches of a long buffer reject most
// lines, and many try nothing at all, before their prefilters.
void LineMatcher::Prepare() {
  prepared_ = true;
  cache_.captures.assign(std::max<uint32_t>(info_.group_count, 1), CaptureSlot{});
  cache_.slots.assign(std::max<uint32_t>(info_.slot_count, 1), WinPos{});
  cache_.slot_set.assign(std::max<uint32_t>(info_.slot_count, 1), 0);
  cache_.counters.assign(std::max<uint32_t>(info_.counter_count, 1), 0);
  cache_.path.clear();
  cache_.path_head.clear();
  if (cache_.path_head_dense.size() > kDenseHeadLimit) cache_.path_head_dense.clear();
  cache_.snapshots.clear();
}

void LineMatcher::StartLine(uint32_t line) {
  cache_.window.Reset(&source_, line, line_count_);
  ForgetVisited();
}

void LineMatcher::StartLine(uint32_t line, std::string_view narrow) {
  cache_.window.Reset(&source_, line, line_count_, narrow);
  ForgetVisited();
}

void LineMatcher::ForgetVisited() {
  std::fill(cache_.visited.begin(),
            cache_.visited.begin() +
                ptrdiff_t(std::min(cache_.visited_words_used, cache_.visited.size())),
            0);
  cache_.visited_words_used = 0;
  uint64_t positions = uint64_t(cache_.window.Line(0).size()) + 1;
  memo_ = info_.memo_ok &&
          positions * std::max<uint32_t>(info_.join_count, 1) <= limits_.max_visited_bits;
}

MatchStatus LineMatcher::Try(uint32_t column, MatchResult* result) {
  // A match never starts on the second half of a surrogate pair.
  if (InsidePair(cache_.window.Line(0), column)) return MatchStatus::kNoMatch;
  if (!prepared_) Prepare();
  MatchStatus status = memo_ ? Run<true>(column, result) : Run<false>(column, result);
  if (status != MatchStatus::kNoMatch && memo_) {
    // The record is only known to hold failing pairs after a failed attempt.
    std::fill(cache_.visited.begin(),
              cache_.visited.begin() +
                  ptrdiff_t(std::min(cache_.visited_words_used, cache_.visited.size())),
              0);
    cache_.visited_words_used = 0;
  }
  return status;
}

template <bool kMemo>
MatchStatus LineMatcher::Run(uint32_t column, MatchResult* result) {
  MatchCache& c = cache_;
  LineWindow& win = c.window;
  const std::vector<Inst>& insts = info_.insts;
  const uint64_t joins = info_.join_count;
  const bool ic = ignore_case_;
  auto& stack = c.stack;
  auto& trail = c.trail;
  auto& caps = c.captures;
  stack.clear();
  trail.clear();
  AttemptState st;
  WinPos pos{0, column};
  st.match_start = pos;
  std::u16string_view text = win.Line(0);
  int32_t pc = 0;
  uint64_t steps = 0;
  MatchStatus status = MatchStatus::kNoMatch;

  auto log = [&](TrailEntry::Kind kind, uint16_t index, WinPos a, WinPos b, uint8_t flag,
                 uint32_t value) {
    trail.push_back({kind, flag, index, a, b, value});
  };
  auto grow_counters = [&](uint8_t k) {
    if (k + 1u > st.counter_count) {
      log(TrailEntry::kCounterCount, 0, {}, {}, 0, st.counter_count);
      for (uint32_t i = st.counter_count; i <= k; ++i) {
        log(TrailEntry::kCounter, uint16_t(i), {}, {}, 0, c.counters[i]);
        c.counters[i] = 0;
      }
      st.counter_count = k + 1u;
    }
  };

  for (;;) {
    const Inst& in = insts[size_t(pc)];
    bool ok = true;
    if constexpr (!kMemo) {
      if (++steps > limits_.step_budget) {
        status = MatchStatus::kTooComplex;
        break;
      }
    }
    if (in.join >= 0) {
      uint64_t key = win.PosIndex(pos) * joins + uint64_t(in.join);
      JoinCheck join = CheckJoinPoint<kMemo>(c, info_, limits_, key, st.counter_count);
      if (join == JoinCheck::kTooComplex) {
        status = MatchStatus::kTooComplex;
        break;
      }
      ok = join == JoinCheck::kGoOn;
    }
    if (ok) {
      switch (in.op) {
        case Op::kJump:
          pc = in.target;
          continue;
        case Op::kSplitNext:
        case Op::kSplitJump: {
          if (stack.size() >= limits_.max_stack) {
            status = MatchStatus::kTooComplex;
            break;
          }
          bool next = in.op == Op::kSplitNext;
          stack.push_back(
              {next ? in.target : pc + 1, pos, uint32_t(trail.size()), uint32_t(c.path.size())});
          pc = next ? pc + 1 : in.target;
          continue;
        }
        case Op::kMatch:
          status = MatchStatus::kMatch;
          break;
        case Op::kAtom:
          if (MatchAtom(in, info_, c, st.cap_count, ic, pos, text)) {
            ++pc;
            continue;
          }
          break;
        case Op::kOpen: {
          uint8_t g = in.arg;
          if (g + 1u > st.cap_count) {
            log(TrailEntry::kCaptureCount, 0, {}, {}, 0, st.cap_count);
            st.cap_count = g + 1u;
          }
          CaptureSlot& cs = caps[g];
          log(TrailEntry::kCapture, g, cs.start, cs.end, uint8_t(cs.has_start | (cs.has_end << 1)),
              0);
          cs = {pos, {}, true, false};
          ++pc;
          continue;
        }
        case Op::kClose: {
          uint8_t g = in.arg;
          if (g < st.cap_count && !caps[g].has_end) {
            CaptureSlot& cs = caps[g];
            log(TrailEntry::kCapture, g, cs.start, cs.end,
                uint8_t(cs.has_start | (cs.has_end << 1)), 0);
            cs.end = pos;
            cs.has_end = true;
          }
          ++pc;
          continue;
        }
        case Op::kMark: {
          uint8_t k = in.arg;
          if (k + 1u > st.slot_count) {
            log(TrailEntry::kSlotCount, 0, {}, {}, 0, st.slot_count);
            st.slot_count = k + 1u;
          }
          log(TrailEntry::kSlot, k, c.slots[k], {}, c.slot_set[k], 0);
          c.slots[k] = pos;
          c.slot_set[k] = 1;
          ++pc;
          continue;
        }
        case Op::kReset: {
          uint8_t k = in.arg;
          if (k < st.slot_count && c.slot_set[k]) {
            pos = c.slots[k];
            text = win.Line(pos.line);
          }
          ++pc;
          continue;
        }
        case Op::kCounterSet:
        case Op::kCounterInc: {
          uint8_t k = in.arg;
          grow_counters(k);
          log(TrailEntry::kCounter, k, {}, {}, 0, c.counters[k]);
          c.counters[k] = in.op == Op::kCounterSet ? in.value : uint16_t(c.counters[k] + 1);
          ++pc;
          continue;
        }
        case Op::kCounterMin:
        case Op::kCounterMax: {
          uint16_t v = in.arg < st.counter_count ? c.counters[in.arg] : 0;
          ok = in.op == Op::kCounterMin ? v >= in.value : v <= in.value;
          if (ok) {
            ++pc;
            continue;
          }
          break;
        }
        case Op::kMatchStart:
          log(TrailEntry::kMatchStart, 0, st.match_start, {}, 0, 0);
          st.match_start = pos;
          ++pc;
          continue;
        case Op::kMatchEnd:
          log(TrailEntry::kMatchEnd, 0, st.match_end, {}, uint8_t(st.has_match_end), 0);
          st.match_end = pos;
          st.has_match_end = true;
          ++pc;
          continue;
      }
    }
    if (status != MatchStatus::kNoMatch) break;
    // Backtrack.
    if (stack.empty()) break;
    Backtrack b = stack.back();
    stack.pop_back();
    UndoTrail(c, st, b.trail_size);
    if constexpr (!kMemo) PopPath(c, b.path_size);
    pc = b.pc;
    pos = b.pos;
    text = win.Line(pos.line);
  }

  if (status == MatchStatus::kMatch && result != nullptr) {
    uint32_t base = win.base();
    auto to_text = [base](WinPos p) { return TextPos{base + p.line, p.col}; };
    result->start = to_text(st.match_start);
    result->end = to_text(st.has_match_end ? st.match_end : pos);
    result->captures.clear();
    for (uint32_t g = 0; g < st.cap_count; ++g) {
      const CaptureSlot& cs = caps[g];
      result->captures.push_back({to_text(cs.start), to_text(cs.end), cs.has_start, cs.has_end});
    }
  }
  // Leave the registers as they were before the attempt.
  UndoTrail(c, st, 0);
  if constexpr (!kMemo) PopPath(c, 0);
  stack.clear();
  return status;
}

}  // namespace regex

MatchStatus MatchAt(const Pattern& pattern, const LineSource& source, TextPos pos,
                    MatchCache& cache, MatchResult* result) {
  if (!pattern.valid()) return MatchStatus::kNoMatch;
  uint32_t lines = std::max<uint32_t>(1, source.LineCount());
  if (pos.line >= lines) return MatchStatus::kNoMatch;
  regex::LineMatcher matcher(*pattern.info(), pattern.ignore_case(), source, cache);
  matcher.StartLine(pos.line);
  uint32_t column = std::min<uint32_t>(pos.column, uint32_t(matcher.Text().size()));
  return matcher.Try(column, result);
}

}  // namespace tavik
