// The block an insertion started from visual block mode ("I", "A", "c") is copied to: the text
// typed on the first line of the block is replayed on the others when insert mode is left.
#pragma once

#include <cstdint>

#include "common/text_pos.h"

namespace tavik {

inline constexpr int32_t kBlockColumnLineEnd = -1;

struct BlockInsertDescription {
  uint32_t first_line = 0;  // view lines
  uint32_t last_line = 0;
  int32_t display_column = 0;  // kBlockColumnLineEnd: the end of every line
  bool pad = false;            // "A": short lines are padded with blanks up to the column
  uint32_t line_count = 0;     // the buffer's line count when the insertion started
  uint32_t repeat_count = 0;
  // "I" and "A" leave the caret at the block's top-left corner; "c" leaves it after the text.
  bool caret_to_corner = false;
  TextPos corner;
};

}  // namespace tavik
