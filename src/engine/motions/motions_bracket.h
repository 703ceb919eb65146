// Bracket motions: % (partner of a bracket, a C comment delimiter or a preprocessor
// conditional; with a count a percentage of the buffer) and the unmatched-bracket motions
// [(, [{, ]) and ]}.
#pragma once

#include <optional>

#include "common/text_pos.h"
#include "engine/motions/motion.h"

namespace tavik::motions {

void Match(MotionContext& context, MotionResult& result);
// [(, [{, ]) and ]}: the `wanted` bracket that no `other` bracket between opens or closes.
void Unmatched(MotionContext& context, MotionResult& result, char16_t wanted, char16_t other,
               bool forward);

// Walks from `from` (not included) one character at a time across lines for a `wanted`
// bracket that no `other` bracket between opens or closes; no regard for strings or comments.
std::optional<TextPos> FindUnmatched(const TextView& view, TextPos from, char16_t wanted,
                                     char16_t other, bool forward);

}  // namespace tavik::motions
