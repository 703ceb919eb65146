// Recursive descent written with an explicit stack of open groups, so deeply nested patterns
// cannot overflow the call stack. Each group level collects its finished branches and the
// concatenation in progress in its own buffers and hands its code to the parent when it closes.
#include "regex/compiler.h"

#include <cassert>
#include <limits>

#include "regex/regex_classes.h"
#include "regex/tokenizer.h"

namespace tavik::regex {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kMaxCounters = 256;

void Put16(Bytes& out, uint16_t v) {
  out.push_back(uint8_t(v & 0xFF));
  out.push_back(uint8_t(v >> 8));
}

struct GroupFrame {
  bool capturing = false;
  bool top = false;
  uint8_t group = 0;
  std::vector<Bytes> branches;  // finished alternatives, left to right
  Bytes branch;                 // MARK/concat/RESET parts of the branch in progress
  Bytes concat;                 // the concatenation in progress
};

class Compiler {
 public:
  Compiler(std::u16string_view text, int level, char16_t delimiter)
      : tok_(text, level, delimiter != kNoDelimiter, delimiter) {}

  CompiledBytes Run();

 private:
  bool Fail(CompileError e) {
    if (error_ == CompileError::kNone) error_ = e;
    return false;
  }
  bool FitsOffset(int64_t v) {
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max()) {
      return Fail(CompileError::kProgramTooLarge);
    }
    return true;
  }
  void EmitJump(Bytes& out, Op op, int64_t offset) {
    out.push_back(uint8_t(op));
    Put16(out, uint16_t(int16_t(offset)));
  }
  bool SimpleAtom(const Token& t, Bytes* atom, bool* zero_width);
  bool Bracket(bool line_break, Bytes* atom);
  bool AddBracketName(std::vector<char16_t>* chars, std::vector<CharSpan>* ranges);
  bool Piece(Bytes atom, bool zero_width, Bytes* concat);
  bool Brace(const Bytes& atom, Bytes* out);
  bool Alternation(GroupFrame& frame, Bytes* out);

  Tokenizer tok_;
  CompileError error_ = CompileError::kNone;
  uint32_t next_group_ = 0;
  uint32_t next_slot_ = 0;
  uint32_t next_counter_ = 0;
};

// Folds the branches from the right: SPLIT_NEXT over A, A, JUMP over the rest, the rest.
bool Compiler::Alternation(GroupFrame& frame, Bytes* out) {
  frame.branch.insert(frame.branch.end(), frame.concat.begin(), frame.concat.end());
  frame.branches.push_back(std::move(frame.branch));
  Bytes rest = std::move(frame.branches.back());
  for (size_t i = frame.branches.size() - 1; i-- > 0;) {
    const Bytes& a = frame.branches[i];
    if (!FitsOffset(int64_t(a.size()) + 6) || !FitsOffset(int64_t(rest.size()) + 3)) return false;
    Bytes code;
    code.reserve(a.size() + rest.size() + 6);
    EmitJump(code, Op::kSplitNext, int64_t(a.size()) + 6);
    code.insert(code.end(), a.begin(), a.end());
    EmitJump(code, Op::kJump, int64_t(rest.size()) + 3);
    code.insert(code.end(), rest.begin(), rest.end());
    rest = std::move(code);
  }
  *out = std::move(rest);
  return true;
}

bool Compiler::SimpleAtom(const Token& t, Bytes* atom, bool* zero_width) {
  auto item = [&](Item it) {
    atom->push_back(uint8_t(Op::kAtom));
    atom->push_back(uint8_t(it));
  };
  *zero_width = false;
  switch (t.kind) {
    case TokenKind::kLiteral:
      item(Item::kLiteral);
      Put16(*atom, t.ch);
      break;
    case TokenKind::kAny:
      item(Item::kAny);
      break;
    case TokenKind::kAnyOrBreak:
      item(Item::kAnyOrBreak);
      break;
    case TokenKind::kStartOfLine:
      item(Item::kStartOfLine);
      *zero_width = true;
      break;
    case TokenKind::kEndOfLine:
      item(Item::kEndOfLine);
      *zero_width = true;
      break;
    case TokenKind::kLineBreak:
      item(Item::kLineBreak);
      break;
    case TokenKind::kClass:
      item(Item::kClass);
      atom->push_back(t.class_id);
      atom->push_back(t.class_flags);
      break;
    case TokenKind::kStartOfWord:
      item(Item::kStartOfWord);
      *zero_width = true;
      break;
    case TokenKind::kEndOfWord:
      item(Item::kEndOfWord);
      *zero_width = true;
      break;
    case TokenKind::kBackReference:
      item(Item::kBackReference);
      atom->push_back(uint8_t(t.ch));
      break;
    case TokenKind::kMatchStart:
      atom->push_back(uint8_t(Op::kMatchStart));
      *zero_width = true;
      break;
    case TokenKind::kMatchEnd:
      atom->push_back(uint8_t(Op::kMatchEnd));
      *zero_width = true;
      break;
    default:
      return false;
  }
  tok_.Consume();
  return true;
}

