// Character and line steps: h, l, j, k, Backspace, Space and their key aliases.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

void Left(MotionContext& context, MotionResult& result);
void Right(MotionContext& context, MotionResult& result);
void Down(MotionContext& context, MotionResult& result);
void Up(MotionContext& context, MotionResult& result);
void Backspace(MotionContext& context, MotionResult& result);
void Space(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
