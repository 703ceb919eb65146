// The tokenizer keeps one token of look-ahead. Modifiers (\c \C \v \m \M \V) take effect while
// scanning and produce no token, so the look-ahead after a modifier already uses the new level.
#include "regex/tokenizer.h"

#include "common/char_class.h"

namespace tavik::regex {
namespace {

const MetaChar* FindMeta(char16_t c) {
  if (c >= 128) return nullptr;
  for (const MetaChar& m : kMetaChars) {
    if (m.ch == c) return &m;
  }
  return nullptr;
}

const ClassEscape* FindClass(char16_t c) {
  for (const ClassEscape& e : kClassEscapes) {
    if (e.letter == c) return &e;
  }
  return nullptr;
}

Token Make(TokenKind kind, uint8_t length, char16_t ch = 0) {
  Token t;
  t.kind = kind;
  t.ch = ch;
  t.length = length;
  return t;
}

// \e \t \r \b stand for these characters both inside and outside brackets.
bool ControlEscape(char16_t c, char16_t* out) {
  switch (c) {
    case u'e':
      *out = 27;
      return true;
    case u't':
      *out = 9;
      return true;
    case u'r':
      *out = 13;
      return true;
    case u'b':
      *out = 8;
      return true;
    default:
      return false;
  }
}

}  // namespace

Tokenizer::Tokenizer(std::u16string_view text, int magic_level, bool has_delimiter,
                     char16_t delimiter)
    : text_(text), level_(magic_level), has_delimiter_(has_delimiter), delimiter_(delimiter) {}

bool Tokenizer::AtEnd() const {
  return index_ >= text_.size() || (has_delimiter_ && text_[index_] == delimiter_);
}

void Tokenizer::Skip(size_t count) {
  index_ += count;
  peeked_ = false;
}

const Token& Tokenizer::Peek(bool in_brackets) {
  if (!peeked_ || peeked_in_brackets_ != in_brackets) {
    token_ = Scan(in_brackets);
    peeked_ = true;
    peeked_in_brackets_ = in_brackets;
    if (token_.kind == TokenKind::kLiteral) NoteLiteral(token_.ch);
  }
  return token_;
}

void Tokenizer::Consume() {
  index_ += token_.length;
  peeked_ = false;
}

void Tokenizer::NoteLiteral(char16_t c) {
  if (IsUpperChar(c)) has_upper_case_ = true;
}

bool Tokenizer::PositionRuleHolds(PositionRule rule, size_t first, size_t after) const {
  switch (rule) {
    case PositionRule::kNone:
      return true;
    case PositionRule::kFirstChar:
      return first == 0;
    case PositionRule::kLastChar:
      return after >= text_.size() || (has_delimiter_ && text_[after] == delimiter_);
  }
  return false;
}

Token Tokenizer::Scan(bool in_brackets) {
  for (;;) {
    if (AtEnd()) return Make(TokenKind::kNothing, 0);
    char16_t c = text_[index_];
    if (c != u'\\') {
      if (!in_brackets) {
        const MetaChar* meta = FindMeta(c);
        if (meta != nullptr && level_ >= meta->threshold &&
            PositionRuleHolds(meta->rule, index_, index_ + 1)) {
          return Make(meta->token, 1);
        }
      }
      return Make(TokenKind::kLiteral, 1, c);
    }
    bool modifier = false;
    Token t = ScanEscape(in_brackets, &modifier);
    if (!modifier) return t;
    index_ += 2;  // a modifier yields no token: go on with what follows it
  }
}

Token Tokenizer::ScanEscape(bool in_brackets, bool* modifier) {
  if (index_ + 1 >= text_.size()) return Make(TokenKind::kNothing, 0);  // lone trailing '\'
  char16_t c = text_[index_ + 1];
  char16_t control = 0;
  if (in_brackets) {
    if (ControlEscape(c, &control)) return Make(TokenKind::kLiteral, 2, control);
    if (c == u'n') return Make(TokenKind::kLineBreak, 2);
    return Make(TokenKind::kLiteral, 2, c);
  }
  if (const MetaChar* meta = FindMeta(c)) {
    if (level_ < meta->threshold && PositionRuleHolds(meta->rule, index_, index_ + 2)) {
      return Make(meta->token, 2);
    }
    return Make(TokenKind::kLiteral, 2, c);
  }
  if (const ClassEscape* cls = FindClass(c)) {
    Token t = Make(TokenKind::kClass, 2);
    t.class_id = cls->id;
    t.class_flags = cls->negated ? kClassNegated : 0;
    return t;
  }
  if (ControlEscape(c, &control)) return Make(TokenKind::kLiteral, 2, control);
  if (c == u'n') return Make(TokenKind::kLineBreak, 2);
  if (c >= u'1' && c <= u'9') return Make(TokenKind::kBackReference, 2, char16_t(c - u'1'));
  switch (c) {
    case u'c':
      force_ignore_case_ = true;
      *modifier = true;
      return {};
    case u'C':
      force_match_case_ = true;
      *modifier = true;
      return {};
    case u'v':
    case u'm':
    case u'M':
    case u'V':
      level_ = c == u'v' ? 3 : c == u'm' ? 2 : c == u'M' ? 1 : 0;
      *modifier = true;
      return {};
    default:
      break;
  }
  bool has_third = index_ + 2 < text_.size();
  char16_t x = has_third ? text_[index_ + 2] : 0;
  if (c == u'z') {
    if (has_third && x == u's') return Make(TokenKind::kMatchStart, 3);
    if (has_third && x == u'e') return Make(TokenKind::kMatchEnd, 3);
    return Make(TokenKind::kLiteral, 2, u'z');
  }
  if (c == u'%') {
    if (!has_third) return Make(TokenKind::kNothing, 0);
    if (x == u'(') return Make(TokenKind::kOpenNonCapturing, 3);
    return Make(TokenKind::kLiteral, 3, x);
  }
  if (c == u'_') {
    if (!has_third) return Make(TokenKind::kNothing, 0);
    if (const ClassEscape* cls = FindClass(x)) {
      Token t = Make(TokenKind::kClass, 3);
      t.class_id = cls->id;
      t.class_flags = uint8_t((cls->negated ? kClassNegated : 0) | kClassLineBreak);
      return t;
    }
    switch (x) {
      case u'^':
        return Make(TokenKind::kStartOfLine, 3);
      case u'$':
        return Make(TokenKind::kEndOfLine, 3);
      case u'[':
        return Make(TokenKind::kOpenBracketOrBreak, 3);
      case u'.':
        return Make(TokenKind::kAnyOrBreak, 3);
      default:
        return Make(TokenKind::kLiteral, 3, x);
    }
  }
  return Make(TokenKind::kLiteral, 2, c);
}

}  // namespace tavik::regex
