// Text objects: motions that select a region around the cursor and report its start as well as
// its end. `i` objects leave out the surrounding blanks or delimiters, `a` objects include them.
#pragma once

#include "engine/motion.h"

namespace tavik::motions {

void InnerWord(MotionContext& context, MotionResult& result);
void AWord(MotionContext& context, MotionResult& result);
void InnerBigWord(MotionContext& context, MotionResult& result);
void ABigWord(MotionContext& context, MotionResult& result);
void InnerParagraph(MotionContext& context, MotionResult& result);
void AParagraph(MotionContext& context, MotionResult& result);
void InnerParenBlock(MotionContext& context, MotionResult& result);
void AParenBlock(MotionContext& context, MotionResult& result);
void InnerBraceBlock(MotionContext& context, MotionResult& result);
void ABraceBlock(MotionContext& context, MotionResult& result);
void InnerAngleBlock(MotionContext& context, MotionResult& result);
void AnAngleBlock(MotionContext& context, MotionResult& result);
void InnerSquareBlock(MotionContext& context, MotionResult& result);
void ASquareBlock(MotionContext& context, MotionResult& result);
void InnerSingleQuote(MotionContext& context, MotionResult& result);
void ASingleQuote(MotionContext& context, MotionResult& result);
void InnerDoubleQuote(MotionContext& context, MotionResult& result);
void ADoubleQuote(MotionContext& context, MotionResult& result);
void InnerSentence(MotionContext& context, MotionResult& result);
void ASentence(MotionContext& context, MotionResult& result);
void InnerTag(MotionContext& context, MotionResult& result);
void ATag(MotionContext& context, MotionResult& result);

// The selection a text object grows, if there is one: in visual mode a selection wider than an
// empty one, and on a repeated run (a count) the object found so far.
bool HasSelection(const MotionContext& context, const MotionResult& result);

}  // namespace tavik::motions
