// Return on a ":" line: hands the typed text to the ex command line.
#include "engine/actions.h"
#include "engine/attached_view.h"
#include "engine/view_engine.h"
#include "ex/ex_line.h"

namespace tavik::actions {

void RunExLine(ActionContext& context) {
  ExContext ex{context.engine, context.view, context.text, context.text.GetCaret()};
  ExecuteExLine(ex, context.text_arg());
  context.remaining_count = 0;
}

}  // namespace tavik::actions
