// Character search within the line: f, F, t, T and their repeats ; and ,.
#pragma once

#include "engine/motion.h"

namespace tavik::motions {

void FindForward(MotionContext& context, MotionResult& result);
void FindBackward(MotionContext& context, MotionResult& result);
void TillForward(MotionContext& context, MotionResult& result);
void TillBackward(MotionContext& context, MotionResult& result);
void RepeatCharSearch(MotionContext& context, MotionResult& result);
void RepeatCharSearchReverse(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
