// Positions within the cursor line: 0, ^, $, their g forms, and |.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

void LineStart(MotionContext& context, MotionResult& result);
void FirstNonBlank(MotionContext& context, MotionResult& result);
void LineEnd(MotionContext& context, MotionResult& result);
void ToColumn(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
