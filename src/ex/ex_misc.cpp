// Small ex commands: undo and redo steps, and the version text.
#include "engine/text_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"

namespace tavik::ex_commands {

inline constexpr std::u16string_view kVersionText = u"Tavik 0.1 - modal editing engine";

void Undo(ExContext& context, std::u16string_view, ExRange, bool) { context.text.UndoStep(); }

void Redo(ExContext& context, std::u16string_view, ExRange, bool) { context.text.RedoStep(); }

void Version(ExContext& context, std::u16string_view, bool) { context.Message(kVersionText); }

}  // namespace tavik::ex_commands
