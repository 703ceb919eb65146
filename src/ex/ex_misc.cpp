// Small ex commands: undo and redo steps, and the version text.
#include "config/version_text.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"

namespace tavik::ex_commands {

void Undo(ExContext& context, std::u16string_view, ExRange, bool) {
  context.text.UndoStep();
}

void Redo(ExContext& context, std::u16string_view, ExRange, bool) {
  context.text.RedoStep();
}

void Version(ExContext& context, std::u16string_view, bool) {
  context.Message(kVersionText);
}

}  // namespace tavik::ex_commands
