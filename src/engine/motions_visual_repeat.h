// The motions that rebuild the extent of the last visual selection when . repeats a change
// made in visual mode: characterwise, linewise and blockwise.
#pragma once

#include "engine/motion.h"

namespace tavik::motions {

void VisualRepeatCharacter(MotionContext& context, MotionResult& result);
void VisualRepeatLine(MotionContext& context, MotionResult& result);
void VisualRepeatBlock(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
