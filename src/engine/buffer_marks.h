// The marks of one buffer, shared by all of its views. Positions are buffer coordinates.
#pragma once

#include <array>
#include <optional>

#include "common/text_pos.h"

namespace tavik {

class BufferMarks {
 public:
  // Marks are named by a printable ASCII character ("a" to "z", ".", "^", "[", "]", "<", ">").
  void Set(char16_t name, TextPos pos);
  std::optional<TextPos> Get(char16_t name) const;
  void Clear(char16_t name);

 private:
  static constexpr char16_t kFirst = u'!';
  static constexpr char16_t kLast = u'~';
  static bool Valid(char16_t name) { return name >= kFirst && name <= kLast; }

  std::array<std::optional<TextPos>, kLast - kFirst + 1> marks_{};
};

}  // namespace tavik
