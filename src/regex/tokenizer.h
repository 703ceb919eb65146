// Splits pattern text into tokens of the dialect: the four magic levels, the meta characters
// with their position rules, escapes, modifiers and the case flags they set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "regex/regex_tables.h"

namespace tavik::regex {

struct Token {
  TokenKind kind = TokenKind::kNothing;
  char16_t ch = 0;       // literal character, or back-reference group (0-based)
  uint8_t class_id = 0;  // class token
  uint8_t class_flags = 0;
  uint8_t length = 0;  // characters the token spans (modifiers before it are not counted)
};

class Tokenizer {
 public:
  // `delimiter` ends the pattern when met unescaped; has_delimiter false means none.
  Tokenizer(std::u16string_view text, int magic_level, bool has_delimiter, char16_t delimiter);

  // The token at the current index; peeking again returns the same token.
  const Token& Peek(bool in_brackets);
  void Consume();

  size_t index() const { return index_; }
  // Raw access for the few constructs that read characters directly (braces, bracket names).
  std::u16string_view text() const { return text_; }
  void Skip(size_t count);
  bool AtEnd() const;  // end of text or unescaped delimiter

  bool force_ignore_case() const { return force_ignore_case_; }
  bool force_match_case() const { return force_match_case_; }
  bool has_upper_case() const { return has_upper_case_; }
  void NoteLiteral(char16_t c);

 private:
  Token Scan(bool in_brackets);
  Token ScanEscape(bool in_brackets, bool* modifier);
  bool PositionRuleHolds(PositionRule rule, size_t first, size_t after) const;

  std::u16string_view text_;
  int level_;
  bool has_delimiter_;
  char16_t delimiter_;
  size_t index_ = 0;
  bool peeked_ = false;
  bool peeked_in_brackets_ = false;
  Token token_;
  bool force_ignore_case_ = false;
  bool force_match_case_ = false;
  bool has_upper_case_ = false;
};

}  // namespace tavik::regex
