// The span an operator acts on: start, exclusive end and kind. The kind numbers are shared with
// registers and travel through the clipboard.
#pragma once

#include <cstdint>

#include "common/text_pos.h"

namespace tavik {

enum class RangeKind : uint8_t { kCharacterwise = 0, kLinewise = 1, kBlockwise = 2 };

struct OperatedRange {
  TextPos start;
  TextPos end;  // exclusive; a column of kEndOfLineColumn means the end of the line
  RangeKind kind = RangeKind::kCharacterwise;
};

}  // namespace tavik
