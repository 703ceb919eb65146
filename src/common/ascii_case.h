// Comparing names that ignore ASCII letter case: GUIDs, file extensions, key and add-in names.
// Letters outside ASCII compare exactly.
#pragma once

#include <string_view>

namespace tavik {

template <typename Char>
constexpr Char AsciiLower(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c + ('a' - 'A')) : c;
}

template <typename Char>
constexpr bool EqualIgnoringAsciiCase(std::basic_string_view<Char> a,
                                      std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return EqualIgnoringAsciiCase<char>(a, b);
}
constexpr bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return EqualIgnoringAsciiCase<char16_t>(a, b);
}

}  // namespace tavik
