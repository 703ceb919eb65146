// Text whose UTF-16 units are all below 256, held one byte per unit where a line store keeps it
// so, and its way back to UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

// `narrow` widened into `out`, replacing its content (and reusing its memory).
inline void AssignWidened(std::u16string& out, std::string_view narrow) {
  out.resize(narrow.size());
  for (size_t i = 0; i < narrow.size(); ++i) out[i] = static_cast<unsigned char>(narrow[i]);
}

inline std::u16string WidenNarrow(std::string_view narrow) {
  std::u16string wide;
  AssignWidened(wide, narrow);
  return wide;
}

}  // namespace tavik
