// Text objects: motions that select a region around the cursor and report its start as well as
// its end. `i` objects leave out the surrounding blanks or delimiters, `a` objects include them.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

void InnerWord(MotionContext& context, MotionResult& result);
void AWord(MotionContext& context, MotionResult& result);
void InnerBigWord(MotionContext& context, MotionResult& result);
void ABigWord(MotionContext& context, MotionResult& result);
void InnerParagraph(MotionContext& context, MotionResult& result);
void AParagraph(MotionContext& context, MotionResult& result);
// The block between the `open` and `close` brackets around the cursor: i( a{ i< a[ and the rest.
void BlockObject(MotionContext& context, MotionResult& result, char16_t open, char16_t close,
                 bool around);
// The quoted string around or after the cursor on its line: i' a" and the rest.
void QuoteObject(MotionContext& context, MotionResult& result, char16_t quote, bool around);
void InnerSentence(MotionContext& context, MotionResult& result);
void ASentence(MotionContext& context, MotionResult& result);
void InnerTag(MotionContext& context, MotionResult& result);
void ATag(MotionContext& context, MotionResult& result);

// The selection a text object grows, if there is one: in visual mode a selection wider than an
// empty one, and on a repeated run (a count) the object found so far.
bool HasSelection(const MotionContext& context, const MotionResult& result);

}  // namespace tavik::motions
