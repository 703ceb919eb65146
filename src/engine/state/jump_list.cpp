// Global marks and the jump list.
#include "engine/state/jump_list.h"

#include <algorithm>

#include "common/char_class.h"

namespace tavik {
namespace {

bool SameFile(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return ToLowerChar(x) == ToLowerChar(y); });
}

}  // namespace

void GlobalMarks::Set(char16_t name, FilePosition where) {
  if (IsGlobalName(name)) marks_[IndexOf(name)] = std::move(where);
}

std::optional<FilePosition> GlobalMarks::Get(char16_t name) const {
  if (!IsGlobalName(name)) return std::nullopt;
  return marks_[IndexOf(name)];
}

void GlobalMarks::Clear(char16_t name) {
  if (IsGlobalName(name)) marks_[IndexOf(name)].reset();
}

void JumpList::Record(std::u16string_view file, TextPos start, bool add) {
  previous_context_ = start;
  if (file.empty()) {
    if (add) current_ = entries_.size();
    return;
  }
  std::erase_if(entries_, [&](const FilePosition& entry) {
    return entry.pos.line == start.line && SameFile(entry.file, file);
  });
  entries_.push_back({std::u16string(file), start});
  current_ = add ? entries_.size() : entries_.size() - 1;
}

std::optional<FilePosition> JumpList::Older(uint32_t count, std::u16string_view file,
                                            TextPos here) {
  if (count == 0) count = 1;
  if (current_ >= entries_.size()) Record(file, here, false);
  size_t target = count >= current_ ? 0 : current_ - count;
  if (target >= entries_.size()) return std::nullopt;
  current_ = target;
  return entries_[current_];
}

std::optional<FilePosition> JumpList::Newer(uint32_t count) {
  if (count == 0) count = 1;
  if (current_ >= entries_.size()) return std::nullopt;
  size_t target = current_ + count;
  if (target >= entries_.size()) return std::nullopt;
  current_ = target;
  return entries_[current_];
}

void JumpList::DropCurrent() {
  if (current_ < entries_.size()) entries_.erase(entries_.begin() + static_cast<long>(current_));
  current_ = std::min(current_, entries_.size());
}

}  // namespace tavik
