// Vectorised character scans. The vector loop only decides whether a block of 16 units holds a
// candidate; the scalar loop then finds it, so both paths give the same answer.
#include "regex/char_scan.h"

#include <cstdint>
#include <cstring>

#include "common/char_class.h"
#include "regex/program_info.h"

#if defined(__GNUC__) || defined(__clang__)
#define TAVIK_REGEX_VECTOR_SCAN 1
#endif

namespace tavik::regex {
namespace {

#if TAVIK_REGEX_VECTOR_SCAN
// 16-byte vectors are part of the baseline ABI everywhere these compilers target.
typedef uint16_t U16x8 __attribute__((vector_size(16)));

U16x8 Splat(uint16_t c) {
  return U16x8{c, c, c, c, c, c, c, c};
}
#endif

inline bool Hit(char16_t c, char16_t n0, char16_t n1, char16_t n2, bool high) {
  return c == n0 || c == n1 || c == n2 || (high && c >= 128);
}

}  // namespace

#if TAVIK_REGEX_VECTOR_SCAN
// Lanes of `s[at..at+8)` that hold a candidate, one 16-bit lane of all ones per hit.
inline U16x8 HitLanes(const char16_t* s, size_t at, U16x8 v0, U16x8 v1, U16x8 v2, U16x8 vh) {
  U16x8 a;
  std::memcpy(&a, s + at, sizeof(a));
  return (a == v0) | (a == v1) | (a == v2) | ((a & vh) != 0);
}

// Index of the first hit lane at or after lane `skip`, or 8. Lane 0 is the lowest 16 bits of
// the first word on the little-endian targets this path is built for.
inline size_t FirstLane(U16x8 lanes, size_t skip) {
  uint64_t w[2];
  std::memcpy(w, &lanes, sizeof(w));
  if (skip >= 4) {
    w[0] = 0;
    w[1] &= ~uint64_t{0} << (16 * (skip - 4));
  } else {
    w[0] &= ~uint64_t{0} << (16 * skip);
  }
  if (w[0] != 0) return static_cast<size_t>(__builtin_ctzll(w[0])) / 16;
  if (w[1] != 0) return 4 + static_cast<size_t>(__builtin_ctzll(w[1])) / 16;
  return 8;
}
#endif

size_t ScanForward(const char16_t* s, size_t from, size_t to, const char16_t* needles, int count,
                   bool high) {
  char16_t n0 = needles[0];
  char16_t n1 = count > 1 ? needles[1] : n0;
  char16_t n2 = count > 2 ? needles[2] : n0;
  size_t i = from;
#if TAVIK_REGEX_VECTOR_SCAN && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  const U16x8 v0 = Splat(n0);
  const U16x8 v1 = Splat(n1);
  const U16x8 v2 = Splat(n2);
  const U16x8 vh = Splat(high ? 0xFF80 : 0);
  for (; i + 16 <= to; i += 16) {
    const U16x8 ma = HitLanes(s, i, v0, v1, v2, vh);
    const U16x8 mb = HitLanes(s, i + 8, v0, v1, v2, vh);
    const U16x8 m = ma | mb;
    uint64_t w[2];
    std::memcpy(w, &m, sizeof(w));
    if ((w[0] | w[1]) == 0) continue;
    const size_t lane = FirstLane(ma, 0);
    return lane < 8 ? i + lane : i + 8 + FirstLane(mb, 0);
  }
  if (i < to && to - from >= 8) {
    // The rest is shorter than 16 units: look at the 8-unit windows ending at `to` and, when
    // needed, the one before it, skipping the lanes before `i` (the overlap was checked).
    if (to - i > 8) {
      const size_t lane = FirstLane(HitLanes(s, i, v0, v1, v2, vh), 0);
      if (lane < 8) return i + lane;
    }
    const size_t base = to - 8;
    const size_t lane = FirstLane(HitLanes(s, base, v0, v1, v2, vh), i > base ? i - base : 0);
    return lane < 8 ? base + lane : to;
  }
#endif
  for (; i < to; ++i) {
    if (Hit(s[i], n0, n1, n2, high)) return i;
  }
  return to;
}

size_t ScanBackward(const char16_t* s, size_t from, size_t to, const char16_t* needles, int count,
                    bool high) {
  char16_t n0 = needles[0];
  char16_t n1 = count > 1 ? needles[1] : n0;
  char16_t n2 = count > 2 ? needles[2] : n0;
  for (size_t i = to; i > from; --i) {
    if (Hit(s[i - 1], n0, n1, n2, high)) return i - 1;
  }
  return kNotFound;
}

namespace {

// One character of a literal as the pair scan tests it: the unit with the bits of `fold` set
// equals `c`; with `high`, any unit at or above 128 is a candidate too (a non-ASCII character
// that folds to c under ignore-case).
struct PairChar {
  char16_t c;
  char16_t fold;
  bool high;

