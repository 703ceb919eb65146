// Class membership is decided on ASCII codes only, as in the C locale, so results are the same
// on every machine; a non-ASCII character is tested as code 0.
#include "regex/regex_classes.h"

#include <array>

namespace tavik::regex {
namespace {

bool IsAsciiDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
bool IsAsciiLower(char16_t c) {
  return c >= u'a' && c <= u'z';
}
bool IsAsciiUpper(char16_t c) {
  return c >= u'A' && c <= u'Z';
}
bool IsAsciiAlpha(char16_t c) {
  return IsAsciiLower(c) || IsAsciiUpper(c);
}
bool IsAsciiPunct(char16_t c) {
  return c >= 0x21 && c <= 0x7E && !IsAsciiAlpha(c) && !IsAsciiDigit(c);
}
bool IsFileChar(char16_t c) {
  return c == u'_' || c == u'.' || c == u'/' || c == u'\\';
}

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

}  // namespace

bool ClassContains(uint8_t id, char16_t c) {
  if (c >= 128) c = 0;
  switch (id) {
    case 1:
    case 3:
    case 13:
      return c == u'_' || IsAsciiAlpha(c) || IsAsciiDigit(c);
    case 2:
    case 4:
    case 14:
      return c == u'_' || IsAsciiAlpha(c);
    case 5:
      return IsFileChar(c) || IsAsciiAlpha(c) || IsAsciiDigit(c);
    case 6:
      return IsFileChar(c) || IsAsciiAlpha(c);
    case 7:
      return c >= 0x20 && c <= 0x7E;
    case 8:
      return c >= 0x20 && c <= 0x7E && !IsAsciiDigit(c);
    case 9:
      return c == u' ' || c == u'\t';
    case 10:
      return IsAsciiDigit(c);
    case 11:
      return IsAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    case 12:
      return c >= u'0' && c <= u'7';
    case 15:
      return IsAsciiAlpha(c);
    case 16:
      return IsAsciiLower(c);
    case 17:
      return IsAsciiUpper(c);
    case 18:
      return IsAsciiAlpha(c) || IsAsciiDigit(c);
    case 19:
      return c < 32;
    case 20:
      return c >= 0x21 && c <= 0x7E;
    case 21:
      return IsAsciiPunct(c);
    default:
      return false;
  }
}

ClassExpansion ExpandClass(uint8_t id) {
  switch (id) {
    case 1:
    case 3:
    case 13:
      return {kUnderscore, kAlnumRanges};
    case 18:
      return {{}, kAlnumRanges};
    case 2:
    case 4:
    case 14:
      return {kUnderscore, kAlphaRanges};
    case 15:
      return {{}, kAlphaRanges};
    case 5:
      return {kFileChars, kAlnumRanges};
    case 6:
      return {kFileChars, kAlphaRanges};
    case 7:
      return {{}, kPrintRange};
    case 8:
      return {{}, kPrintNoDigitRanges};
    case 9:
      return {kSpaceTab, {}};
    case 10:
      return {{}, kDigitRange};
    case 11:
      return {{}, kHexRanges};
    case 12:
      return {{}, kOctalRange};
    case 16:
      return {{}, kLowerRange};
    case 17:
      return {{}, kUpperRange};
    case 19:
      return {{}, kControlRange};
    case 20:
      return {{}, kGraphRange};
    case 21:
      return {kPunct, {}};
    default:
      return {};
  }
}

}  // namespace tavik::regex
