// Character classes of the pattern dialect: membership tests for class items and the
// characters and ranges a class contributes when it is named inside a bracket expression.
#pragma once

#include <cstdint>
#include <span>

namespace tavik::regex {

// The class ids a class item and a bracket expression name; 0 is no class.
namespace class_ids {
inline constexpr uint8_t kIdentifier = 1;         // \i
inline constexpr uint8_t kIdentifierNoDigit = 2;  // \I
inline constexpr uint8_t kKeyword = 3;            // \k
inline constexpr uint8_t kKeywordNoDigit = 4;     // \K
inline constexpr uint8_t kFileName = 5;           // \f
inline constexpr uint8_t kFileNameNoDigit = 6;    // \F
inline constexpr uint8_t kPrintable = 7;          // \p, [:print:]
inline constexpr uint8_t kPrintableNoDigit = 8;   // \P
inline constexpr uint8_t kSpace = 9;              // \s, [:blank:], [:space:]
inline constexpr uint8_t kDigit = 10;             // \d, [:digit:]
inline constexpr uint8_t kHexDigit = 11;          // \x, [:xdigit:]
inline constexpr uint8_t kOctalDigit = 12;        // \o
inline constexpr uint8_t kWord = 13;              // \w
inline constexpr uint8_t kHeadOfWord = 14;        // \h
inline constexpr uint8_t kAlpha = 15;             // \a, [:alpha:]
inline constexpr uint8_t kLower = 16;             // \l, [:lower:]
inline constexpr uint8_t kUpper = 17;             // \u, [:upper:]
inline constexpr uint8_t kAlnum = 18;             // [:alnum:]
inline constexpr uint8_t kControl = 19;           // [:cntrl:]
inline constexpr uint8_t kGraph = 20;             // [:graph:]
inline constexpr uint8_t kPunct = 21;             // [:punct:]
inline constexpr uint8_t kLast = kPunct;
}  // namespace class_ids

struct CharSpan {
  char16_t low;
  char16_t high;
};

struct ClassExpansion {
  std::span<const char16_t> chars;
  std::span<const CharSpan> ranges;
};

// Membership of class `id` (1 to class_ids::kLast). Codes at or above 128 are tested as code 0.
bool ClassContains(uint8_t id, char16_t c);

// What class `id` adds to a bracket expression, in the order it is laid out in the program.
ClassExpansion ExpandClass(uint8_t id);

}  // namespace tavik::regex
