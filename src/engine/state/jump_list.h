// Marks that belong to the engine rather than a buffer: the global marks "A" to "Z" and "0" to
// "9" with their file, the previous-context position, and the jump list walked by CTRL-O and
// CTRL-I across documents.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/text_pos.h"

namespace tavik {

struct FilePosition {
  std::u16string file;
  TextPos pos;
};

class GlobalMarks {
 public:
  static bool IsGlobalName(char16_t name) {
    return (name >= u'A' && name <= u'Z') || (name >= u'0' && name <= u'9');
  }
  void Set(char16_t name, FilePosition where);
  std::optional<FilePosition> Get(char16_t name) const;
  void Clear(char16_t name);

 private:
  static size_t IndexOf(char16_t name) {
    return name >= u'A' && name <= u'Z' ? static_cast<size_t>(name - u'A')
                                        : static_cast<size_t>(26 + (name - u'0'));
  }
  std::array<std::optional<FilePosition>, 36> marks_{};
};

class JumpList {
 public:
  // Records the start of a jump: it becomes the previous-context position and, in a document
  // with a file, the newest entry (an older entry on the same file and line is dropped).
  void Record(std::u16string_view file, TextPos start, bool add);

  // The entry `count` steps older or newer, made current; nothing when the walk leaves the list.
  // Going older from the end first records `here`, so that CTRL-I can come back to it.
  std::optional<FilePosition> Older(uint32_t count, std::u16string_view file, TextPos here);
  std::optional<FilePosition> Newer(uint32_t count);
  // Drops the current entry, which could not be reached.
  void DropCurrent();

  std::optional<TextPos> PreviousContext() const { return previous_context_; }
  const std::vector<FilePosition>& Entries() const { return entries_; }
  size_t CurrentIndex() const { return current_; }

 private:
  std::vector<FilePosition> entries_;
  size_t current_ = 0;
  std::optional<TextPos> previous_context_;
};

// The engine-wide marks, handed to the mark motions and actions.
struct EngineMarks {
  GlobalMarks global;
  JumpList jumps;
};

}  // namespace tavik
