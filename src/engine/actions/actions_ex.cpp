// The two actions carried out by the ex command line: Return on a ":" line, and "&".
#include "engine/actions/actions.h"
#include "engine/input/ex_line_runner.h"
#include "engine/view_engine.h"

namespace tavik::actions {

void RunExLine(ActionContext& context) {
  if (ExLineRunner* ex_line = context.engine.ExLine())
    ex_line->RunLine(context, context.text_arg());
  context.remaining_count = 0;
}

void RepeatSubstitution(ActionContext& context) {
  if (ExLineRunner* ex_line = context.engine.ExLine()) ex_line->RepeatSubstitution(context);
}

}  // namespace tavik::actions
