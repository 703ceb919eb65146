// A deliberately plain matcher for the tests only, written from the matcher's description: it
// reads the byte program directly, copies the whole thread at every backtrack point and scans
// every position. Zero-progress loops end by the same rule as the real matcher: a path that
// comes back to a jump target at the same position with the same counters (counted up to the
// loop minimum) fails.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/char_class.h"
#include "common/text_pos.h"
#include "common/utf16_chars.h"

namespace tavik::testing {

struct RefCapture {
  TextPos start, end;
  bool has_start = false, has_end = false;
};

struct RefMatch {
  TextPos start, end;
  std::vector<RefCapture> captures;
};

class ReferenceMatcher {
 public:
  ReferenceMatcher(std::vector<uint8_t> program, bool ignore_case,
                   std::vector<std::u16string> lines)
      : p_(std::move(program)), ic_(ignore_case), lines_(std::move(lines)) {
    if (lines_.empty()) lines_.emplace_back();
    targets_.assign(p_.size() + 1, false);
    targets_[0] = true;
    for (size_t at = 0; at < p_.size(); at += Length(at)) {
      if (p_[at] <= 2) targets_[size_t(int(at) + Off(at + 1))] = true;
      if (p_[at] == 12) caps_[p_[at + 1]] = U16(at + 2);
      if (p_[at] >= 10 && p_[at] <= 13) counters_ = std::max<size_t>(counters_, p_[at + 1] + 1u);
    }
  }

  // nullopt: no match. `steps_left` bounds the work; when it runs out `exhausted` is set.
  std::optional<RefMatch> MatchAt(TextPos start, bool* exhausted) {
    struct Key {
      uint32_t pc;
      TextPos pos;
      std::vector<uint16_t> counters;
    };
    struct Thread {
      uint32_t pc = 0;
      TextPos pos, mstart, mend;
      bool has_mend = false;
      std::vector<RefCapture> caps;
      std::vector<TextPos> slots;
      std::vector<uint16_t> counters;
      std::vector<Key> path;
    };
    // No match starts on the second half of a surrogate pair.
    if (InsidePair(L(start.line), start.column)) return std::nullopt;
    Thread t;
    t.pos = t.mstart = start;
    std::vector<Thread> stack;
    for (;;) {
      if (--steps_left < 0) {
        *exhausted = true;
        return std::nullopt;
      }
      bool ok = true;
      if (targets_[t.pc]) {
        Key k{t.pc, t.pos, {}};
        for (size_t i = 0; i < counters_; ++i) {
          uint16_t v = i < t.counters.size() ? t.counters[i] : 0;
          k.counters.push_back(std::min(v, caps_[i]));
        }
        for (const Key& o : t.path) {
          if (o.pc == k.pc && o.pos == k.pos && o.counters == k.counters) ok = false;
        }
        if (ok) t.path.push_back(std::move(k));
      }
      uint32_t pc = t.pc;
      uint8_t op = ok ? p_[pc] : 255;
      switch (op) {
        case 0:
          t.pc = uint32_t(int(pc) + Off(pc + 1));
          continue;
        case 1:
        case 2: {
          Thread copy = t;
          uint32_t target = uint32_t(int(pc) + Off(pc + 1));
          copy.pc = op == 1 ? target : pc + 3;
          t.pc = op == 1 ? pc + 3 : target;
          stack.push_back(std::move(copy));
          continue;
        }
        case 3:
          ok = Atom(t.pos, t.caps, pc);
          if (ok) {
            t.pc += Length(pc);
            continue;
          }
          break;
        case 4: {
          RefMatch m;
          m.start = t.mstart;
          m.end = t.has_mend ? t.mend : t.pos;
          m.captures = t.caps;
          return m;
        }
        case 6:
          if (t.caps.size() < p_[pc + 1] + 1u) t.caps.resize(p_[pc + 1] + 1u);
          t.caps[p_[pc + 1]] = {t.pos, {}, true, false};
          t.pc += 2;
          continue;
        case 7:
          if (p_[pc + 1] < t.caps.size() && !t.caps[p_[pc + 1]].has_end) {
            t.caps[p_[pc + 1]].end = t.pos;
            t.caps[p_[pc + 1]].has_end = true;
          }
          t.pc += 2;
          continue;
        case 8:
          if (t.slots.size() < p_[pc + 1] + 1u) t.slots.resize(p_[pc + 1] + 1u);
          t.slots[p_[pc + 1]] = t.pos;
          t.pc += 2;
          continue;
        case 9:
          if (p_[pc + 1] < t.slots.size()) t.pos = t.slots[p_[pc + 1]];
          t.pc += 2;
          continue;
        case 10:
        case 11:
          if (t.counters.size() < p_[pc + 1] + 1u) t.counters.resize(p_[pc + 1] + 1u, 0);
          t.counters[p_[pc + 1]] = op == 10 ? p_[pc + 2] : uint16_t(t.counters[p_[pc + 1]] + 1);
          t.pc += op == 10 ? 3 : 2;
          continue;
        case 12:
        case 13: {
          uint16_t v = p_[pc + 1] < t.counters.size() ? t.counters[p_[pc + 1]] : 0;
          ok = op == 12 ? v >= U16(pc + 2) : v <= U16(pc + 2);
          if (ok) {
            t.pc += 4;
            continue;
          }
          break;
        }
        case 14:
          t.mstart = t.pos;
          t.pc += 1;
          continue;
        case 15:
          t.mend = t.pos;
          t.has_mend = true;
          t.pc += 1;
          continue;
        default:
          break;
      }
      if (stack.empty()) return std::nullopt;
      t = std::move(stack.back());
      stack.pop_back();
    }
  }

