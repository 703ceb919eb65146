// Character search within the line: f, F, t, T and their repeats ; and ,.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

// f, F, t or T (`code`) with the typed character, recorded for ; and ,.
void CharSearch(MotionContext& context, MotionResult& result, MotionCode code);
void RepeatCharSearch(MotionContext& context, MotionResult& result);
void RepeatCharSearchReverse(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
