// Text whose UTF-16 units are all below 256, held one byte per unit where a line store keeps it
// so, and its way back to UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

// `narrow` widened into `out`, replacing its content (and reusing its memory). Through plain
// pointers, so that the loop becomes vector code.
inline void AssignWidened(std::u16string& out, std::string_view narrow) {
  out.resize(narrow.size());
  char16_t* to = out.data();
  const unsigned char* from = reinterpret_cast<const unsigned char*>(narrow.data());
  for (size_t i = 0; i < narrow.size(); ++i) to[i] = from[i];
}

inline std::u16string WidenNarrow(std::string_view narrow) {
  std::u16string wide;
  AssignWidened(wide, narrow);
  return wide;
}

}  // namespace tavik