bool Compiler::AddBracketName(std::vector<char16_t>* chars, std::vector<CharSpan>* ranges) {
  std::u16string_view rest = tok_.text().substr(tok_.index());
  for (const BracketName& name : kBracketNames) {
    if (!rest.starts_with(name.name)) continue;
    if (name.class_id == 0) {
      chars->push_back(name.ch);
    } else {
      ClassExpansion e = ExpandClass(name.class_id);
      chars->insert(chars->end(), e.chars.begin(), e.chars.end());
      ranges->insert(ranges->end(), e.ranges.begin(), e.ranges.end());
    }
    tok_.Skip(name.name.size());
    return true;
  }
  return false;
}

bool Compiler::Bracket(bool line_break, Bytes* atom) {
  std::vector<char16_t> chars;
  std::vector<CharSpan> ranges;
  bool negated = false;
  const Token& first = tok_.Peek(true);
  if (first.kind == TokenKind::kLiteral && first.ch == u'^') {
    negated = true;
    tok_.Consume();
  }
  for (;;) {
    if (chars.size() > 255) return Fail(CompileError::kTooManyBracketChars);
    if (ranges.size() >= 256) return Fail(CompileError::kTooManyBracketRanges);
    Token t = tok_.Peek(true);
    if (t.kind == TokenKind::kNothing) return Fail(CompileError::kUnterminatedBracket);
    if (t.kind == TokenKind::kLineBreak) {
      tok_.Consume();
      line_break = !negated;
      continue;
    }
    if (t.kind != TokenKind::kLiteral) return Fail(CompileError::kTrailingText);
    if (t.ch == u']' && (!chars.empty() || !ranges.empty())) {
      tok_.Consume();
      break;
    }
    if (t.ch == u'[' && t.length == 1 && AddBracketName(&chars, &ranges)) continue;
    tok_.Consume();
    const Token& dash = tok_.Peek(true);
    if (dash.kind != TokenKind::kLiteral || dash.ch != u'-') {
      chars.push_back(t.ch);
      continue;
    }
    tok_.Consume();
    const Token& high = tok_.Peek(true);
    if (high.kind == TokenKind::kLiteral && high.ch != u']') {
      ranges.push_back({t.ch, high.ch});
      tok_.Consume();
    } else {
      chars.push_back(t.ch);
      chars.push_back(u'-');
    }
  }
  if (chars.size() > 255) return Fail(CompileError::kTooManyBracketChars);
  if (ranges.size() >= 256) return Fail(CompileError::kTooManyBracketRanges);
  uint8_t sub = uint8_t(uint8_t(Item::kSet) + (negated ? 1 : 0) + (line_break ? 2 : 0));
  atom->push_back(uint8_t(Op::kAtom));
  atom->push_back(sub);
  Put16(*atom, uint16_t(kSetHeaderLength + 2 * chars.size() + 4 * ranges.size()));
  atom->push_back(uint8_t(chars.size()));
  atom->push_back(uint8_t(ranges.size()));
  for (char16_t c : chars) Put16(*atom, c);
  for (const CharSpan& r : ranges) {
    Put16(*atom, r.low);
    Put16(*atom, r.high);
  }
  return true;
}

// \{[-][min][,[max]]} read character by character; numbers are kept in 16 bits.
bool Compiler::Brace(const Bytes& atom, Bytes* out) {
  std::u16string_view text = tok_.text();
  size_t i = tok_.index();
  auto number = [&](bool* present) {
    uint32_t v = 0;
    *present = false;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
      v = v * 10 + uint32_t(text[i] - u'0');
      ++i;
      *present = true;
    }
    return uint16_t(v);
  };
  bool lazy = false;
  if (i < text.size() && text[i] == u'-') {
    lazy = true;
    ++i;
  }
  bool has_min = false;
  bool has_max = false;
  uint16_t min = number(&has_min);
  uint16_t max = min;
  has_max = has_min;
  if (i < text.size() && text[i] == u',') {
    ++i;
    max = number(&has_max);
  }
  if (i < text.size() && text[i] == u'}') {
    ++i;
  } else if (i + 1 < text.size() && text[i] == u'\\' && text[i + 1] == u'}') {
    i += 2;
  } else {
    return Fail(CompileError::kMalformedBrace);
  }
  tok_.Skip(i - tok_.index());
  if (next_counter_ >= kMaxCounters) return Fail(CompileError::kTooManyBraces);
  uint8_t k = uint8_t(next_counter_++);
  int64_t len = int64_t(atom.size());
  int64_t first = has_max ? len + 12 : len + 8;
  int64_t back = has_max ? -(len + 6) : -(len + 2);
  if (!FitsOffset(first) || !FitsOffset(back)) return false;
  out->push_back(uint8_t(Op::kCounterSet));
  out->push_back(k);
  out->push_back(0);
  EmitJump(*out, lazy ? Op::kSplitJump : Op::kSplitNext, first);
  out->insert(out->end(), atom.begin(), atom.end());
  out->push_back(uint8_t(Op::kCounterInc));
  out->push_back(k);
  if (has_max) {
    out->push_back(uint8_t(Op::kCounterMax));
    out->push_back(k);
    Put16(*out, max);
  }
  EmitJump(*out, lazy ? Op::kSplitNext : Op::kSplitJump, back);
  if (has_min) {
    out->push_back(uint8_t(Op::kCounterMin));
    out->push_back(k);
    Put16(*out, min);
  }
  return true;
}

