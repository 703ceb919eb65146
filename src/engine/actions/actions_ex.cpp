// The two actions carried out by the ex command line: Return on a ":" line, and "&".
#include <string>

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
  ExLineRunner* ex_line = context.engine.ExLine();
  if (ex_line == nullptr) return;
  const uint32_t line = context.text.GetCaret().line;
  const std::u16string before(context.text.LineText(line));
  ex_line->RepeatSubstitution(context);
  // A run that left the line as it was (no match, no previous substitution, a replacement equal
  // to the match) would go the same way every time: the rest of a count is dropped, so "999999&"
  // cannot run for hours.
  if (context.text.GetCaret().line == line && context.text.LineText(line) == before) {
    context.remaining_count = 0;
  }
}

}  // namespace tavik::actions
