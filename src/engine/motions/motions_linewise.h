// Motions to the first non-blank character of another line: -, +, _, the doubled operator,
// gg, G and % with a count.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

void PreviousLine(MotionContext& context, MotionResult& result);
void NextLine(MotionContext& context, MotionResult& result);
void CountLines(MotionContext& context, MotionResult& result);
void FirstLine(MotionContext& context, MotionResult& result);
void LastLineMotion(MotionContext& context, MotionResult& result);
// % with a count: that percentage of the buffer. Called by the % motion.
void Percentage(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
