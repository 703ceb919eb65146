// The vectorised scans against a plain loop: every start and end offset of random lines, so
// blocks of 16, partial last blocks and overlapping tails are all crossed.
#include "regex/char_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "common/char_class.h"
#include "regex/program_info.h"

namespace tavik::regex {
namespace {

size_t NaiveForward(const std::u16string& s, size_t from, size_t to, const char16_t* n, int count,
                    bool high) {
  for (size_t i = from; i < to; ++i) {
    for (int k = 0; k < count; ++k) {
      if (s[i] == n[k]) return i;
    }
    if (high && s[i] >= 128) return i;
  }
  return to;
}

// The units to scan for at the literal's scan index: under ignore-case every ASCII form of it,
// and any non-ASCII unit as a candidate.
void SetScanChars(RequiredLiteral& lit, bool ic) {
  const char16_t c = lit.text[lit.scan_index];
  if (ic) {
    lit.scan_count = 0;
    for (char16_t a = 0; a < 128; ++a) {
      if (ToUpperChar(a) == ToUpperChar(c)) lit.scan_chars[lit.scan_count++] = a;
    }
    lit.scan_non_ascii = true;
  } else {
    lit.scan_chars = {c, 0};
    lit.scan_count = 1;
    lit.scan_non_ascii = c >= 128;
  }
}

TEST(RegexCharScanTest, ScansAgreeWithAPlainLoop) {
  std::mt19937 rng(5);
  const char16_t alphabet[] = u"abcxyz \u00e9";
  for (int round = 0; round < 300; ++round) {
    std::u16string s;
    size_t len = rng() % 70;
    for (size_t i = 0; i < len; ++i) s += alphabet[rng() % 8];
    // Needles that are rare in the line so most blocks have no hit.
    char16_t needles[3] = {u'x', u'y', u'z'};
    int count = int(rng() % 3) + 1;
    bool high = rng() % 2 == 0;
    for (size_t from = 0; from <= len; ++from) {
      for (size_t to = from; to <= len; ++to) {
        ASSERT_EQ(ScanForward(s.data(), from, to, needles, count, high),
                  NaiveForward(s, from, to, needles, count, high))
            << from << " " << to;
        size_t back = kNotFound;
        for (size_t i = to; i > from; --i) {
          if (NaiveForward(s, i - 1, i, needles, count, high) == i - 1) {
            back = i - 1;
            break;
          }
        }
        ASSERT_EQ(ScanBackward(s.data(), from, to, needles, count, high), back);
      }
    }
  }
}

TEST(RegexCharScanTest, FindRequiredFindsTheFirstOccurrence) {
  RequiredLiteral lit;
  lit.text = u"zab";
  lit.scan_index = 0;
  lit.scan_chars = {u'z', 0};
  lit.scan_count = 1;
  std::u16string line(40, u'a');
  EXPECT_EQ(FindRequired(line, 0, lit, false), kNotFound);
  line.replace(33, 3, u"zab");
  EXPECT_EQ(FindRequired(line, 0, lit, false), 33u);
  EXPECT_EQ(FindRequired(line, 33, lit, false), 33u);
  EXPECT_EQ(FindRequired(line, 34, lit, false), kNotFound);
  line.replace(3, 3, u"zaB");
  EXPECT_EQ(FindRequired(line, 0, lit, false), 33u);
  lit.scan_chars = {u'z', u'Z'};
  lit.scan_count = 2;
  lit.scan_non_ascii = true;
  EXPECT_EQ(FindRequired(line, 0, lit, true), 3u);
  EXPECT_EQ(FindRequired(u"za", 0, lit, true), kNotFound);
}

// Literals are found by two of their characters at once: against a plain search for every
// scanned position, every start, literals of one to five units, with and without ignore-case
// (the Kelvin sign folds to "K").
size_t NaiveFind(const std::u16string& line, size_t from, const std::u16string& lit, bool ic) {
  auto same = [ic](char16_t a, char16_t b) {
    return ic ? ToUpperChar(a) == ToUpperChar(b) : a == b;
  };
  for (size_t start = from; start + lit.size() <= line.size(); ++start) {
    size_t n = 0;
    while (n < lit.size() && same(line[start + n], lit[n])) ++n;
    if (n == lit.size()) return start;
  }
  return kNotFound;
}

TEST(RegexCharScanTest, FindRequiredAgreesWithAPlainSearch) {
  std::mt19937 rng(11);
  const char16_t alphabet[] = u"abzkAK \u00e9\u00c9\u212a";
  for (int round = 0; round < 600; ++round) {
    const bool ic = round % 2 == 1;
    std::u16string line;
    const size_t len = rng() % 100;
    for (size_t i = 0; i < len; ++i) line += alphabet[rng() % 10];
    RequiredLiteral lit;
    const size_t lit_len = 1 + rng() % 5;
    for (size_t i = 0; i < lit_len; ++i) lit.text += alphabet[rng() % 7];
    lit.scan_index = rng() % lit_len;
    SetScanChars(lit, ic);
    // Required at the end of the line: only an occurrence that ends the line counts.
    lit.at_line_end = round % 3 == 0;
    const size_t end_start = line.size() - std::min(line.size(), lit.text.size());
    for (size_t from = 0; from <= line.size(); ++from) {
      size_t expected =
          NaiveFind(line, lit.at_line_end ? std::max(from, end_start) : from, lit.text, ic);
      if (lit.at_line_end && expected != end_start) expected = kNotFound;
      ASSERT_EQ(FindRequired(line, from, lit, ic), expected)
          << "round " << round << " from " << from;
    }
  }
}

// A line held one byte per unit gives what the same line in UTF-16 gives: every start, lines
// across several blocks of 16, Latin-1 case pairs and literals with units above 255 (the Kelvin
// sign, which folds to "K", and U+0178, the capital of U+00FF).
TEST(RegexCharScanTest, NarrowLinesAgreeWithTheirUtf16Form) {
  std::mt19937 rng(17);
  const char16_t line_units[] = u"abzkKA \u00e9\u00c9\u00ff";
  const char16_t literal_units[] = u"abzkK \u00e9\u00c9\u00ff\u212a\u0178";
  for (int round = 0; round < 800; ++round) {
    const bool ic = round % 2 == 1;
    std::u16string wide;
    const size_t len = rng() % 90;
    for (size_t i = 0; i < len; ++i) wide += line_units[rng() % 10];
    const std::string narrow(wide.begin(), wide.end());
    RequiredLiteral lit;
    const size_t lit_len = 1 + rng() % 4;
    for (size_t i = 0; i < lit_len; ++i) lit.text += literal_units[rng() % 11];
    lit.scan_index = rng() % lit_len;
    SetScanChars(lit, ic);
    for (size_t from = 0; from <= len; ++from) {
      ASSERT_EQ(FindRequired(narrow, from, lit, ic), FindRequired(wide, from, lit, ic))
          << "round " << round << " from " << from;
    }
  }
}

}  // namespace
}  // namespace tavik::regex
