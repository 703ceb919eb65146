// "u" and CTRL-R. With viundo on, a repeated "u" alternates between undoing and redoing.
#include "engine/actions/actions.h"
#include "engine/attached_view.h"
#include "engine/view_engine.h"

namespace tavik::actions {

void Undo(ActionContext& context) {
  bool& direction = context.engine.UndoDirection();
  bool changed = context.view.options.Bool(OptionId::kViUndo) && direction
                     ? context.text.RedoStep()
                     : context.text.UndoStep();
  direction = !direction;
  // Once the history is exhausted a larger count has nothing left to do.
  if (!changed) context.remaining_count = 0;
}

void Redo(ActionContext& context) {
  bool changed = context.view.options.Bool(OptionId::kViUndo) && context.engine.UndoDirection()
                     ? context.text.UndoStep()
                     : context.text.RedoStep();
  if (!changed) context.remaining_count = 0;
}

}  // namespace tavik::actions