  bool Matches(char16_t u) const { return (u | fold) == c || (high && u >= 128); }
};

// An ASCII character of the literal; under ignore-case a letter matches both of its cases
// (setting bit 5 maps exactly the two to the lower-case one).
PairChar PairCharOf(char16_t c, bool ignore_case) {
  const bool letter = (c | 0x20) >= u'a' && (c | 0x20) <= u'z';
  if (!ignore_case || !letter) return {c, 0, false};
  return {static_cast<char16_t>(c | 0x20), 0x20, true};
}

// First index i in [from, to) where s[i] matches p1 and s[i + offset] matches p2; `to` when
// there is none. Two characters of a literal at their distance rule out nearly every false
// candidate that a scan for one character stops at. The caller keeps i + offset in the text.
size_t ScanPair(const char16_t* s, size_t from, size_t to, PairChar p1, ptrdiff_t offset,
                PairChar p2) {
  size_t i = from;
#if TAVIK_REGEX_VECTOR_SCAN && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  const U16x8 c1 = Splat(p1.c);
  const U16x8 f1 = Splat(p1.fold);
  const U16x8 h1 = Splat(p1.high ? 0xFF80 : 0);
  const U16x8 c2 = Splat(p2.c);
  const U16x8 f2 = Splat(p2.fold);
  const U16x8 h2 = Splat(p2.high ? 0xFF80 : 0);
  for (; i + 8 <= to; i += 8) {
    U16x8 a;
    U16x8 b;
    std::memcpy(&a, s + i, sizeof(a));
    std::memcpy(&b, s + static_cast<ptrdiff_t>(i) + offset, sizeof(b));
    const U16x8 m = (((a | f1) == c1) | ((a & h1) != 0)) & (((b | f2) == c2) | ((b & h2) != 0));
    const size_t lane = FirstLane(m, 0);
    if (lane < 8) return i + lane;
  }
#endif
  for (; i < to; ++i) {
    if (p1.Matches(s[i]) && p2.Matches(s[static_cast<ptrdiff_t>(i) + offset])) return i;
  }
  return to;
}

// Whether the literal stands in `text` at `start` (the caller keeps it inside the text).
bool LiteralAt(std::u16string_view text, size_t start, std::u16string_view lit, bool ignore_case) {
  size_t n = 0;
  if (ignore_case) {
    while (n < lit.size() && UpperFast(text[start + n]) == UpperFast(lit[n])) ++n;
  } else {
    while (n < lit.size() && text[start + n] == lit[n]) ++n;
  }
  return n == lit.size();
}

}  // namespace

size_t FindRequired(std::u16string_view text, size_t from, const RequiredLiteral& literal,
                    bool ignore_case) {
  const std::u16string& lit = literal.text;
  if (text.size() < lit.size() || from > text.size() - lit.size()) return kNotFound;
  const size_t k = literal.scan_index;
  const size_t last_start = text.size() - lit.size();
  // The scanned character and the literal's first or last one, at their distance; under
  // ignore-case only when both are ASCII, so that bit 5 folds them.
  const size_t other = k == lit.size() - 1 ? 0 : lit.size() - 1;
  const bool pair = lit.size() >= 2 && (!ignore_case || (lit[k] < 128 && lit[other] < 128));
  const PairChar p1 = PairCharOf(lit[k], ignore_case);
  const PairChar p2 = PairCharOf(lit[other], ignore_case);
  const ptrdiff_t offset = static_cast<ptrdiff_t>(other) - static_cast<ptrdiff_t>(k);
  for (size_t i = from + k; i <= last_start + k;) {
    const size_t j =
        pair ? ScanPair(text.data(), i, last_start + k + 1, p1, offset, p2)
             : ScanForward(text.data(), i, last_start + k + 1, literal.scan_chars.data(),
                           literal.scan_count, literal.scan_non_ascii);
    if (j > last_start + k) return kNotFound;
    if (LiteralAt(text, j - k, lit, ignore_case)) return j - k;
    i = j + 1;
  }
  return kNotFound;
}

}  // namespace tavik::regex
