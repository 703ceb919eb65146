// Each request of the engine becomes an ex context at the caret of the view it came from.
#include "ex/ex_command_line.h"

#include "engine/actions/action_context.h"
#include "engine/text/text_view.h"
#include "ex/ex_commands.h"
#include "ex/ex_line.h"

namespace tavik {

void ExCommandLine::RunLine(ActionContext& context, std::u16string_view line) {
  ExContext ex{context.engine, context.view, context.text, context.text.GetCaret()};
  ExecuteExLine(ex, line);
}

void ExCommandLine::RepeatSubstitution(ActionContext& context) {
  ExContext ex{context.engine, context.view, context.text, context.text.GetCaret()};
  ex_commands::RepeatSubstitutionOnCursorLine(ex);
}

}  // namespace tavik