bool Compiler::Piece(Bytes atom, bool zero_width, Bytes* concat) {
  const Token& t = tok_.Peek(false);
  bool multi = t.kind == TokenKind::kStar || t.kind == TokenKind::kPlus ||
               t.kind == TokenKind::kOptional || t.kind == TokenKind::kBrace;
  if (!multi) {
    concat->insert(concat->end(), atom.begin(), atom.end());
    return true;
  }
  if (zero_width) return Fail(CompileError::kMultiAfterZeroWidth);
  TokenKind kind = t.kind;
  tok_.Consume();
  int64_t len = int64_t(atom.size());
  if (kind == TokenKind::kBrace) return Brace(atom, concat);
  if (!FitsOffset(len + 3) || !FitsOffset(-len)) return false;
  if (kind != TokenKind::kPlus) EmitJump(*concat, Op::kSplitNext, len + 3);
  concat->insert(concat->end(), atom.begin(), atom.end());
  if (kind != TokenKind::kOptional) EmitJump(*concat, Op::kSplitJump, -len);
  return true;
}

CompiledBytes Compiler::Run() {
  std::vector<GroupFrame> stack(1);
  stack.back().top = true;
  Bytes top_code;
  for (bool done = false; !done && error_ == CompileError::kNone;) {
    GroupFrame& frame = stack.back();
    Token t = tok_.Peek(false);
    switch (t.kind) {
      case TokenKind::kOpenGroup:
      case TokenKind::kOpenNonCapturing: {
        tok_.Consume();
        GroupFrame inner;
        inner.capturing = t.kind == TokenKind::kOpenGroup;
        if (inner.capturing) inner.group = uint8_t(next_group_++);
        stack.push_back(std::move(inner));
        break;
      }
      case TokenKind::kOpenBracket:
      case TokenKind::kOpenBracketOrBreak: {
        tok_.Consume();
        Bytes atom;
        if (Bracket(t.kind == TokenKind::kOpenBracketOrBreak, &atom)) {
          Piece(std::move(atom), false, &frame.concat);
        }
        break;
      }
      case TokenKind::kAndConcat: {
        tok_.Consume();
        uint8_t k = uint8_t(next_slot_++);
        frame.branch.push_back(uint8_t(Op::kMark));
        frame.branch.push_back(k);
        frame.branch.insert(frame.branch.end(), frame.concat.begin(), frame.concat.end());
        frame.branch.push_back(uint8_t(Op::kReset));
        frame.branch.push_back(k);
        frame.concat.clear();
        break;
      }
      case TokenKind::kAlternation:
        tok_.Consume();
        frame.branch.insert(frame.branch.end(), frame.concat.begin(), frame.concat.end());
        frame.branches.push_back(std::move(frame.branch));
        frame.branch.clear();
        frame.concat.clear();
        break;
      case TokenKind::kCloseGroup: {
        if (frame.top) {
          Fail(CompileError::kTrailingText);
          break;
        }
        tok_.Consume();
        Bytes inner;
        if (!Alternation(frame, &inner)) break;
        Bytes atom;
        if (frame.capturing) {
          atom.push_back(uint8_t(Op::kOpen));
          atom.push_back(frame.group);
        }
        atom.insert(atom.end(), inner.begin(), inner.end());
        if (frame.capturing) {
          atom.push_back(uint8_t(Op::kClose));
          atom.push_back(frame.group);
        }
        stack.pop_back();
        Piece(std::move(atom), false, &stack.back().concat);
        break;
      }
      default: {
        Bytes atom;
        bool zero_width = false;
        if (SimpleAtom(t, &atom, &zero_width)) {
          Piece(std::move(atom), zero_width, &frame.concat);
          break;
        }
        // A token that starts no atom ends the pattern, or is left over.
        if (!frame.top) {
          Fail(CompileError::kUnclosedGroup);
        } else if (!tok_.AtEnd()) {
          Fail(CompileError::kTrailingText);
        } else if (Alternation(frame, &top_code)) {
          done = true;
        }
        break;
      }
    }
  }
  CompiledBytes result;
  result.error = error_;
  result.pattern_end = tok_.index();
  result.after_delimiter = tok_.index();
  if (error_ != CompileError::kNone) return result;
  std::u16string_view text = tok_.text();
  if (result.pattern_end < text.size()) result.after_delimiter = result.pattern_end + 1;
  top_code.push_back(uint8_t(Op::kMatch));
  result.program = std::move(top_code);
  result.force_ignore_case = tok_.force_ignore_case();
  result.force_match_case = tok_.force_match_case();
  result.has_upper_case = tok_.has_upper_case();
  return result;
}

}  // namespace

CompiledBytes CompileToBytes(std::u16string_view text, int magic_level, char16_t delimiter) {
  assert(magic_level >= 0 && magic_level <= 3);
  return Compiler(text, magic_level, delimiter).Run();
}

}  // namespace tavik::regex
