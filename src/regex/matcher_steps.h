// The steps of the backtracking matcher that its main loop calls: the join-point check, the
// atom test with back-references, and the undoing of the trail and the path on backtracking.
// Included by the matcher only; everything is inline so the loop stays as fast as one function.
#pragma once

#include <algorithm>
#include <string_view>

#include "common/char_class.h"
#include "common/utf16_chars.h"
#include "regex/match_cache.h"
#include "regex/program_info.h"
#include "regex/regex_classes.h"

// The steps are forced inline: as calls they cost the loop about a fifth of its time.
#if defined(__GNUC__) || defined(__clang__)
#define TAVIK_MATCHER_STEP inline __attribute__((always_inline))
#else
#define TAVIK_MATCHER_STEP inline
#endif

namespace tavik::regex::matcher_steps {

constexpr uint32_t kNoRecord = 0xFFFFFFFFu;
// Join points on the path are looked up in a plain array indexed like the record of explored
// pairs while it stays this small; beyond it a hash map takes over.
constexpr size_t kDenseHeadLimit = size_t(1) << 22;

// The registers of one match attempt that the trail restores on backtracking.
struct AttemptState {
  uint32_t cap_count = 0;
  uint32_t slot_count = 0;
  uint32_t counter_count = 0;
  WinPos match_start;
  WinPos match_end;
  bool has_match_end = false;
};

// Undoes the changes logged after the first `size` entries of the trail, newest first.
TAVIK_MATCHER_STEP void UndoTrail(MatchCache& c, AttemptState& s, size_t size) {
  auto& trail = c.trail;
  // Most backtracks have nothing to undo; testing that first keeps them to one compare.
  if (trail.size() <= size) return;
  while (trail.size() > size) {
    const TrailEntry& t = trail.back();
    switch (t.kind) {
      case TrailEntry::kCapture:
        c.captures[t.index] = {t.a, t.b, (t.flag & 1) != 0, (t.flag & 2) != 0};
        break;
      case TrailEntry::kCaptureCount:
        s.cap_count = t.value;
        break;
      case TrailEntry::kSlot:
        c.slots[t.index] = t.a;
        c.slot_set[t.index] = t.flag;
        break;
      case TrailEntry::kSlotCount:
        s.slot_count = t.value;
        break;
      case TrailEntry::kCounter:
        c.counters[t.index] = uint16_t(t.value);
        break;
      case TrailEntry::kCounterCount:
        s.counter_count = t.value;
        break;
      case TrailEntry::kMatchStart:
        s.match_start = t.a;
        break;
      case TrailEntry::kMatchEnd:
        s.match_end = t.a;
        s.has_match_end = t.flag != 0;
        break;
    }
    trail.pop_back();
  }
}

// Takes the join points after the first `size` off the path.
TAVIK_MATCHER_STEP void PopPath(MatchCache& c, size_t size) {
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
}

enum class JoinCheck : uint8_t { kGoOn, kFail, kTooComplex };

// A join instruction reached at a position. With the record of explored pairs a pair seen
// before fails; without it, the pair fails when it is already on the path with the same
// counters (as far as the loop minimums tell them apart).
template <bool kMemo>
TAVIK_MATCHER_STEP JoinCheck CheckJoinPoint(MatchCache& c, const ProgramInfo& info,
                                            const MatchLimits& limits, uint64_t key,
                                            uint32_t counter_count) {
  if constexpr (kMemo) {
    size_t word = size_t(key >> 6);
    if (word >= c.visited.size()) {
      if (key >= limits.max_visited_bits) return JoinCheck::kTooComplex;
      c.visited.resize(std::max(word + 1, c.visited.size() * 2), 0);
    }
    if (word >= c.visited_words_used) c.visited_words_used = word + 1;
    uint64_t bit = uint64_t(1) << (key & 63);
    if (c.visited[word] & bit) return JoinCheck::kFail;
    c.visited[word] |= bit;
    return JoinCheck::kGoOn;
  } else {
    uint32_t snapshot = uint32_t(c.snapshots.size());
    for (uint32_t k = 0; k < info.counter_count; ++k) {
      uint16_t v = k < counter_count ? c.counters[k] : 0;
      c.snapshots.push_back(std::min(v, info.counter_cap[k]));
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
    for (uint32_t r = prev; r != kNoRecord; r = c.path[r].prev) {
      if (std::equal(c.snapshots.begin() + c.path[r].snapshot,
                     c.snapshots.begin() + c.path[r].snapshot + info.counter_count,
                     c.snapshots.begin() + snapshot)) {
        c.snapshots.resize(snapshot);
        return JoinCheck::kFail;
      }
    }
    if (key < c.path_head_dense.size()) {
      c.path_head_dense[size_t(key)] = uint32_t(c.path.size());
    } else {
      c.path_head[key] = uint32_t(c.path.size());
    }
    c.path.push_back({key, prev, snapshot});
    return JoinCheck::kGoOn;
  }
}

// Whether the text of group `n` follows at `pos`; on success `after` is where it ends.
inline bool MatchBackReference(MatchCache& c, uint32_t cap_count, uint8_t n, bool ic, WinPos pos,
                               WinPos& after) {
  const auto& caps = c.captures;
  if (n >= cap_count || !caps[n].has_start || !caps[n].has_end) return false;
  LineWindow& win = c.window;
  WinPos s = caps[n].start;
  const WinPos e = caps[n].end;
  WinPos p = pos;
  std::u16string_view ptext = win.Line(p.line);
  while (s.line < e.line || (s.line == e.line && s.col < e.col)) {
    std::u16string_view stext = win.Line(s.line);
    if (s.col < stext.size()) {
      if (p.col >= ptext.size()) return false;
      char16_t a = stext[s.col];
      char16_t b = ptext[p.col];
      if (a != b && !(ic && UpperFast(a) == UpperFast(b))) return false;
      ++s.col;
      ++p.col;
    } else {
      if (p.col != ptext.size() || win.IsLastLine(p.line)) return false;
      ++p.line;
      p.col = 0;
      ptext = win.Line(p.line);
      ++s.line;
      s.col = 0;
    }
  }
  after = p;
  return true;
}

// The steps below take the loop's position by reference only in forced-inline code: a call that
// took its address (a lambda the compiler left out of line, say) would keep the position in
// memory for the whole loop.
TAVIK_MATCHER_STEP bool LineBreakAvailable(const LineWindow& win, WinPos pos,
                                           std::u16string_view text) {
  return pos.col == text.size() && !win.IsLastLine(pos.line);
}

TAVIK_MATCHER_STEP void NextLine(LineWindow& win, WinPos& pos, std::u16string_view& text) {
  ++pos.line;
  pos.col = 0;
  text = win.Line(pos.line);
}

// Moves past the character `ch` at `pos`: both halves of a surrogate pair, so that `.`, a set
// or a class never takes half of a character beyond the Basic Multilingual Plane.
TAVIK_MATCHER_STEP void StepOverChar(char16_t ch, WinPos& pos, std::u16string_view text) {
  ++pos.col;
  if (IsHighSurrogate(ch) && pos.col < text.size() && IsLowSurrogate(text[pos.col])) ++pos.col;
}

// Whether the atom `in` matches at `pos`; on success `pos` and `text` move past what it took.
TAVIK_MATCHER_STEP bool MatchAtom(const Inst& in, const ProgramInfo& info, MatchCache& c,
                                  uint32_t cap_count, bool ic, WinPos& pos,
                                  std::u16string_view& text) {
  LineWindow& win = c.window;
  const bool has_char = pos.col < text.size();
  const char16_t ch = has_char ? text[pos.col] : 0;
  bool ok = true;
  switch (in.item) {
    case Item::kLiteral:
      ok = has_char && (ch == in.ch || (ic && UpperFast(ch) == in.ch_upper));
      if (ok) ++pos.col;
      break;
    case Item::kAny:
      ok = has_char;
      if (ok) StepOverChar(ch, pos, text);
      break;
    case Item::kAnyOrBreak:
      if (has_char) {
        StepOverChar(ch, pos, text);
      } else if (LineBreakAvailable(win, pos, text)) {
        NextLine(win, pos, text);
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
      ok = LineBreakAvailable(win, pos, text);
      if (ok) NextLine(win, pos, text);
      break;
    case Item::kSet:
    case Item::kNegatedSet:
    case Item::kSetOrBreak:
    case Item::kNegatedSetOrBreak: {
      const SetInfo& set = info.sets[in.set];
      if (has_char) {
        ok = ch < 128 ? ((set.ascii[ic][ch >> 6] >> (ch & 63)) & 1) != set.negated
                      : SetContains(set, ch, ic);
        if (ok) StepOverChar(ch, pos, text);
      } else {
        ok = set.line_break && LineBreakAvailable(win, pos, text);
        if (ok) NextLine(win, pos, text);
      }
      break;
    }
    case Item::kClass:
      if (has_char) {
        ok = ClassContains(in.arg, ch) != ((in.flags & kClassNegated) != 0);
        if (ok) StepOverChar(ch, pos, text);
      } else {
        ok = (in.flags & kClassLineBreak) && LineBreakAvailable(win, pos, text);
        if (ok) NextLine(win, pos, text);
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
      WinPos after;
      ok = MatchBackReference(c, cap_count, in.arg, ic, pos, after);
      if (ok) {
        pos = after;
        text = win.Line(pos.line);
      }
      break;
    }
  }
  return ok;
}

}  // namespace tavik::regex::matcher_steps
