// Vectorised character scans. The vector loop only decides whether a block of 16 units holds a
// candidate; the scalar loop then finds it, so both paths give the same answer.
#include "regex/char_scan.h"

#include <array>
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

#if TAVIK_REGEX_VECTOR_SCAN && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
typedef uint8_t U8x16 __attribute__((vector_size(16)));

// 16 bytes of units at a time: 8 wide ones or 16 narrow ones.
template <class Unit>
struct Lanes;
template <>
struct Lanes<char16_t> {
  using Vector = U16x8;
  static Vector Splat(char16_t c) { return tavik::regex::Splat(c); }
};
template <>
struct Lanes<unsigned char> {
  using Vector = U8x16;
  static Vector Splat(char16_t c) {
    Vector v;
    std::memset(&v, static_cast<unsigned char>(c), sizeof(v));
    return v;
  }
};

// One bit per byte of a comparison result, lowest byte first (a set lane sets all its bytes).
template <class Vector>
uint32_t ByteMask(Vector m) {
#if defined(__SSE2__)
  typedef char I8x16 __attribute__((vector_size(16)));
  return static_cast<uint32_t>(__builtin_ia32_pmovmskb128(reinterpret_cast<I8x16>(m)));
#else
  uint64_t w[2];
  std::memcpy(w, &m, sizeof(w));
  uint32_t mask = 0;
  for (int b = 0; b < 16; ++b) {
    if ((w[b / 8] >> (8 * (b % 8))) & 0x80) mask |= uint32_t{1} << b;
  }
  return mask;
#endif
}

// Index of the first lane of a comparison result that is set at or after lane `skip`, or the
// lane count.
template <class Unit, class Vector>
size_t FirstSetLane(Vector m, size_t skip = 0) {
  const uint32_t mask = ByteMask(m) & (~uint32_t{0} << (skip * sizeof(Unit)));
  if (mask == 0) return 16 / sizeof(Unit);
  return static_cast<size_t>(__builtin_ctz(mask)) / sizeof(Unit);
}

// The pair test of ScanPair on one block.
template <class Vector>
struct PairTest {
  Vector c1, f1, h1, c2, f2, h2;
  template <class Unit>
  Vector At(const Unit* s, size_t i, ptrdiff_t offset) const {
    Vector a;
    Vector b;
    std::memcpy(&a, s + i, sizeof(a));
    std::memcpy(&b, s + static_cast<ptrdiff_t>(i) + offset, sizeof(b));
    return (((a | f1) == c1) | ((a & h1) != 0)) & (((b | f2) == c2) | ((b & h2) != 0));
  }
};
#endif

// First index i in [from, to) where s[i] matches p1 and s[i + offset] matches p2; `to` when
// there is none. Two characters of a literal at their distance rule out nearly every false
// candidate that a scan for one character stops at. The caller keeps i + offset in the text
// and, for narrow units, both characters below 256.
template <class Unit>
size_t ScanPair(const Unit* s, size_t from, size_t to, PairChar p1, ptrdiff_t offset, PairChar p2) {
  size_t i = from;
#if TAVIK_REGEX_VECTOR_SCAN && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  using L = Lanes<Unit>;
  using Vector = typename L::Vector;
  constexpr size_t kCount = sizeof(Vector) / sizeof(Unit);
  // Units at or above 128 have one of these bits set.
  const char16_t high_bits = sizeof(Unit) == 1 ? 0x80 : 0xFF80;
  const PairTest<Vector> test{L::Splat(p1.c), L::Splat(p1.fold), L::Splat(p1.high ? high_bits : 0),
                              L::Splat(p2.c), L::Splat(p2.fold), L::Splat(p2.high ? high_bits : 0)};
  // Two blocks a step, looked into only when either holds a candidate.
  for (; i + 2 * kCount <= to; i += 2 * kCount) {
    const Vector m0 = test.At(s, i, offset);
    const Vector m1 = test.At(s, i + kCount, offset);
    if (ByteMask(m0 | m1) == 0) continue;
    const size_t lane = FirstSetLane<Unit>(m0);
    return lane < kCount ? i + lane : i + kCount + FirstSetLane<Unit>(m1);
  }
  if (i + kCount <= to) {
    const size_t lane = FirstSetLane<Unit>(test.At(s, i, offset));
    if (lane < kCount) return i + lane;
    i += kCount;
  }
  if (i < to && to - from >= kCount) {
    // Less than a block is left: the block that ends at `to`, without the lanes before `i`
    // (checked already).
    const size_t base = to - kCount;
    const size_t lane = FirstSetLane<Unit>(test.At(s, base, offset), i - base);
    return lane < kCount ? base + lane : to;
  }
#endif
  for (; i < to; ++i) {
    if (p1.Matches(s[i]) && p2.Matches(s[static_cast<ptrdiff_t>(i) + offset])) return i;
  }
  return to;
}

