// Decoding and static analysis of a byte program. The analyses only ever over-approximate where
// a match can begin, so a prefilter built on them never hides a match.
#include "regex/program_info.h"

#include <algorithm>
#include <cassert>

#include "common/char_class.h"
#include "common/utf16_chars.h"
#include "regex/prefilter.h"

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

}  // namespace

namespace {

// The set of a set atom at byte `at`, with its ASCII members worked out for both case rules.
SetInfo DecodeSet(const std::vector<uint8_t>& bytes, size_t at, Item item) {
  SetInfo set;
  uint8_t sub = uint8_t(item) - uint8_t(Item::kSet);
  set.negated = sub & 1;
  set.line_break = sub & 2;
  size_t nchars = bytes[at + 4];
  size_t nranges = bytes[at + 5];
  size_t p = at + kSetHeaderLength;
  for (size_t i = 0; i < nchars; ++i, p += 2) set.chars.push_back(char16_t(Read16(bytes, p)));
  for (size_t i = 0; i < nranges; ++i, p += 4) {
    set.ranges.push_back({char16_t(Read16(bytes, p)), char16_t(Read16(bytes, p + 2))});
  }
  for (int ic = 0; ic < 2; ++ic) {
    for (char16_t a = 0; a < 128; ++a) {
      if (SetContainsSlow(set, a, ic != 0)) SetBit(set.ascii[size_t(ic)], a);
    }
  }
  return set;
}

// The operands of the atom at byte `at`; what it tells about the whole program goes to `info`.
void DecodeAtom(const std::vector<uint8_t>& bytes, size_t at, Inst& in, ProgramInfo& info) {
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
      SetInfo set = DecodeSet(bytes, at, in.item);
      if (set.line_break) info.single_line = false;
      in.set = uint32_t(info.sets.size());
      info.sets.push_back(std::move(set));
      break;
    }
    default:
      break;
  }
}

// The instruction at byte `at`; a jump's or split's target is returned as a byte offset, -1
// for other instructions.
Inst DecodeInst(const std::vector<uint8_t>& bytes, size_t at, ProgramInfo& info,
                int32_t& target_byte) {
  Inst in;
  in.op = Op(bytes[at]);
  target_byte = -1;
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
      DecodeAtom(bytes, at, in, info);
      break;
    default:
      break;
  }
  return in;
}

// A star's first split targets its own back split, which would only run the same failed
// iteration again from the same state before leaving the loop; go straight to the exit.
void ShortcutStarLoops(ProgramInfo& info) {
  for (size_t i = 0; i < info.insts.size(); ++i) {
    Inst& in = info.insts[i];
    if (in.op != Op::kSplitNext || in.target <= int32_t(i)) continue;
    const Inst& back = info.insts[size_t(in.target)];
    if (back.op == Op::kSplitJump && back.target == int32_t(i) + 1) in.target += 1;
  }
}

// Join points: where control can arrive from more than one place. The targets as decoded
// count as well as the ones the loop shortcut moved.
void MarkJoinPoints(ProgramInfo& info, const std::vector<int32_t>& decoded_targets) {
  auto mark = [&](int32_t pc) {
    if (pc >= 0 && size_t(pc) < info.insts.size() && info.insts[size_t(pc)].join < 0) {
      info.insts[size_t(pc)].join = int32_t(info.join_count++);
    }
  };
  mark(0);
  for (const Inst& in : info.insts) mark(in.target);
  for (int32_t t : decoded_targets) mark(t);
}

}  // namespace

ProgramInfo AnalyzeProgram(std::vector<uint8_t> bytes) {
  ProgramInfo info;
  // Decode, noting the instruction each byte offset starts.
  std::vector<int32_t> inst_at(bytes.size() + 1, -1);
  std::vector<int32_t> byte_target;
  for (size_t at = 0; at < bytes.size(); at += InstLength(bytes, at)) {
    inst_at[at] = int32_t(info.insts.size());
    int32_t target_byte = -1;
    info.insts.push_back(DecodeInst(bytes, at, info, target_byte));
    byte_target.push_back(target_byte);
  }
  inst_at[bytes.size()] = int32_t(info.insts.size());
  // Byte offsets of targets become instruction indexes.
  std::vector<int32_t> decoded_targets;
  for (size_t i = 0; i < info.insts.size(); ++i) {
    if (byte_target[i] < 0) continue;
    assert(size_t(byte_target[i]) <= bytes.size() && inst_at[size_t(byte_target[i])] >= 0);
    info.insts[i].target = inst_at[size_t(byte_target[i])];
    decoded_targets.push_back(info.insts[i].target);
  }
  ShortcutStarLoops(info);
  MarkJoinPoints(info, decoded_targets);
  info.counter_cap.assign(info.counter_count, 0);
  for (const Inst& in : info.insts) {
    if (in.op == Op::kCounterMin) info.counter_cap[in.arg] = in.value;
  }
  info.bytes = std::move(bytes);
  info.literal_only = info.insts.size() >= 2 && info.insts.back().op == Op::kMatch &&
                      std::all_of(info.insts.begin(), info.insts.end() - 1, [](const Inst& in) {
                        return in.op == Op::kAtom && in.item == Item::kLiteral &&
                               !IsHighSurrogate(in.ch) && !IsLowSurrogate(in.ch);
                      });
  for (int ic = 0; ic < 2; ++ic) {
    BuildFirstChars(info, ic != 0, &info.first[size_t(ic)]);
    BuildRequiredLiteral(info, ic != 0, &info.required[size_t(ic)]);
  }
  return info;
}

}  // namespace tavik::regex
