// Jumps to marks: a backtick and a name go to the exact position, a quote and a name to the
// first non-blank of the mark's line.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

void MarkExact(MotionContext& context, MotionResult& result);
void MarkLine(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