// Whether the literal stands in `text` at `start` (the caller keeps it inside the text).
template <class Unit>
bool LiteralAt(const Unit* text, size_t start, std::u16string_view lit, bool ignore_case) {
  size_t n = 0;
  if (ignore_case) {
    while (n < lit.size() && UpperFast(text[start + n]) == UpperFast(lit[n])) ++n;
  } else {
    while (n < lit.size() && text[start + n] == lit[n]) ++n;
  }
  return n == lit.size();
}

// ScanForward over narrow units.
size_t ScanForwardNarrow(const unsigned char* s, size_t from, size_t to, const char16_t* needles,
                         int count, bool high) {
  // A needle above 255 is in no narrow text: one that fits takes its place, or 128, which
  // `high` finds anyway.
  char16_t fit = high ? 0x80 : 0xFFFF;
  for (int n = 0; n < count; ++n) {
    if (needles[n] < 256) fit = needles[n];
  }
  if (fit == 0xFFFF) return to;
  std::array<unsigned char, 3> n{};
  for (int k = 0; k < 3; ++k) {
    const char16_t c = k < count ? needles[k] : fit;
    n[static_cast<size_t>(k)] = static_cast<unsigned char>(c < 256 ? c : fit);
  }
  size_t i = from;
#if TAVIK_REGEX_VECTOR_SCAN && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  using L = Lanes<unsigned char>;
  const U8x16 v0 = L::Splat(n[0]);
  const U8x16 v1 = L::Splat(n[1]);
  const U8x16 v2 = L::Splat(n[2]);
  const U8x16 vh = L::Splat(high ? 0x80 : 0);
  for (; i + 16 <= to; i += 16) {
    U8x16 a;
    std::memcpy(&a, s + i, sizeof(a));
    const U8x16 m = (a == v0) | (a == v1) | (a == v2) | ((a & vh) != 0);
    const size_t lane = FirstSetLane<unsigned char>(m);
    if (lane < 16) return i + lane;
  }
#endif
  for (; i < to; ++i) {
    if (s[i] == n[0] || s[i] == n[1] || s[i] == n[2] || (high && s[i] >= 128)) return i;
  }
  return to;
}

template <class Unit>
size_t FindRequiredIn(const Unit* text, size_t size, size_t from, const RequiredLiteral& literal,
                      bool ignore_case) {
  const std::u16string& lit = literal.text;
  if (size < lit.size() || from > size - lit.size()) return kNotFound;
  if (literal.at_line_end) {
    return LiteralAt(text, size - lit.size(), lit, ignore_case) ? size - lit.size() : kNotFound;
  }
  const size_t k = literal.scan_index;
  const size_t last_start = size - lit.size();
  // The scanned character and the literal's first or last one, at their distance; under
  // ignore-case only when both are ASCII, so that bit 5 folds them.
  const size_t other = k == lit.size() - 1 ? 0 : lit.size() - 1;
  const bool pair = lit.size() >= 2 && (!ignore_case || (lit[k] < 128 && lit[other] < 128));
  const PairChar p1 = PairCharOf(lit[k], ignore_case);
  const PairChar p2 = PairCharOf(lit[other], ignore_case);
  const ptrdiff_t offset = static_cast<ptrdiff_t>(other) - static_cast<ptrdiff_t>(k);
  for (size_t i = from + k; i <= last_start + k;) {
    size_t j;
    if (pair) {
      j = ScanPair(text, i, last_start + k + 1, p1, offset, p2);
    } else if constexpr (sizeof(Unit) == 1) {
      j = ScanForwardNarrow(text, i, last_start + k + 1, literal.scan_chars.data(),
                            literal.scan_count, literal.scan_non_ascii);
    } else {
      j = ScanForward(text, i, last_start + k + 1, literal.scan_chars.data(), literal.scan_count,
                      literal.scan_non_ascii);
    }
    if (j > last_start + k) return kNotFound;
    if (LiteralAt(text, j - k, lit, ignore_case)) return j - k;
    i = j + 1;
  }
  return kNotFound;
}

}  // namespace

size_t FindRequired(std::u16string_view text, size_t from, const RequiredLiteral& literal,
                    bool ignore_case) {
  return FindRequiredIn(text.data(), text.size(), from, literal, ignore_case);
}

size_t FindRequired(std::string_view text, size_t from, const RequiredLiteral& literal,
                    bool ignore_case) {
  // Case by case, a literal with a unit above 255 cannot stand in such a line.
  if (!ignore_case) {
    for (char16_t c : literal.text) {
      if (c >= 256) return kNotFound;
    }
  }
  return FindRequiredIn(reinterpret_cast<const unsigned char*>(text.data()), text.size(), from,
                        literal, ignore_case);
}

}  // namespace tavik::regex
