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
#include "regex/line_source.h"
#include "regex/program_info.h"
#include "regex/regex_classes.h"

namespace tavik {
namespace regex {
namespace {

constexpr uint32_t kNoRecord = 0xFFFFFFFFu;
// Join points on the path are looked up in a plain array indexed like the record of explored
// pairs while it stays this small; beyond it a hash map takes over.
constexpr size_t kDenseHeadLimit = size_t(1) << 22;

}  // namespace

LineMatcher::LineMatcher(const ProgramInfo& info, bool ignore_case, const LineSource& source,
                         MatchCache& cache)
    : info_(info),
      ignore_case_(ignore_case),
      source_(source),
      cache_(cache),
      limits_(cache.limits),
      line_count_(std::max<uint32_t>(1, source.LineCount())) {
  cache_.captures.assign(std::max<uint32_t>(info.group_count, 1), CaptureSlot{});
  cache_.slots.assign(std::max<uint32_t>(info.slot_count, 1), WinPos{});
  cache_.slot_set.assign(std::max<uint32_t>(info.slot_count, 1), 0);
  cache_.counters.assign(std::max<uint32_t>(info.counter_count, 1), 0);
  cache_.visited_words_used = cache_.visited.size();
  cache_.path.clear();
  cache_.path_head.clear();
  if (cache_.path_head_dense.size() > kDenseHeadLimit) cache_.path_head_dense.clear();
  cache_.snapshots.clear();
}

void LineMatcher::StartLine(uint32_t line) {
  cache_.window.Reset(&source_, line, line_count_);
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
  uint32_t cap_count = 0;
  uint32_t slot_count = 0;
  uint32_t counter_count = 0;
  WinPos pos{0, column};
  WinPos match_start = pos;
  WinPos match_end;
  bool has_match_end = false;
  std::u16string_view text = win.Line(0);
  int32_t pc = 0;
  uint64_t steps = 0;
  MatchStatus status = MatchStatus::kNoMatch;

  auto undo_to = [&](size_t size) {
    while (trail.size() > size) {
      const TrailEntry& t = trail.back();
      switch (t.kind) {
        case TrailEntry::kCapture:
          caps[t.index] = {t.a, t.b, (t.flag & 1) != 0, (t.flag & 2) != 0};
          break;
        case TrailEntry::kCaptureCount:
          cap_count = t.value;
          break;
        case TrailEntry::kSlot:
          c.slots[t.index] = t.a;
          c.slot_set[t.index] = t.flag;
          break;
        case TrailEntry::kSlotCount:
          slot_count = t.value;
          break;
        case TrailEntry::kCounter:
          c.counters[t.index] = uint16_t(t.value);
          break;
        case TrailEntry::kCounterCount:
          counter_count = t.value;
          break;
        case TrailEntry::kMatchStart:
          match_start = t.a;
          break;
        case TrailEntry::kMatchEnd:
          match_end = t.a;
          has_match_end = t.flag != 0;
          break;
      }
      trail.pop_back();
    }
  };
  auto pop_path_to = [&](size_t size) {
    while (c.path.size() > size) {
      const PathRecord& r = c.path.back();
      if (r.key < c.path_head_dense.size()) {
        c.path_head_dense[size_t(r.key)] = r.prev;
      } else if (r.prev == kNoRecord) {
        c.path_head.erase(r.key);
      } else {
        c.path_head[r.key] = r.prev;
      }
      c.snapshots.resize(r.snapshot);
      c.path.pop_back();
    }
  };
  auto log = [&](TrailEntry::Kind kind, uint16_t index, WinPos a, WinPos b, uint8_t flag,
                 uint32_t value) {
    trail.push_back({kind, flag, index, a, b, value});
  };
  auto grow_counters = [&](uint8_t k) {
    if (k + 1u > counter_count) {
      log(TrailEntry::kCounterCount, 0, {}, {}, 0, counter_count);
      for (uint32_t i = counter_count; i <= k; ++i) {
        log(TrailEntry::kCounter, uint16_t(i), {}, {}, 0, c.counters[i]);
        c.counters[i] = 0;
      }
      counter_count = k + 1u;
    }
  };
  auto line_break_available = [&] { return pos.col == text.size() && !win.IsLastLine(pos.line); };
  auto next_line = [&] {
    ++pos.line;
    pos.col = 0;
    text = win.Line(pos.line);
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
      if constexpr (kMemo) {
        size_t word = size_t(key >> 6);
        if (word >= c.visited.size()) {
          if (key >= limits_.max_visited_bits) {
            status = MatchStatus::kTooComplex;
            break;
          }
          c.visited.resize(std::max(word + 1, c.visited.size() * 2), 0);
        }
        if (word >= c.visited_words_used) c.visited_words_used = word + 1;
        uint64_t bit = uint64_t(1) << (key & 63);
        if (c.visited[word] & bit) {
          ok = false;
        } else {
          c.visited[word] |= bit;
        }
      } else {
        uint32_t snapshot = uint32_t(c.snapshots.size());
        for (uint32_t k = 0; k < info_.counter_count; ++k) {
          uint16_t v = k < counter_count ? c.counters[k] : 0;
          c.snapshots.push_back(std::min(v, info_.counter_cap[k]));
        }
        if (key >= c.path_head_dense.size() && key < kDenseHeadLimit) {
          c.path_head_dense.resize(
              std::min<size_t>(kDenseHeadLimit,
                               std::max<size_t>(key + 1, 2 * c.path_head_dense.size())),
              kNoRecord);
        }
        uint32_t prev = kNoRecord;
        if (key < c.path_head_dense.size()) {
          prev = c.path_head_dense[size_t(key)];
        } else if (auto head = c.path_head.find(key); head != c.path_head.end()) {
          prev = head->second;
        }
        for (uint32_t r = prev; r != kNoRecord && ok; r = c.path[r].prev) {
          ok = !std::equal(c.snapshots.begin() + c.path[r].snapshot,
                           c.snapshots.begin() + c.path[r].snapshot + info_.counter_count,
                           c.snapshots.begin() + snapshot);
        }
        if (ok) {
          if (key < c.path_head_dense.size()) {
            c.path_head_dense[size_t(key)] = uint32_t(c.path.size());
          } else {
            c.path_head[key] = uint32_t(c.path.size());
          }
          c.path.push_back({key, prev, snapshot});
        } else {
          c.snapshots.resize(snapshot);
        }
      }
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
        case Op::kAtom: {
          char16_t ch = pos.col < text.size() ? text[pos.col] : 0;
          bool has_char = pos.col < text.size();
          switch (in.item) {
            case Item::kLiteral:
              ok = has_char && (ch == in.ch || (ic && UpperFast(ch) == in.ch_upper));
              if (ok) ++pos.col;
              break;
            case Item::kAny:
              ok = has_char;
              if (ok) ++pos.col;
              break;
            case Item::kAnyOrBreak:
              if (has_char) {
                ++pos.col;
              } else if (line_break_available()) {
                next_line();
              } else {
                ok = false;
              }
              break;
            case Item::kStartOfLine:
              ok = pos.col == 0;
              break;
            case Item::kEndOfLine:
              ok = pos.col == text.size();
              break;
            case Item::kLineBreak:
              ok = line_break_available();
              if (ok) next_line();
              break;
            case Item::kSet:
            case Item::kNegatedSet:
            case Item::kSetOrBreak:
            case Item::kNegatedSetOrBreak: {
              const SetInfo& set = info_.sets[in.set];
              if (has_char) {
                bool found = ch < 128 ? ((set.ascii[ic][ch >> 6] >> (ch & 63)) & 1) != set.negated
                                      : SetContains(set, ch, ic);
                ok = found;
                if (ok) ++pos.col;
              } else {
                ok = set.line_break && line_break_available();
                if (ok) next_line();
              }
              break;
            }
            case Item::kClass:
              if (has_char) {
                ok = ClassContains(in.arg, ch) != ((in.flags & kClassNegated) != 0);
                if (ok) ++pos.col;
              } else {
                ok = (in.flags & kClassLineBreak) && line_break_available();
                if (ok) next_line();
              }
              break;
            case Item::kStartOfWord:
              ok = has_char && IsPatternWordChar(ch) &&
                   (pos.col == 0 || !IsPatternWordChar(text[pos.col - 1]));
              break;
            case Item::kEndOfWord:
              ok = pos.col != 0 && IsPatternWordChar(text[pos.col - 1]) &&
                   (!has_char || !IsPatternWordChar(ch));
              break;
            case Item::kBackReference: {
              uint8_t n = in.arg;
              if (n >= cap_count || !caps[n].has_start || !caps[n].has_end) {
                ok = false;
                break;
              }
              WinPos s = caps[n].start;
              const WinPos e = caps[n].end;
              WinPos p = pos;
              std::u16string_view ptext = text;
              while (ok && (s.line < e.line || (s.line == e.line && s.col < e.col))) {
                std::u16string_view stext = win.Line(s.line);
                if (s.col < stext.size()) {
                  if (p.col >= ptext.size()) {
                    ok = false;
                    break;
                  }
                  char16_t a = stext[s.col];
                  char16_t b = ptext[p.col];
                  ok = a == b || (ic && UpperFast(a) == UpperFast(b));
                  ++s.col;
                  ++p.col;
                } else {
                  ok = p.col == ptext.size() && !win.IsLastLine(p.line);
                  if (!ok) break;
                  ++p.line;
                  p.col = 0;
                  ptext = win.Line(p.line);
                  ++s.line;
                  s.col = 0;
                }
              }
              if (ok) {
                pos = p;
                text = ptext;
              }
              break;
            }
          }
          if (ok) {
            ++pc;
            continue;
          }
          break;
        }
        case Op::kOpen: {
          uint8_t g = in.arg;
          if (g + 1u > cap_count) {
            log(TrailEntry::kCaptureCount, 0, {}, {}, 0, cap_count);
            cap_count = g + 1u;
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
          if (g < cap_count && !caps[g].has_end) {
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
          if (k + 1u > slot_count) {
            log(TrailEntry::kSlotCount, 0, {}, {}, 0, slot_count);
            slot_count = k + 1u;
          }
          log(TrailEntry::kSlot, k, c.slots[k], {}, c.slot_set[k], 0);
          c.slots[k] = pos;
          c.slot_set[k] = 1;
          ++pc;
          continue;
        }
        case Op::kReset: {
          uint8_t k = in.arg;
          if (k < slot_count && c.slot_set[k]) {
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
          uint16_t v = in.arg < counter_count ? c.counters[in.arg] : 0;
          ok = in.op == Op::kCounterMin ? v >= in.value : v <= in.value;
          if (ok) {
            ++pc;
            continue;
          }
          break;
        }
        case Op::kMatchStart:
          log(TrailEntry::kMatchStart, 0, match_start, {}, 0, 0);
          match_start = pos;
          ++pc;
          continue;
        case Op::kMatchEnd:
          log(TrailEntry::kMatchEnd, 0, match_end, {}, uint8_t(has_match_end), 0);
          match_end = pos;
          has_match_end = true;
          ++pc;
          continue;
      }
    }
    if (status != MatchStatus::kNoMatch) break;
    // Backtrack.
    if (stack.empty()) break;
    Backtrack b = stack.back();
    stack.pop_back();
    undo_to(b.trail_size);
    if constexpr (!kMemo) pop_path_to(b.path_size);
    pc = b.pc;
    pos = b.pos;
    text = win.Line(pos.line);
  }

  if (status == MatchStatus::kMatch && result != nullptr) {
    uint32_t base = win.base();
    auto to_text = [base](WinPos p) { return TextPos{base + p.line, p.col}; };
    result->start = to_text(match_start);
    result->end = to_text(has_match_end ? match_end : pos);
    result->captures.clear();
    for (uint32_t g = 0; g < cap_count; ++g) {
      const CaptureSlot& cs = caps[g];
      result->captures.push_back({to_text(cs.start), to_text(cs.end), cs.has_start, cs.has_end});
    }
  }
  // Leave the registers as they were before the attempt.
  undo_to(0);
  if constexpr (!kMemo) pop_path_to(0);
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
