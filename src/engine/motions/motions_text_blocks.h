// Motions over blocks of text: sentences ( and ), paragraphs { and }, and sections [[, ]], []
// and ][.
#pragma once

#include "engine/motions/motion.h"

namespace tavik::motions {

// A sentence starts at (line, column): a non-blank character after a sentence end, or the first
// of a run of empty lines. Shared with the sentence text objects.
bool StartsSentence(const TextView& view, uint32_t line, uint32_t column);

void SentenceBackward(MotionContext& context, MotionResult& result);
void SentenceForward(MotionContext& context, MotionResult& result);
void ParagraphBackward(MotionContext& context, MotionResult& result);
void ParagraphForward(MotionContext& context, MotionResult& result);
void SectionBackward(MotionContext& context, MotionResult& result);
void SectionForward(MotionContext& context, MotionResult& result);
void SectionEndBackward(MotionContext& context, MotionResult& result);
void SectionEndForward(MotionContext& context, MotionResult& result);

}  // namespace tavik::motions
