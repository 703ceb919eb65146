// Motions relative to the lines the view shows: H, M, L and the scrolling motions CTRL-D,
// CTRL-U, CTRL-F and CTRL-B.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

void WindowTop(MotionContext& context, MotionResult& result);
void WindowMiddle(MotionContext& context, MotionResult& result);
void WindowBottom(MotionContext& context, MotionResult& result);
void HalfPageDown(MotionContext& context, MotionResult& result);
void HalfPageUp(MotionContext& context, MotionResult& result);
void PageDown(MotionContext& context, MotionResult& result);
void PageUp(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
