// Static analyses behind the search prefilters: the characters a match can begin with and a
// literal every match contains. They only ever over-approximate where a match can begin, so a
// prefilter built on them never hides a match.
#include "regex/prefilter.h"

#include "common/char_class.h"

namespace tavik::regex {
namespace {

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
  if (c >= 128 || !CaseMatesAreAscii(c)) fc->non_ascii = true;
}

// Whether every path from the start meets `item` before anything else that tests or consumes
// text (group marks and match bounds may come first).
bool EveryPathPasses(const ProgramInfo& info, Item item) {
  const auto& insts = info.insts;
  std::vector<uint8_t> seen(insts.size(), 0);
  std::vector<int32_t> todo = {0};
  while (!todo.empty()) {
    int32_t pc = todo.back();
    todo.pop_back();
    if (seen[size_t(pc)]) continue;
    seen[size_t(pc)] = 1;
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
        if (in.item != item) return false;
        break;
      case Op::kOpen:
      case Op::kClose:
      case Op::kMatchStart:
      case Op::kMatchEnd:
        todo.push_back(pc + 1);
        break;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

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
    // A pattern that may match empty may still only begin at column 0 or at a word start.
    out->line_start_only = EveryPathPasses(info, Item::kStartOfLine);
    out->word_start_only = EveryPathPasses(info, Item::kStartOfWord);
    return;
  }
  fc.line_start_only = anchored;
  fc.word_start_only = EveryPathPasses(info, Item::kStartOfWord);
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
// adjacent in the text; the longest run is required on the line of every match, unless a run
// ends where the line must end: that one is required at the end of the line.
void BuildRequiredLiteral(const ProgramInfo& info, bool ignore_case, RequiredLiteral* out) {
  *out = RequiredLiteral{};
  if (!info.single_line) return;
  std::u16string run;
  std::u16string best;
  std::u16string line_end;
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
        } else if (in.item == Item::kEndOfLine && !run.empty()) {
          line_end = run;
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
  if (!line_end.empty()) {
    best = line_end;
    out->at_line_end = true;
  }
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
      out->at_line_end = false;
      return;
    }
    out->scan_chars[out->scan_count++] = a;
  }
  out->scan_non_ascii = c >= 128 || !CaseMatesAreAscii(c);
}

}  // namespace tavik::regex
