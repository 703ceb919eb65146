// Turning a motion result into the range an operator acts on, and placing the caret after a
// command.
#pragma once

#include "engine/actions/action_context.h"
#include "engine/motions/motion.h"
#include "engine/motions/operated_range.h"

namespace tavik {

class TextView;

OperatedRange PrepareRange(const TextView& text, const MotionResult& motion, RangeKind kind);

// The caret position allowed in a mode: in normal mode at most on the last character of its view
// line, in visual mode at most just past it; never inside a collapsed region.
TextPos ClampCaretForMode(const TextView& text, TextPos pos, EngineMode mode);

}  // namespace tavik
