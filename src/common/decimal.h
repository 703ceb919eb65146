// Numbers written as decimal UTF-16 text, for messages and command lines.
#pragma once

#include <cstdint>
#include <string>

namespace tavik {

inline std::u16string DecimalText(uint64_t n) {
  char16_t digits[20];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + n % 10);
    n /= 10;
  } while (n != 0);
  return std::u16string(std::make_reverse_iterator(digits + count),
                        std::make_reverse_iterator(digits));
}

}  // namespace tavik
