// "u" and CTRL-R. With viundo on, a repeated "u" alternates between undoing and redoing.
#include "engine/actions.h"
#include "engine/attached_view.h"
#include "engine/view_engine.h"

namespace tavik::actions {

void Undo(ActionContext& context) {
  bool& direction = context.engine.UndoDirection();
  if (context.view.options.Bool(OptionId::kViUndo) && direction) {
    context.text.RedoStep();
  } else {
    context.text.UndoStep();
  }
  direction = !direction;
}

void Redo(ActionContext& context) {
  if (context.view.options.Bool(OptionId::kViUndo) && context.engine.UndoDirection()) {
    context.text.UndoStep();
  } else {
    context.text.RedoStep();
  }
}

}  // namespace tavik::actions
