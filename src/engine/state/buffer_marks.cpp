// Storage of a buffer's marks and their adjustment after edits.
#include "engine/state/buffer_marks.h"

#include <string_view>

namespace tavik {
namespace {

// Indices 26 to 31, after "a" to "z".
constexpr std::u16string_view kSpecialMarks = u"^[].<>";

}  // namespace

std::optional<size_t> BufferMarks::IndexOf(char16_t name) {
  if (name >= u'a' && name <= u'z') return static_cast<size_t>(name - u'a');
  size_t at = kSpecialMarks.find(name);
  if (at == std::u16string_view::npos) return std::nullopt;
  return 26 + at;
}

void BufferMarks::Set(char16_t name, TextPos pos) {
  if (auto index = IndexOf(name)) marks_[*index] = pos;
}

std::optional<TextPos> BufferMarks::Get(char16_t name) const {
  auto index = IndexOf(name);
  return index ? marks_[*index] : std::nullopt;
}

void BufferMarks::Clear(char16_t name) {
  if (auto index = IndexOf(name)) marks_[*index].reset();
}

void BufferMarks::AdjustForEdit(TextPos old_start, TextPos old_end, TextPos new_end) {
  for (std::optional<TextPos>& mark : marks_) {
    if (!mark || *mark <= old_start) continue;
    if (*mark < old_end) {
      mark.reset();
      continue;
    }
    int64_t line = static_cast<int64_t>(mark->line) + new_end.line - old_end.line;
    if (mark->line == old_end.line) {
      int64_t column = static_cast<int64_t>(mark->column) + new_end.column - old_end.column;
      mark->column = static_cast<uint32_t>(column < 0 ? 0 : column);
    }
    mark->line = static_cast<uint32_t>(line < 0 ? 0 : line);
  }
}

void BufferMarks::GatherLineStarts(uint32_t first, uint32_t last) {
  for (std::optional<TextPos>& mark : marks_) {
    if (mark && mark->column == 0 && mark->line > first && mark->line <= last) {
      *mark = {first, 0};
    }
  }
}

}  // namespace tavik
