// Fast scans over a line for the characters a match can begin with and for a literal every
// match contains. Portable code; with GCC or Clang 16 units are compared at a time.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavik::regex {

struct RequiredLiteral;

inline constexpr size_t kNotFound = static_cast<size_t>(-1);

// First index in [from, to) whose unit equals one of needles[0..count) (count 1 to 3) or, with
// `high`, is at or above 128. Returns `to` when there is none.
size_t ScanForward(const char16_t* s, size_t from, size_t to, const char16_t* needles, int count,
                   bool high);

// Last index in [from, to) with the same test, or kNotFound.
size_t ScanBackward(const char16_t* s, size_t from, size_t to, const char16_t* needles, int count,
                    bool high);

// Start of the first occurrence of the literal at or after `from`, or kNotFound (the one at
// the end of `text` for a literal required there). With `ignore_case` characters compare by
// their upper-case forms.
size_t FindRequired(std::u16string_view text, size_t from, const RequiredLiteral& literal,
                    bool ignore_case);
// The same over a line held one byte per unit (every unit below 256).
size_t FindRequired(std::string_view text, size_t from, const RequiredLiteral& literal,
                    bool ignore_case);

}  // namespace tavik::regex
