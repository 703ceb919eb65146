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

inline char16_t Upper(char16_t c) {
  if (c < 128) return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
  return ToUpperChar(c);
}

}  // namespace

size_t ScanForward(const char16_t* s, size_t from, size_t to, const char16_t* needles, int count,
                   bool high) {
  char16_t n0 = needles[0];
  char16_t n1 = count > 1 ? needles[1] : n0;
  char16_t n2 = count > 2 ? needles[2] : n0;
  size_t i = from;
#if TAVIK_REGEX_VECTOR_SCAN
  const U16x8 v0 = Splat(n0);
  const U16x8 v1 = Splat(n1);
  const U16x8 v2 = Splat(n2);
  const U16x8 vh = Splat(high ? 0xFF80 : 0);
  bool hit = false;
  while (!hit && i + 16 <= to) {
    U16x8 a;
    U16x8 b;
    std::memcpy(&a, s + i, sizeof(a));
    std::memcpy(&b, s + i + 8, sizeof(b));
    auto ma = (a == v0) | (a == v1) | (a == v2) | ((a & vh) != 0);
    auto mb = (b == v0) | (b == v1) | (b == v2) | ((b & vh) != 0);
    auto m = ma | mb;
    uint64_t w[2];
    std::memcpy(w, &m, sizeof(w));
    hit = (w[0] | w[1]) != 0;
    if (!hit) i += 16;
  }
  if (!hit && i < to && to - from >= 16) {
    // The last, partial block: look at the 16 units ending at `to` (overlap is harmless).
    U16x8 a;
    U16x8 b;
    std::memcpy(&a, s + to - 16, sizeof(a));
    std::memcpy(&b, s + to - 8, sizeof(b));
    auto m = (a == v0) | (a == v1) | (a == v2) | ((a & vh) != 0) | (b == v0) | (b == v1) |
             (b == v2) | ((b & vh) != 0);
    uint64_t w[2];
    std::memcpy(w, &m, sizeof(w));
    if ((w[0] | w[1]) == 0) return to;
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

size_t FindRequired(std::u16string_view text, size_t from, const RequiredLiteral& literal,
                    bool ignore_case) {
  const std::u16string& lit = literal.text;
  if (text.size() < lit.size() || from > text.size() - lit.size()) return kNotFound;
  size_t k = literal.scan_index;
  size_t last_start = text.size() - lit.size();
  for (size_t i = from + k; i <= last_start + k;) {
    size_t j = ScanForward(text.data(), i, last_start + k + 1, literal.scan_chars.data(),
                           literal.scan_count, literal.scan_non_ascii);
    if (j > last_start + k) return kNotFound;
    size_t start = j - k;
    size_t n = 0;
    if (ignore_case) {
      while (n < lit.size() && Upper(text[start + n]) == Upper(lit[n])) ++n;
    } else {
      while (n < lit.size() && text[start + n] == lit[n]) ++n;
    }
    if (n == lit.size()) return start;
    i = j + 1;
  }
  return kNotFound;
}

}  // namespace tavik::regex