  // The plain scan of every position, as the search is described.
  std::optional<RefMatch> Search(TextPos start, std::optional<TextPos> stop, bool backward,
                                 bool wrapscan, bool accept, bool* exhausted) {
    TextPos pos = start;
    bool wrapped = false;
    TextPos last{uint32_t(lines_.size() - 1), uint32_t(lines_.back().size())};
    TextPos stop_pos = stop ? *stop : (backward ? TextPos{0, 0} : last);
    for (;;) {
      if (accept || pos != start) {
        auto m = MatchAt(pos, exhausted);
        if (*exhausted) return std::nullopt;
        if (m && (accept || m->start != start)) return m;
      }
      if ((!wrapscan && pos == stop_pos) || (pos == start && wrapped)) return std::nullopt;
      TextPos edge = backward ? TextPos{0, 0} : last;
      if (pos == edge) {
        if (!wrapscan || wrapped) return std::nullopt;
        wrapped = true;
        pos = backward ? last : TextPos{0, 0};
        continue;
      }
      pos = backward ? Prev(pos) : Next(pos);
    }
  }

  int64_t steps_left = 200000;

 private:
  uint16_t U16(size_t at) const { return uint16_t(p_[at] | (p_[at + 1] << 8)); }
  int Off(size_t at) const { return int16_t(U16(at)); }
  size_t Length(size_t at) const {
    static constexpr uint8_t kLen[] = {3, 3, 3, 0, 1, 0, 2, 2, 2, 2, 3, 2, 4, 4, 1, 1};
    if (p_[at] != 3) return kLen[p_[at]];
    uint8_t sub = p_[at + 1];
    if (sub == 0 || sub == 10) return 4;
    if (sub == 13) return 3;
    if (sub >= 6 && sub <= 9) return U16(at + 2);
    return 2;
  }
  const std::u16string& L(uint32_t line) const { return lines_[line]; }
  bool HasChar(TextPos p) const { return p.column < L(p.line).size(); }
  bool BreakAvail(TextPos p) const {
    return p.column == L(p.line).size() && p.line + 1 < lines_.size();
  }
  TextPos Next(TextPos p) const {
    if (HasChar(p)) return {p.line, p.column + 1};
    if (p.line + 1 < lines_.size()) return {p.line + 1, 0};
    return p;
  }
  TextPos Prev(TextPos p) const {
    if (p.column > 0) return {p.line, p.column - 1};
    if (p.line > 0) return {p.line - 1, uint32_t(L(p.line - 1).size())};
    return p;
  }
  static bool Word(char16_t c) { return IsAlphaChar(c) || (c >= u'0' && c <= u'9') || c == u'_'; }
  static uint16_t Code(char16_t c) { return c >= 128 ? 0 : c; }
  // The class table read straight from the C library's C-locale tests; a character at or above
  // 128 is tested as code 0. Classes only bracket names give are compiled into sets instead.
  static bool InClass(uint8_t id, char16_t ch) {
    const int c = Code(ch);
    const bool file = c == '_' || c == '.' || c == '/' || c == '\\';
    switch (id) {
      case 1:
      case 3:
      case 13:
        return std::isalnum(c) || c == '_';
      case 2:
      case 4:
      case 14:
        return std::isalpha(c) || c == '_';
      case 5:
        return std::isalnum(c) || file;
      case 6:
        return std::isalpha(c) || file;
      case 7:
        return c >= 0x20 && c <= 0x7E;
      case 8:
        return c >= 0x20 && c <= 0x7E && !std::isdigit(c);
      case 9:
        return c == ' ' || c == '\t';
      case 10:
        return std::isdigit(c);
      case 11:
        return std::isxdigit(c);
      case 12:
        return c >= '0' && c <= '7';
      case 15:
        return std::isalpha(c);
      case 16:
        return std::islower(c);
      case 17:
        return std::isupper(c);
    }
    return false;
  }
  bool Eq(char16_t a, char16_t b) const {
    return a == b || (ic_ && ToUpperChar(a) == ToUpperChar(b));
  }

