// The search motions: a typed "/" or "?" line, "n" and "N", "*", "#", "g*", "g#", and "gd",
// which looks for the first use of the identifier under the cursor in its block.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

void SearchTyped(MotionContext& context, MotionResult& result);
void SearchNext(MotionContext& context, MotionResult& result);
void SearchPrevious(MotionContext& context, MotionResult& result);
void SearchWordForward(MotionContext& context, MotionResult& result);
void SearchWordBackward(MotionContext& context, MotionResult& result);
void GoToDeclaration(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
