// The visual selection: moving its end by a motion, the span an operator receives from it, the
// record that lets "." act on a region of the same size, and showing it through the view.
#pragma once

#include "engine/actions/action_context.h"
#include "engine/motions/motion.h"
#include "engine/motions/operated_range.h"
#include "engine/state/view_state.h"

namespace tavik {

class TextView;

// Actions after which visual mode goes on: scrolling, marks, recording, running a register and
// the keys without effect. Every other action ends it unless it asks for visual mode itself.
bool KeepsVisualMode(ActionCode code);

// A motion ran in visual mode and reached `target`: the moving end goes there (one past it for
// an inclusive motion in characterwise and blockwise mode); a text object may also move the
// anchor and change the kind. Returns the position for the caret.
TextPos MoveVisualEnd(const TextView& text, ViewState& state, VisualKind& kind,
                      const MotionResult& motion, TextPos target);

// The span an operator receives from the selection.
OperatedRange VisualSpan(const TextView& text, const ViewState& state, VisualKind kind);

// Turns a command that acted on the selection into the one "." repeats: the visual-repeat
// motion of the kind with the selection's extent.
CommandRecord VisualRepeatRecord(const TextView& text, const ViewState& state, VisualKind kind,
                                 CommandRecord command);

// Shows the selection: through the host view's own selection when `use_host_selection`,
// otherwise as selection markers over the same text; whole lines for the linewise kind.
void ShowVisualSelection(TextView& text, const ViewState& state, VisualKind kind,
                         bool use_host_selection);
// Removes the selection display of both kinds.
void HideVisualSelection(TextView& text);

// Visual mode was left: the selection is remembered for "gv" typed later in visual mode.
void RememberLeftSelection(ViewState& state, VisualKind kind);

}  // namespace tavik
