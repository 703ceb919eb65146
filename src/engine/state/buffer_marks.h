// The marks of one buffer, shared by all of its views: "a" to "z" and the special marks "^",
// "[", "]", ".", "<" and ">". They follow every edit of the buffer.
#pragma once

#include <array>
#include <optional>

#include "common/text_pos.h"

namespace tavik {

class BufferMarks {
 public:
  static constexpr size_t kCount = 32;

  // The table index of a mark name, or nothing for a name that is not a buffer mark.
  static std::optional<size_t> IndexOf(char16_t name);

  void Set(char16_t name, TextPos pos);
  std::optional<TextPos> Get(char16_t name) const;
  void Clear(char16_t name);

  // The text from `old_start` to `old_end` was replaced by text ending at `new_end`: marks
  // after the change move with it, marks inside the replaced text become unset.
  void AdjustForEdit(TextPos old_start, TextPos old_end, TextPos new_end);
  // A mark at the start of a line that is deleted stays where the next line then starts, so
  // deleting lines `first` to `last` one at a time carries such marks to the start of `first`;
  // a caller deleting them in one edit calls this first to leave the marks the same way.
  void GatherLineStarts(uint32_t first, uint32_t last);

 private:
  std::array<std::optional<TextPos>, kCount> marks_{};
};

}  // namespace tavik
