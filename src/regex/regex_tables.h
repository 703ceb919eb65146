// Fixed tables of the pattern dialect: instruction and item codes of the byte program, token
// kinds, the meta-character table with its magic thresholds, classes and bracket names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tavik::regex {

// Instruction codes of the byte program. Code 5 is never produced.
enum class Op : uint8_t {
  kJump = 0,
  kSplitNext = 1,
  kSplitJump = 2,
  kAtom = 3,
  kMatch = 4,
  kOpen = 6,
  kClose = 7,
  kMark = 8,
  kReset = 9,
  kCounterSet = 10,
  kCounterInc = 11,
  kCounterMin = 12,
  kCounterMax = 13,
  kMatchStart = 14,
  kMatchEnd = 15,
};

// Item sub-codes of an ATOM instruction.
enum class Item : uint8_t {
  kLiteral = 0,
  kAny = 1,
  kAnyOrBreak = 2,
  kStartOfLine = 3,
  kEndOfLine = 4,
  kLineBreak = 5,
  kSet = 6,
  kNegatedSet = 7,
  kSetOrBreak = 8,
  kNegatedSetOrBreak = 9,
  kClass = 10,
  kStartOfWord = 11,
  kEndOfWord = 12,
  kBackReference = 13,
};

// Flags byte of a class item.
inline constexpr uint8_t kClassNegated = 1;
inline constexpr uint8_t kClassLineBreak = 2;

enum class TokenKind : uint8_t {
  kNothing = 0,
  kLiteral = 1,
  kAny = 2,
  kAnyOrBreak = 3,
  kStar = 4,
  kPlus = 5,
  kOptional = 8,
  kBrace = 9,
  kOpenGroup = 10,
  kCloseGroup = 11,
  kOpenNonCapturing = 12,
  kStartOfLine = 13,
  kEndOfLine = 14,
  kOpenBracket = 15,
  kOpenBracketOrBreak = 16,
  kLineBreak = 17,
  kAlternation = 18,
  kAndConcat = 19,
  kClass = 20,
  kBackReference = 22,
  kTilde = 23,
  kMatchStart = 24,
  kMatchEnd = 25,
  kStartOfWord = 26,
  kEndOfWord = 27,
};

enum class PositionRule : uint8_t { kNone, kFirstChar, kLastChar };

struct MetaChar {
  char16_t ch;
  TokenKind token;
  uint8_t threshold;  // lowest magic level at which the plain character is special
  PositionRule rule;
};

inline constexpr std::array<MetaChar, 16> kMetaChars = {{
    {u'.', TokenKind::kAny, 2, PositionRule::kNone},
    {u'^', TokenKind::kStartOfLine, 1, PositionRule::kFirstChar},
    {u'$', TokenKind::kEndOfLine, 1, PositionRule::kLastChar},
    {u'*', TokenKind::kStar, 2, PositionRule::kNone},
    {u'[', TokenKind::kOpenBracket, 2, PositionRule::kNone},
    {u'~', TokenKind::kTilde, 2, PositionRule::kNone},
    {u'|', TokenKind::kAlternation, 3, PositionRule::kNone},
    {u'&', TokenKind::kAndConcat, 3, PositionRule::kNone},
    {u'(', TokenKind::kOpenGroup, 3, PositionRule::kNone},
    {u')', TokenKind::kCloseGroup, 3, PositionRule::kNone},
    {u'+', TokenKind::kPlus, 3, PositionRule::kNone},
    {u'{', TokenKind::kBrace, 3, PositionRule::kNone},
    {u'<', TokenKind::kStartOfWord, 3, PositionRule::kNone},
    {u'>', TokenKind::kEndOfWord, 3, PositionRule::kNone},
    {u'=', TokenKind::kOptional, 3, PositionRule::kNone},
    {u'?', TokenKind::kOptional, 3, PositionRule::kNone},
}};

struct ClassEscape {
  char16_t letter;
  uint8_t id;
  bool negated;
};

// Class letters: lower-case letters name a class, upper-case letters either name their own
// class (\I \K \F \P) or negate the lower-case one.
inline constexpr std::array<ClassEscape, 26> kClassEscapes = {{
    {u'i', 1, false},  {u'I', 2, false},  {u'k', 3, false},  {u'K', 4, false},  {u'f', 5, false},
    {u'F', 6, false},  {u'p', 7, false},  {u'P', 8, false},  {u's', 9, false},  {u'S', 9, true},
    {u'd', 10, false}, {u'D', 10, true},  {u'x', 11, false}, {u'X', 11, true},  {u'o', 12, false},
    {u'O', 12, true},  {u'w', 13, false}, {u'W', 13, true},  {u'h', 14, false}, {u'H', 14, true},
    {u'a', 15, false}, {u'A', 15, true},  {u'l', 16, false}, {u'L', 16, true},  {u'u', 17, false},
    {u'U', 17, true},
}};

inline constexpr uint8_t kClassCount = 21;  // ids 1 to 21

struct BracketName {
  std::u16string_view name;
  uint8_t class_id;  // 0: adds the single character below instead
  char16_t ch;
};

inline constexpr std::array<BracketName, 16> kBracketNames = {{
    {u"[:alnum:]", 18, 0},
    {u"[:alpha:]", 15, 0},
    {u"[:blank:]", 9, 0},
    {u"[:cntrl:]", 19, 0},
    {u"[:digit:]", 10, 0},
    {u"[:graph:]", 20, 0},
    {u"[:lower:]", 16, 0},
    {u"[:print:]", 7, 0},
    {u"[:punct:]", 21, 0},
    {u"[:space:]", 9, 0},
    {u"[:upper:]", 17, 0},
    {u"[:xdigit:]", 11, 0},
    {u"[:return:]", 0, 10},
    {u"[:tab:]", 0, 9},
    {u"[:escape:]", 0, 27},
    {u"[:backspace:]", 0, 8},
}};

// Instruction lengths that do not depend on operands.
inline constexpr uint32_t kJumpLength = 3;
inline constexpr uint32_t kSetHeaderLength = 6;

}  // namespace tavik::regex
