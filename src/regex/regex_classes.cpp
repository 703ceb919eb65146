// Class membership is decided on ASCII codes only, as in the C locale, so results are the same
// on every machine; a non-ASCII character is tested as code 0. One row per class gives what the
// class adds to a bracket expression, and membership is read from a mask built from that row.
#include "regex/regex_classes.h"

#include <array>

namespace tavik::regex {
namespace {

constexpr std::array<char16_t, 1> kUnderscore = {u'_'};
constexpr std::array<char16_t, 4> kFileChars = {u'_', u'.', u'/', u'\\'};
constexpr std::array<char16_t, 2> kSpaceTab = {u' ', u'\t'};
constexpr std::array<char16_t, 32> kPunct = {u'!', u'"', u'#', u'$', u'%', u'&', u'\'', u'(',
                                             u')', u'*', u'+', u',', u'-', u'.', u'/',  u':',
                                             u';', u'<', u'=', u'>', u'?', u'@', u'[',  u'\\',
                                             u']', u'^', u'_', u'`', u'{', u'|', u'}',  u'~'};

constexpr std::array<CharSpan, 3> kAlnumRanges = {{{u'0', u'9'}, {u'a', u'z'}, {u'A', u'Z'}}};
constexpr std::array<CharSpan, 2> kAlphaRanges = {{{u'a', u'z'}, {u'A', u'Z'}}};
constexpr std::array<CharSpan, 1> kPrintRange = {{{0x20, 0x7E}}};
constexpr std::array<CharSpan, 2> kPrintNoDigitRanges = {{{0x20, 0x2F}, {0x3A, 0x7E}}};
constexpr std::array<CharSpan, 1> kDigitRange = {{{u'0', u'9'}}};
constexpr std::array<CharSpan, 3> kHexRanges = {{{u'0', u'9'}, {u'a', u'f'}, {u'A', u'F'}}};
constexpr std::array<CharSpan, 1> kOctalRange = {{{u'0', u'7'}}};
constexpr std::array<CharSpan, 1> kLowerRange = {{{u'a', u'z'}}};
constexpr std::array<CharSpan, 1> kUpperRange = {{{u'A', u'Z'}}};
constexpr std::array<CharSpan, 1> kControlRange = {{{0, 31}}};
constexpr std::array<CharSpan, 1> kGraphRange = {{{0x21, 0x7E}}};

struct ClassRow {
  uint8_t id;
  ClassExpansion expansion;
};

// Indexed by class id.
constexpr ClassRow kClassRows[] = {
    {0, {}},
    {class_ids::kIdentifier, {kUnderscore, kAlnumRanges}},
    {class_ids::kIdentifierNoDigit, {kUnderscore, kAlphaRanges}},
    {class_ids::kKeyword, {kUnderscore, kAlnumRanges}},
    {class_ids::kKeywordNoDigit, {kUnderscore, kAlphaRanges}},
    {class_ids::kFileName, {kFileChars, kAlnumRanges}},
    {class_ids::kFileNameNoDigit, {kFileChars, kAlphaRanges}},
    {class_ids::kPrintable, {{}, kPrintRange}},
    {class_ids::kPrintableNoDigit, {{}, kPrintNoDigitRanges}},
    {class_ids::kSpace, {kSpaceTab, {}}},
    {class_ids::kDigit, {{}, kDigitRange}},
    {class_ids::kHexDigit, {{}, kHexRanges}},
    {class_ids::kOctalDigit, {{}, kOctalRange}},
    {class_ids::kWord, {kUnderscore, kAlnumRanges}},
    {class_ids::kHeadOfWord, {kUnderscore, kAlphaRanges}},
    {class_ids::kAlpha, {{}, kAlphaRanges}},
    {class_ids::kLower, {{}, kLowerRange}},
    {class_ids::kUpper, {{}, kUpperRange}},
    {class_ids::kAlnum, {{}, kAlnumRanges}},
    {class_ids::kControl, {{}, kControlRange}},
    {class_ids::kGraph, {{}, kGraphRange}},
    {class_ids::kPunct, {kPunct, {}}},
};
constexpr size_t kRowCount = sizeof(kClassRows) / sizeof(kClassRows[0]);
static_assert(kRowCount == size_t{class_ids::kLast} + 1);

constexpr bool RowsInIdOrder() {
  for (size_t i = 0; i < kRowCount; ++i) {
    if (kClassRows[i].id != i) return false;
  }
  return true;
}
static_assert(RowsInIdOrder());

// The ASCII members of a class, one bit per code.
struct AsciiMask {
  uint64_t bits[2] = {0, 0};
  constexpr void Set(char16_t c) { bits[c >> 6] |= uint64_t{1} << (c & 63); }
  constexpr bool Has(char16_t c) const { return (bits[c >> 6] >> (c & 63)) & 1; }
};

constexpr std::array<AsciiMask, kRowCount> BuildMasks() {
  std::array<AsciiMask, kRowCount> masks{};
  for (size_t i = 0; i < kRowCount; ++i) {
    for (char16_t c : kClassRows[i].expansion.chars) masks[i].Set(c);
    for (const CharSpan& span : kClassRows[i].expansion.ranges) {
      for (char16_t c = span.low; c <= span.high; ++c) masks[i].Set(c);
    }
  }
  return masks;
}
constexpr std::array<AsciiMask, kRowCount> kMasks = BuildMasks();

}  // namespace

bool ClassContains(uint8_t id, char16_t c) {
  if (id >= kRowCount) return false;
  return kMasks[id].Has(c < 128 ? c : 0);
}

ClassExpansion ExpandClass(uint8_t id) {
  return id < kRowCount ? kClassRows[id].expansion : ClassExpansion{};
}

}  // namespace tavik::regex
