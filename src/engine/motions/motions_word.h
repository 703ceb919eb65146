// Word motions: w, W, b, B, e, E, ge and gE. A word is a run of word characters or a run of
// other non-blank characters; a WORD is any run of non-blank characters.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

void WordForward(MotionContext& context, MotionResult& result);
void BigWordForward(MotionContext& context, MotionResult& result);
void WordBackward(MotionContext& context, MotionResult& result);
void BigWordBackward(MotionContext& context, MotionResult& result);
void WordEnd(MotionContext& context, MotionResult& result);
void BigWordEnd(MotionContext& context, MotionResult& result);
void PreviousWordEnd(MotionContext& context, MotionResult& result);
void PreviousBigWordEnd(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
