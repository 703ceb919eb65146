// Storage of a buffer's marks.
#include "engine/buffer_marks.h"

namespace tavik {

void BufferMarks::Set(char16_t name, TextPos pos) {
  if (Valid(name)) marks_[name - kFirst] = pos;
}

std::optional<TextPos> BufferMarks::Get(char16_t name) const {
  if (!Valid(name)) return std::nullopt;
  return marks_[name - kFirst];
}

void BufferMarks::Clear(char16_t name) {
  if (Valid(name)) marks_[name - kFirst].reset();
}

}  // namespace tavik
