// What every ex command works with: the engine, the view the line was typed in, and the cursor
// as it was when the line was submitted.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/text_pos.h"

namespace tavik {

class ViewEngine;
class TextView;
struct AttachedView;

struct ExContext {
  ViewEngine& engine;
  AttachedView& view;
  TextView& text;
  TextPos cursor;
  // Set for the lines a global command runs, which may not start another one.
  bool in_global = false;

  void Message(std::u16string_view text_of_message) const;
};

// A resolved line range; lines are 0-based.
struct ExRange {
  uint32_t first = 0;
  uint32_t last = 0;
  bool first_given = false;
  bool second_given = false;
  bool first_is_zero = false;
  bool last_is_zero = false;
};

}  // namespace tavik