  bool Atom(TextPos& pos, const std::vector<RefCapture>& caps, uint32_t pc) const {
    uint8_t sub = p_[pc + 1];
    bool has = HasChar(pos);
    char16_t c = has ? L(pos.line)[pos.column] : 0;
    auto consume = [&] {
      pos = Next(pos);
      return true;
    };
    // `.`, sets and classes take both halves of a surrogate pair.
    auto consume_char = [&] {
      pos = Next(pos);
      if (IsHighSurrogate(c) && InsidePair(L(pos.line), pos.column)) ++pos.column;
      return true;
    };
    switch (sub) {
      case 0:
        return has && Eq(c, U16(pc + 2)) && consume();
      case 1:
        return has && consume_char();
      case 2:
      case 5:
        if (sub == 2 && has) return consume_char();
        return BreakAvail(pos) && consume();
      case 3:
        return pos.column == 0;
      case 4:
        return !has;
      case 6:
      case 7:
      case 8:
      case 9: {
        if (!has) return sub >= 8 && BreakAvail(pos) && consume();
        bool found = false;
        size_t n = p_[pc + 4], r = p_[pc + 5], at = pc + 6;
        for (size_t i = 0; i < n; ++i, at += 2) found |= Eq(c, U16(at));
        for (size_t i = 0; i < r && !found; ++i, at += 4) {
          uint16_t lo = Code(U16(at)), hi = Code(U16(at + 2));
          auto in = [&](char16_t x) { return lo <= Code(x) && Code(x) <= hi; };
          found = in(c) || (ic_ && (in(ToUpperChar(c)) || in(ToLowerChar(c))));
        }
        return found != (sub == 7 || sub == 9) && consume_char();
      }
      case 10: {
        uint8_t flags = p_[pc + 3];
        if (has) return InClass(p_[pc + 2], c) != bool(flags & 1) && consume_char();
        return (flags & 2) && BreakAvail(pos) && consume();
      }
      case 11:
        return has && Word(c) && (pos.column == 0 || !Word(L(pos.line)[pos.column - 1]));
      case 12:
        return pos.column != 0 && Word(L(pos.line)[pos.column - 1]) && (!has || !Word(c));
      case 13: {
        uint8_t g = p_[pc + 2];
        if (g >= caps.size() || !caps[g].has_start || !caps[g].has_end) return false;
        TextPos s = caps[g].start, e = caps[g].end, q = pos;
        while (s < e) {
          if (HasChar(s)) {
            if (!HasChar(q) || !Eq(L(s.line)[s.column], L(q.line)[q.column])) return false;
          } else if (!BreakAvail(q)) {
            return false;
          }
          s = Next(s);
          q = Next(q);
        }
        pos = q;
        return true;
      }
    }
    return false;
  }

  std::vector<uint8_t> p_;
  bool ic_;
  std::vector<std::u16string> lines_;
  std::vector<bool> targets_;
  uint16_t caps_[256] = {};
  size_t counters_ = 0;
};

}  // namespace tavik::testing
