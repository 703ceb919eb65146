// Decoding and static analysis of a byte program. The analyses only ever over-approximate where
// a match can begin, so a prefilter built on them never hides a match.
#include "regex/program_info.h"

#include <cassert>

#include "common/char_class.h"

namespace tavik::regex {
namespace {

uint16_t Read16(const std::vector<uint8_t>& b, size_t at) {
  return uint16_t(b[at] | (uint16_t(b[at + 1]) << 8));
}

uint32_t InstLength(const std::vector<uint8_t>& b, size_t at) {
  switch (Op(b[at])) {
    case Op::kJump:
    case Op::kSplitNext:
    case Op::kSplitJump:
    case Op::kCounterSet:
      return 3;
    case Op::kMatch:
    case Op::kMatchStart:
    case Op::kMatchEnd:
      return 1;
    case Op::kOpen:
    case Op::kClose:
    case Op::kMark:
    case Op::kReset:
    case Op::kCounterInc:
      return 2;
    case Op::kCounterMin:
    case Op::kCounterMax:
      return 4;
    case Op::kAtom:
      switch (Item(b[at + 1])) {
        case Item::kLiteral:
        case Item::kClass:
          return 4;
        case Item::kBackReference:
          return 3;
        case Item::kSet:
        case Item::kNegatedSet:
        case Item::kSetOrBreak:
        case Item::kNegatedSetOrBreak:
          return Read16(b, at + 2);
        default:
          return 2;
      }
  }
  return 1;
}

uint16_t RangeCode(char16_t c) {
  return c >= 128 ? 0 : c;
}

void SetBit(std::array<uint64_t, 2>& bits, uint32_t c) {
  bits[c >> 6] |= uint64_t(1) << (c & 63);
}

bool IsLetterAscii(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Rough frequency of characters in source and prose; lower is rarer. Scanning for a rare
// character keeps the number of false candidates small.
int Commonness(char16_t c) {
  if (c == u' ' || c == u'e' || c == u't') return 9;
  if (c == u'a' || c == u'o' || c == u'i' || c == u'n' || c == u's' || c == u'r') return 8;
  if (c >= u'a' && c <= u'z') return 6;
  if (c == u'_' || c == u'.' || c == u'(' || c == u')' || c == u';' || c == u',') return 5;
  if (c >= u'A' && c <= u'Z') return 3;
  if (c >= u'0' && c <= u'9') return 4;
  if (c >= 128) return 2;
  return 1;
}

void BuildFirstChars(const ProgramInfo& info, bool ignore_case, FirstChars* out);
void BuildRequired(const ProgramInfo& info, bool ignore_case, RequiredLiteral* out);

}  // namespace

bool SetContains(const SetInfo& set, char16_t c, bool ignore_case) {
  bool found = false;
  if (c < 128) {
    found = (set.ascii[ignore_case][c >> 6] >> (c & 63)) & 1;
    return found != set.negated;
  }
  char16_t upper = ignore_case ? ToUpperChar(c) : c;
  for (char16_t m : set.chars) {
    if (m == c || (ignore_case && ToUpperChar(m) == upper)) {
      found = true;
      break;
    }
  }
  if (!found) {
    uint16_t code = RangeCode(c);
    uint16_t up = RangeCode(upper);
    uint16_t low = RangeCode(ignore_case ? ToLowerChar(c) : c);
    for (const CharSpan& r : set.ranges) {
      uint16_t lo = RangeCode(r.low);
      uint16_t hi = RangeCode(r.high);
      if ((lo <= code && code <= hi) ||
          (ignore_case && ((lo <= up && up <= hi) || (lo <= low && low <= hi)))) {
        found = true;
        break;
      }
    }
  }
  return found != set.negated;
}

namespace {

// The exact answer for an ASCII subject, computed once per set and case rule.
bool SetContainsSlow(const SetInfo& set, char16_t c, bool ignore_case) {
  char16_t upper = ToUpperChar(c);
  for (char16_t m : set.chars) {
    if (m == c || (ignore_case && ToUpperChar(m) == upper)) return true;
  }
  uint16_t up = RangeCode(upper);
  uint16_t low = RangeCode(ToLowerChar(c));
  for (const CharSpan& r : set.ranges) {
    uint16_t lo = RangeCode(r.low);
    uint16_t hi = RangeCode(r.high);
    if (lo <= c && c <= hi) return true;
    if (ignore_case && ((lo <= up && up <= hi) || (lo <= low && low <= hi))) return true;
  }
  return false;
}

void AddFirstChar(FirstChars* fc, char16_t c, bool ignore_case) {
  if (c >= 128) {
    fc->non_ascii = true;
  } else {
    SetBit(fc->ascii, c);
  }
  if (!ignore_case) return;
  // Any character whose upper-case form equals this one's may begin the match.
  char16_t upper = ToUpperChar(c);
  for (char16_t a = 0; a < 128; ++a) {
    if (ToUpperChar(a) == upper) SetBit(fc->ascii, a);
  }
  fc->non_ascii = true;
}

void BuildFirstChars(const ProgramInfo& info, bool ignore_case, FirstChars* out) {
  FirstChars fc;
  fc.any_position = false;
  const auto& insts = info.insts;
  // Walk the zero-width closure of the start. `anchored` stays true while every path to a
  // consuming item passes a start-of-line item first.
  bool anchored = true;
  std::vector<uint8_t> seen(insts.size() * 2, 0);
  std::vector<std::pair<int32_t, bool>> work = {{0, false}};
  auto give_up = [&] { fc.any_position = true; };
  while (!work.empty() && !fc.any_position) {
    const int32_t pc = work.back().first;
    const bool after_sol = work.back().second;
    work.pop_back();
    if (seen[size_t(pc) * 2 + after_sol]) continue;
    seen[size_t(pc) * 2 + after_sol] = 1;
    const Inst& in = insts[size_t(pc)];
    auto next = [&](bool sol) { work.push_back({pc + 1, sol}); };
    switch (in.op) {
      case Op::kJump:
        work.push_back({in.target, after_sol});
        break;
      case Op::kSplitNext:
      case Op::kSplitJump:
        work.push_back({in.target, after_sol});
        next(after_sol);
        break;
      case Op::kMatch:
      case Op::kReset:
        give_up();
        break;
      case Op::kAtom: {
        bool consumes = true;
        switch (in.item) {
          case Item::kStartOfLine:
            next(true);
            consumes = false;
            break;
          case Item::kEndOfLine:
            fc.at_line_end = true;
            next(after_sol);
            consumes = false;
            break;
          case Item::kStartOfWord:
          case Item::kEndOfWord:
            next(after_sol);
            consumes = false;
            break;
          case Item::kLiteral:
            AddFirstChar(&fc, in.ch, ignore_case);
            break;
          case Item::kAny:
          case Item::kAnyOrBreak:
          case Item::kBackReference:
            give_up();
            break;
          case Item::kLineBreak:
            fc.at_line_end = true;
            break;
          case Item::kSet:
          case Item::kNegatedSet:
          case Item::kSetOrBreak:
          case Item::kNegatedSetOrBreak: {
            const SetInfo& set = info.sets[in.set];
            if (set.line_break) fc.at_line_end = true;
            for (int w = 0; w < 2; ++w) {
              uint64_t bits = set.ascii[ignore_case][size_t(w)];
              fc.ascii[size_t(w)] |= set.negated ? ~bits : bits;
            }
            bool high_range = false;
            for (const CharSpan& r : set.ranges) high_range |= RangeCode(r.low) == 0;
            bool high_char = false;
            for (char16_t m : set.chars) high_char |= m >= 128;
            if (set.negated || ignore_case || high_range || high_char) fc.non_ascii = true;
            break;
          }
          case Item::kClass: {
            bool negated = in.flags & kClassNegated;
            if (in.flags & kClassLineBreak) fc.at_line_end = true;
            for (char16_t a = 0; a < 128; ++a) {
              if (ClassContains(in.arg, a) != negated) SetBit(fc.ascii, a);
            }
            if (ClassContains(in.arg, 0) != negated) fc.non_ascii = true;
            break;
          }
        }
        if (consumes && !after_sol) anchored = false;
        break;
      }
      default:
        next(after_sol);
        break;
    }
  }
  if (fc.any_position) {
    *out = FirstChars{};
    // A pattern that may match empty still only begins at column 0 when anchored: check the
    // closure again, stopping at start-of-line items.
    std::vector<uint8_t> seen_sol(insts.size(), 0);
    std::vector<int32_t> todo = {0};
    bool anchored_all = true;
    while (!todo.empty() && anchored_all) {
      int32_t pc = todo.back();
      todo.pop_back();
      if (seen_sol[size_t(pc)]) continue;
      seen_sol[size_t(pc)] = 1;
      const Inst& in = insts[size_t(pc)];
      switch (in.op) {
        case Op::kJump:
          todo.push_back(in.target);
          break;
        case Op::kSplitNext:
        case Op::kSplitJump:
          todo.push_back(in.target);
          todo.push_back(pc + 1);
          break;
        case Op::kAtom:
          if (in.item == Item::kStartOfLine) break;
          anchored_all = false;
          break;
        case Op::kOpen:
        case Op::kClose:
        case Op::kMatchStart:
        case Op::kMatchEnd:
          todo.push_back(pc + 1);
          break;
        default:
          anchored_all = false;
          break;
      }
    }
    out->line_start_only = anchored_all;
    return;
  }
  fc.line_start_only = anchored;
  if (!fc.non_ascii) {
    for (char16_t a = 0; a < 128 && fc.needle_count <= 3; ++a) {
      if ((fc.ascii[a >> 6] >> (a & 63)) & 1) {
        if (fc.needle_count < 3) fc.needles[fc.needle_count] = a;
        ++fc.needle_count;
      }
    }
    if (fc.needle_count > 3) fc.needle_count = 0;
  }
  *out = fc;
}

// Follows the instructions every match must pass, collecting runs of literal items that are
// adjacent in the text; the longest run is required on the line of every match.
void BuildRequired(const ProgramInfo& info, bool ignore_case, RequiredLiteral* out) {
  *out = RequiredLiteral{};
  if (!info.single_line) return;
  std::u16string run;
  std::u16string best;
  auto end_run = [&] {
    if (run.size() > best.size()) best = run;
    run.clear();
  };
  const auto& insts = info.insts;
  for (int32_t pc = 0; pc < int32_t(insts.size());) {
    const Inst& in = insts[size_t(pc)];
    if (in.op == Op::kMatch) break;
    switch (in.op) {
      case Op::kAtom:
        if (in.item == Item::kLiteral) {
          run.push_back(in.ch);
        } else if (in.item != Item::kStartOfLine && in.item != Item::kEndOfLine &&
                   in.item != Item::kStartOfWord && in.item != Item::kEndOfWord) {
          end_run();
        }
        ++pc;
        break;
      case Op::kJump:
        end_run();
        pc = in.target;
        break;
      case Op::kSplitNext: {
        end_run();
        int32_t t = in.target;
        if (t <= pc) {
          ++pc;
          break;
        }
        const Inst& before = insts[size_t(t - 1)];
        pc = (before.op == Op::kJump && before.target > t) ? before.target : t;
        break;
      }
      case Op::kSplitJump:
        end_run();
        pc = in.target > pc ? in.target : pc + 1;
        break;
      case Op::kReset:
      case Op::kCounterSet:
      case Op::kCounterMin:
      case Op::kCounterMax:
      case Op::kCounterInc:
        end_run();
        ++pc;
        break;
      default:
        ++pc;
        break;
    }
  }
  end_run();
  if (best.empty()) return;
  size_t pick = 0;
  for (size_t i = 1; i < best.size(); ++i) {
    char16_t a = best[i];
    char16_t b = best[pick];
    int ra = Commonness(a) + (ignore_case && IsLetterAscii(a) ? 1 : 0);
    int rb = Commonness(b) + (ignore_case && IsLetterAscii(b) ? 1 : 0);
    if (ra < rb) pick = i;
  }
  out->text = best;
  out->scan_index = pick;
  char16_t c = best[pick];
  if (!ignore_case) {
    out->scan_chars[0] = c;
    out->scan_count = 1;
    return;
  }
  char16_t upper = ToUpperChar(c);
  for (char16_t a = 0; a < 128; ++a) {
    if (ToUpperChar(a) != upper) continue;
    if (out->scan_count == 2) {
      out->text.clear();  // more ASCII forms than one scan handles: no requirement
      return;
    }
    out->scan_chars[out->scan_count++] = a;
  }
  out->scan_non_ascii = true;
}

}  // namespace

ProgramInfo AnalyzeProgram(std::vector<uint8_t> bytes) {
  ProgramInfo info;
  std::vector<int32_t> inst_at(bytes.size() + 1, -1);
  std::vector<int32_t> byte_target;
  for (size_t at = 0; at < bytes.size();) {
    inst_at[at] = int32_t(info.insts.size());
    Inst in;
    in.op = Op(bytes[at]);
    int32_t target_byte = -1;
    switch (in.op) {
      case Op::kJump:
      case Op::kSplitNext:
      case Op::kSplitJump:
        target_byte = int32_t(at) + int16_t(Read16(bytes, at + 1));
        break;
      case Op::kOpen:
      case Op::kClose:
        in.arg = bytes[at + 1];
        info.group_count = std::max<uint32_t>(info.group_count, in.arg + 1u);
        break;
      case Op::kMark:
      case Op::kReset:
        in.arg = bytes[at + 1];
        info.slot_count = std::max<uint32_t>(info.slot_count, in.arg + 1u);
        info.memo_ok = false;
        break;
      case Op::kCounterSet:
      case Op::kCounterInc:
        in.arg = bytes[at + 1];
        in.value = in.op == Op::kCounterSet ? bytes[at + 2] : 0;
        info.counter_count = std::max<uint32_t>(info.counter_count, in.arg + 1u);
        info.memo_ok = false;
        break;
      case Op::kCounterMin:
      case Op::kCounterMax:
        in.arg = bytes[at + 1];
        in.value = Read16(bytes, at + 2);
        info.counter_count = std::max<uint32_t>(info.counter_count, in.arg + 1u);
        break;
      case Op::kAtom:
        in.item = Item(bytes[at + 1]);
        switch (in.item) {
          case Item::kLiteral:
            in.ch = char16_t(Read16(bytes, at + 2));
            in.ch_upper = ToUpperChar(in.ch);
            break;
          case Item::kClass:
            in.arg = bytes[at + 2];
            in.flags = bytes[at + 3];
            if (in.flags & kClassLineBreak) info.single_line = false;
            break;
          case Item::kBackReference:
            in.arg = bytes[at + 2];
            info.memo_ok = false;
            info.single_line = false;
            break;
          case Item::kAnyOrBreak:
          case Item::kLineBreak:
            info.single_line = false;
            break;
          case Item::kSet:
          case Item::kNegatedSet:
          case Item::kSetOrBreak:
          case Item::kNegatedSetOrBreak: {
            SetInfo set;
            uint8_t sub = uint8_t(in.item) - uint8_t(Item::kSet);
            set.negated = sub & 1;
            set.line_break = sub & 2;
            if (set.line_break) info.single_line = false;
            size_t nchars = bytes[at + 4];
            size_t nranges = bytes[at + 5];
            size_t p = at + kSetHeaderLength;
            for (size_t i = 0; i < nchars; ++i, p += 2)
              set.chars.push_back(char16_t(Read16(bytes, p)));
            for (size_t i = 0; i < nranges; ++i, p += 4) {
              set.ranges.push_back({char16_t(Read16(bytes, p)), char16_t(Read16(bytes, p + 2))});
            }
            for (int ic = 0; ic < 2; ++ic) {
              for (char16_t a = 0; a < 128; ++a) {
                if (SetContainsSlow(set, a, ic != 0)) SetBit(set.ascii[size_t(ic)], a);
              }
            }
            in.set = uint32_t(info.sets.size());
            info.sets.push_back(std::move(set));
            break;
          }
          default:
            break;
        }
        break;
      default:
        break;
    }
    byte_target.push_back(target_byte);
    info.insts.push_back(in);
    at += InstLength(bytes, at);
  }
  inst_at[bytes.size()] = int32_t(info.insts.size());
  for (size_t i = 0; i < info.insts.size(); ++i) {
    if (byte_target[i] >= 0) {
      assert(size_t(byte_target[i]) <= bytes.size() && inst_at[size_t(byte_target[i])] >= 0);
      info.insts[i].target = inst_at[size_t(byte_target[i])];
    }
  }
  // A star's first split targets its own back split, which would only run the same failed
  // iteration again from the same state before leaving the loop; go straight to the exit.
  for (size_t i = 0; i < info.insts.size(); ++i) {
    Inst& in = info.insts[i];
    if (in.op != Op::kSplitNext || in.target <= int32_t(i)) continue;
    const Inst& back = info.insts[size_t(in.target)];
    if (back.op == Op::kSplitJump && back.target == int32_t(i) + 1) in.target += 1;
  }
  // Join points: where control can arrive from more than one place.
  auto mark = [&](int32_t pc) {
    if (pc >= 0 && size_t(pc) < info.insts.size() && info.insts[size_t(pc)].join < 0) {
      info.insts[size_t(pc)].join = int32_t(info.join_count++);
    }
  };
  mark(0);
  for (const Inst& in : info.insts) mark(in.target);
  for (int32_t t : byte_target) {
    if (t >= 0) mark(inst_at[size_t(t)]);
  }
  info.counter_cap.assign(info.counter_count, 0);
  for (const Inst& in : info.insts) {
    if (in.op == Op::kCounterMin) info.counter_cap[in.arg] = in.value;
  }
  info.bytes = std::move(bytes);
  for (int ic = 0; ic < 2; ++ic) {
    BuildFirstChars(info, ic != 0, &info.first[size_t(ic)]);
    BuildRequired(info, ic != 0, &info.required[size_t(ic)]);
  }
  return info;
}

}  // namespace tavik::regex
