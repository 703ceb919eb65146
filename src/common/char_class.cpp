// Locale-free classification and case mapping of UTF-16 units for motions, patterns and case
// operators. Everything is driven by sorted constexpr range tables so the answers never depend
// on the machine the engine runs on.
#include "common/char_class.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

namespace tavik {
namespace {

struct CharRange {
  char16_t first;
  char16_t last;
};

// Characters that separate words: tab to carriage return, space and the Unicode space separators.
constexpr std::array kBlankRanges = std::to_array<CharRange>({
    {0x0009, 0x000D},
    {0x0020, 0x0020},
    {0x00A0, 0x00A0},
    {0x1680, 0x1680},
    {0x2000, 0x200A},
    {0x2028, 0x2029},
    {0x202F, 0x202F},
    {0x205F, 0x205F},
    {0x3000, 0x3000},
});

// Decimal digits of the scripts whose digits users commonly type.
constexpr std::array kDigitRanges = std::to_array<CharRange>({
    {0x0030, 0x0039},  // ASCII
    {0x0660, 0x0669},  // Arabic-Indic
    {0x06F0, 0x06F9},  // Extended Arabic-Indic
    {0x0966, 0x096F},  // Devanagari
    {0x09E6, 0x09EF},  // Bengali
    {0x0E50, 0x0E59},  // Thai
    {0xFF10, 0xFF19},  // Fullwidth
});

// Letters of the BMP, by block. Ranges skip the punctuation and symbols inside the blocks where
// that is cheap to do; combining marks are left out so they stay separate from words.
constexpr std::array kAlphaRanges = std::to_array<CharRange>({
    {0x0041, 0x005A}, {0x0061, 0x007A},                    // ASCII
    {0x00AA, 0x00AA}, {0x00B5, 0x00B5}, {0x00BA, 0x00BA},  // Latin-1
    {0x00C0, 0x00D6}, {0x00D8, 0x00F6}, {0x00F8, 0x02C1},  // Latin-1, Ext-A/B, IPA
    {0x02C6, 0x02D1}, {0x02E0, 0x02E4}, {0x02EC, 0x02EC}, {0x02EE, 0x02EE},  // modifier letters
    {0x0370, 0x0374}, {0x0376, 0x0377}, {0x037A, 0x037D}, {0x037F, 0x037F},  // Greek
    {0x0386, 0x0386}, {0x0388, 0x038A}, {0x038C, 0x038C}, {0x038E, 0x03A1},  //
    {0x03A3, 0x03F5}, {0x03F7, 0x0481}, {0x048A, 0x052F},                    // Greek, Cyrillic
    {0x0531, 0x0556}, {0x0559, 0x0559}, {0x0560, 0x0588},                    // Armenian
    {0x05D0, 0x05EA}, {0x05EF, 0x05F2},                                      // Hebrew
    {0x0620, 0x064A}, {0x066E, 0x066F}, {0x0671, 0x06D3}, {0x06D5, 0x06D5},  // Arabic
    {0x06E5, 0x06E6}, {0x06EE, 0x06EF}, {0x06FA, 0x06FC}, {0x06FF, 0x06FF},  //
    {0x0710, 0x0710}, {0x0712, 0x072F}, {0x074D, 0x07A5},                    // Syriac, Thaana
    {0x0904, 0x0939}, {0x093D, 0x093D}, {0x0950, 0x0950}, {0x0958, 0x0961},  // Devanagari
    {0x0971, 0x0980}, {0x0985, 0x09B9},                                      // Bengali
    {0x0E01, 0x0E30}, {0x0E32, 0x0E33}, {0x0E40, 0x0E46},                    // Thai
    {0x10A0, 0x10C5}, {0x10D0, 0x10FA}, {0x10FC, 0x10FF},                    // Georgian
    {0x1100, 0x1248}, {0x124A, 0x135A},  // Hangul Jamo, Ethiopic
    {0x13A0, 0x13F5}, {0x13F8, 0x13FD},  // Cherokee
    {0x1401, 0x166C}, {0x166F, 0x167F},  // Canadian syllabics
    {0x1E00, 0x1F15}, {0x1F18, 0x1F1D}, {0x1F20, 0x1F45}, {0x1F48, 0x1F4D},  // Latin/Greek ext.
    {0x1F50, 0x1F57}, {0x1F59, 0x1F59}, {0x1F5B, 0x1F5B}, {0x1F5D, 0x1F5D},  //
    {0x1F5F, 0x1F7D}, {0x1F80, 0x1FB4}, {0x1FB6, 0x1FBC}, {0x1FBE, 0x1FBE},  //
    {0x1FC2, 0x1FC4}, {0x1FC6, 0x1FCC}, {0x1FD0, 0x1FD3}, {0x1FD6, 0x1FDB},  //
    {0x1FE0, 0x1FEC}, {0x1FF2, 0x1FF4}, {0x1FF6, 0x1FFC},                    //
    {0x2071, 0x2071}, {0x207F, 0x207F}, {0x2090, 0x209C},                    // sub/superscript
    {0x2C00, 0x2CE4}, {0x2CEB, 0x2CEE}, {0x2D00, 0x2D25}, {0x2D30, 0x2D67},  // Glagolitic..Tifinagh
    {0x3005, 0x3006}, {0x3031, 0x3035}, {0x303B, 0x303C},                    // CJK marks
    {0x3041, 0x3096}, {0x309D, 0x309F},                                      // Hiragana
    {0x30A1, 0x30FA}, {0x30FC, 0x30FF},                                      // Katakana
    {0x3105, 0x312F}, {0x3131, 0x318E}, {0x31A0, 0x31BF}, {0x31F0, 0x31FF},  // Bopomofo, Jamo
    {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},                                      // CJK ideographs
    {0xA000, 0xA48C},                                                        // Yi
    {0xA640, 0xA66E}, {0xA680, 0xA69D},                                      // Cyrillic ext.
    {0xA722, 0xA788}, {0xA78B, 0xA7CA},                                      // Latin ext. D
    {0xAC00, 0xD7A3},                                                        // Hangul syllables
    {0xF900, 0xFA6D}, {0xFA70, 0xFAD9},                                      // CJK compatibility
    {0xFB00, 0xFB06}, {0xFB13, 0xFB17}, {0xFB1D, 0xFB1D}, {0xFB1F, 0xFB28},  // presentation
    {0xFB2A, 0xFB4F}, {0xFB50, 0xFD3D}, {0xFD50, 0xFDC7}, {0xFDF0, 0xFDFB},  // forms
    {0xFE70, 0xFE74}, {0xFE76, 0xFEFC},                                      //
    {0xFF21, 0xFF3A}, {0xFF41, 0xFF5A}, {0xFF66, 0xFFBE},                    // fullwidth, halfwidth
});

// Upper/lower pairs. Every `step`-th unit from `first` to `last` is an upper-case letter whose
// lower-case partner is `delta` away; step 2 with delta 1 is the alternating layout of the
// Latin and Cyrillic extension blocks.
struct CasePairs {
  char16_t first;
  char16_t last;
  int delta;
  int step;
};

constexpr std::array kCasePairs = std::to_array<CasePairs>({
    {0x0041, 0x005A, 0x20, 1},   // ASCII
    {0x00C0, 0x00D6, 0x20, 1},   // Latin-1
    {0x00D8, 0x00DE, 0x20, 1},   //
    {0x0100, 0x012E, 1, 2},      // Latin Extended-A
    {0x0132, 0x0136, 1, 2},      //
    {0x0139, 0x0147, 1, 2},      //
    {0x014A, 0x0176, 1, 2},      //
    {0x0178, 0x0178, -0x79, 1},  // Y with diaeresis
    {0x0179, 0x017D, 1, 2},      //
    {0x01CD, 0x01DB, 1, 2},      // Latin Extended-B
    {0x01DE, 0x01EE, 1, 2},      //
    {0x01F8, 0x021E, 1, 2},      //
    {0x0222, 0x0232, 1, 2},      //
    {0x0246, 0x024E, 1, 2},      //
    {0x0386, 0x0386, 0x26, 1},   // Greek with tonos
    {0x0388, 0x038A, 0x25, 1},   //
    {0x038C, 0x038C, 0x40, 1},   //
    {0x038E, 0x038F, 0x3F, 1},   //
    {0x0391, 0x03A1, 0x20, 1},   // Greek
    {0x03A3, 0x03AB, 0x20, 1},   //
    {0x0400, 0x040F, 0x50, 1},   // Cyrillic
    {0x0410, 0x042F, 0x20, 1},   //
    {0x0460, 0x0480, 1, 2},      //
    {0x048A, 0x04BE, 1, 2},      //
    {0x04C0, 0x04C0, 0x0F, 1},   //
    {0x04C1, 0x04CD, 1, 2},      //
    {0x04D0, 0x052E, 1, 2},      //
    {0x0531, 0x0556, 0x30, 1},   // Armenian
    {0x1E00, 0x1E94, 1, 2},      // Latin Extended Additional
    {0x1EA0, 0x1EFE, 1, 2},      //
    {0xFF21, 0xFF3A, 0x20, 1},   // Fullwidth
});

// Case letters whose mapping goes one way only (the partner maps back to another letter).
struct OneWayCase {
  char16_t from;
  char16_t to;
};
constexpr std::array kLowerToUpperOnly = std::to_array<OneWayCase>({
    {0x00B5, 0x039C},  // micro sign
    {0x0131, 0x0049},  // dotless i
    {0x017F, 0x0053},  // long s
    {0x03C2, 0x03A3},  // final sigma
});
constexpr std::array kUpperToLowerOnly = std::to_array<OneWayCase>({
    {0x0130, 0x0069},  // I with dot above
});

// Lower-case letters without a simple upper-case partner.
constexpr std::array kLowerOnlyRanges = std::to_array<CharRange>({
    {0x00DF, 0x00DF},
    {0x0138, 0x0138},
    {0x0149, 0x0149},
    {0x0250, 0x02AF},
    {0x0390, 0x0390},
    {0x03B0, 0x03B0},
    {0x0587, 0x0587},
    {0x1E96, 0x1E9D},
});

constexpr bool IsSortedAndDisjoint(std::span<const CharRange> ranges) {
  for (size_t i = 0; i < ranges.size(); ++i) {
    if (ranges[i].first > ranges[i].last) return false;
    if (i > 0 && ranges[i - 1].last >= ranges[i].first) return false;
  }
  return true;
}
static_assert(IsSortedAndDisjoint(kBlankRanges));
static_assert(IsSortedAndDisjoint(kDigitRanges));
static_assert(IsSortedAndDisjoint(kAlphaRanges));
static_assert(IsSortedAndDisjoint(kLowerOnlyRanges));

bool InRanges(std::span<const CharRange> ranges, char16_t c) {
  // The first range that ends at or after c is the only one that can hold it.
  auto it = std::lower_bound(ranges.begin(), ranges.end(), c,
                             [](const CharRange& r, char16_t v) { return r.last < v; });
  return it != ranges.end() && it->first <= c;
}

// The lower-case partner of c when c is an upper-case letter of a pair, else 0.
char16_t LowerPartner(char16_t c) {
  for (const CasePairs& p : kCasePairs) {
    if (c >= p.first && c <= p.last && (c - p.first) % p.step == 0) {
      return static_cast<char16_t>(c + p.delta);
    }
  }
  return 0;
}

// The upper-case partner of c when c is a lower-case letter of a pair, else 0.
char16_t UpperPartner(char16_t c) {
  for (const CasePairs& p : kCasePairs) {
    const int upper = c - p.delta;
    if (upper >= p.first && upper <= p.last && (upper - p.first) % p.step == 0) {
      return static_cast<char16_t>(upper);
    }
  }
  return 0;
}

char16_t OneWay(std::span<const OneWayCase> table, char16_t c) {
  for (const OneWayCase& row : table) {
    if (row.from == c) return row.to;
  }
  return 0;
}

}  // namespace

bool IsBlankChar(char16_t c) {
  if (c < 0x80) return c == u' ' || (c >= 0x09 && c <= 0x0D);
  return InRanges(kBlankRanges, c);
}

bool IsDigitChar(char16_t c) {
  if (c < 0x80) return c >= u'0' && c <= u'9';
  return InRanges(kDigitRanges, c);
}

bool IsAlphaChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  return InRanges(kAlphaRanges, c);
}

bool IsUpperChar(char16_t c) {
  if (c < 0x80) return c >= u'A' && c <= u'Z';
  return LowerPartner(c) != 0 || OneWay(kUpperToLowerOnly, c) != 0;
}

bool IsLowerChar(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z';
  return UpperPartner(c) != 0 || OneWay(kLowerToUpperOnly, c) != 0 || InRanges(kLowerOnlyRanges, c);
}

char16_t ToUpperChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if (char16_t u = UpperPartner(c)) return u;
  if (char16_t u = OneWay(kLowerToUpperOnly, c)) return u;
  return c;
}

bool CaseMatesAreAscii(char16_t c) {
  const char16_t upper = ToUpperChar(c);
  for (const OneWayCase& row : kLowerToUpperOnly) {
    if (row.to == upper) return false;
  }
  for (const CasePairs& p : kCasePairs) {
    if (upper >= p.first && upper <= p.last && (upper - p.first) % p.step == 0 &&
        upper + p.delta >= 0x80) {
      return false;
    }
  }
  return true;
}

char16_t ToLowerChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
  if (char16_t l = LowerPartner(c)) return l;
  if (char16_t l = OneWay(kUpperToLowerOnly, c)) return l;
  return c;
}

}  // namespace tavik
