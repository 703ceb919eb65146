// Buffer coordinates shared by every subsystem: a zero-based line and a column counted in
// UTF-16 code units within that line (the line break is not part of the line).
#pragma once

#include <compare>
#include <cstdint>

namespace tavik {

// Callers pass this column to mean "end of the line"; the operations that accept it resolve it.
inline constexpr uint32_t kEndOfLineColumn = 0xFFFFFFFFu;

struct TextPos {
  uint32_t line = 0;
  uint32_t column = 0;

  friend constexpr auto operator<=>(const TextPos&, const TextPos&) = default;
};

// A position in view coordinates: lines and columns as the view shows them, with collapsed
// regions folded into one line. Kept a distinct type so the two spaces cannot be mixed up.
struct ViewPos {
  uint32_t line = 0;
  uint32_t column = 0;

  friend constexpr auto operator<=>(const ViewPos&, const ViewPos&) = default;
};

}  // namespace tavik
