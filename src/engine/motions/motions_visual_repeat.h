// The motions that rebuild the extent of the last visual selection when . repeats a change
// made in visual mode: characterwise, linewise and blockwise.
#pragma once

#include <cstdint>

#include "engine/motions/motion.h"

namespace tavik::motions {

// Column extent of a repeated block that reached the end of every line ("$" in block mode).
inline constexpr int32_t kRepeatBlockToLineEnd = INT32_MAX;

void VisualRepeatCharacter(MotionContext& context, MotionResult& result);
void VisualRepeatLine(MotionContext& context, MotionResult& result);
void VisualRepeatBlock(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
