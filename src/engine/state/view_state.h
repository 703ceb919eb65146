// Per-engine state about the cursor that survives between commands: the desired column that
// vertical motions keep, the visual area, the last character search and the message line.
#pragma once

#include <cstdint>
#include <string>

#include "common/text_pos.h"
#include "engine/actions/command_record.h"
#include "engine/state/buffer_list.h"
#include "engine/visual_kind.h"

namespace tavik {

// The desired column as a display column; this value means "the end of every line".
inline constexpr uint32_t kDesiredColumnEndOfLine = 0xFFFFFFFFu;
inline constexpr size_t kMessageCapacity = 511;

struct LastCharSearch {
  MotionCode motion = 0;  // f, F, t or T; 0 when none was made yet
  char32_t character = 0;
};

struct ViewState {
  uint32_t desired_column = 0;
  TextPos visual_start;
  TextPos visual_end;
  bool visual_block_to_line_end = false;  // "$" was the last motion in visual block mode
  // The selection visual mode left last, for "gv" typed in visual mode.
  bool has_left_selection = false;
  VisualKind left_kind = VisualKind::kCharacterwise;
  TextPos left_start;
  TextPos left_end;
  LastCharSearch last_char_search;
  bool hex_upper_case = false;  // the case of hexadecimal letters written by CTRL-A and CTRL-X
  std::u16string message;       // non-empty: the status line shows it
  BufferList buffers;           // the documents seen through the views

  void SetMessage(std::u16string_view text) { message.assign(text.substr(0, kMessageCapacity)); }
  void ClearMessage() { message.clear(); }
};

}  // namespace tavik
