// Fixed tables of the pattern dialect: instruction and item codes of the byte program, token
// kinds, the meta-character table with its magic thresholds, classes and bracket names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "regex/regex_classes.h"

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
    {u'i', class_ids::kIdentifier, false}, {u'I', class_ids::kIdentifierNoDigit, false},
    {u'k', class_ids::kKeyword, false},    {u'K', class_ids::kKeywordNoDigit, false},
    {u'f', class_ids::kFileName, false},   {u'F', class_ids::kFileNameNoDigit, false},
    {u'p', class_ids::kPrintable, false},  {u'P', class_ids::kPrintableNoDigit, false},
    {u's', class_ids::kSpace, false},      {u'S', class_ids::kSpace, true},
    {u'd', class_ids::kDigit, false},      {u'D', class_ids::kDigit, true},
    {u'x', class_ids::kHexDigit, false},   {u'X', class_ids::kHexDigit, true},
    {u'o', class_ids::kOctalDigit, false}, {u'O', class_ids::kOctalDigit, true},
    {u'w', class_ids::kWord, false},       {u'W', class_ids::kWord, true},
    {u'h', class_ids::kHeadOfWord, false}, {u'H', class_ids::kHeadOfWord, true},
    {u'a', class_ids::kAlpha, false},      {u'A', class_ids::kAlpha, true},
    {u'l', class_ids::kLower, false},      {u'L', class_ids::kLower, true},
    {u'u', class_ids::kUpper, false},      {u'U', class_ids::kUpper, true},
}};

struct BracketName {
  std::u16string_view name;
  uint8_t class_id;  // 0: adds the single character below instead
  char16_t ch;
};

inline constexpr std::array<BracketName, 16> kBracketNames = {{
    {u"[:alnum:]", class_ids::kAlnum, 0},
    {u"[:alpha:]", class_ids::kAlpha, 0},
    {u"[:blank:]", class_ids::kSpace, 0},
    {u"[:cntrl:]", class_ids::kControl, 0},
    {u"[:digit:]", class_ids::kDigit, 0},
    {u"[:graph:]", class_ids::kGraph, 0},
    {u"[:lower:]", class_ids::kLower, 0},
    {u"[:print:]", class_ids::kPrintable, 0},
    {u"[:punct:]", class_ids::kPunct, 0},
    {u"[:space:]", class_ids::kSpace, 0},
    {u"[:upper:]", class_ids::kUpper, 0},
    {u"[:xdigit:]", class_ids::kHexDigit, 0},
    {u"[:return:]", 0, 10},
    {u"[:tab:]", 0, 9},
    {u"[:escape:]", 0, 27},
    {u"[:backspace:]", 0, 8},
}};

// Instruction lengths that do not depend on operands.
inline constexpr uint32_t kJumpLength = 3;
inline constexpr uint32_t kSetHeaderLength = 6;

}  // namespace tavik::regex
