// CTRL-A and CTRL-X: add to or subtract from the number at or after the cursor. The count is
// applied as one change, so the edit is a single replacement inside the command's undo step.
#include <optional>

#include "engine/actions/actions.h"
#include "engine/actions/number_format.h"
#include "engine/attached_view.h"
#include "engine/text/text_view.h"
#include "engine/view_engine.h"

namespace tavik::actions {
namespace {

void ChangeNumber(ActionContext& context, bool up) {
  const uint32_t count = context.remaining_count;
  context.remaining_count = 0;
  TextView& view = context.text;
  const TextPos caret = view.GetCaret();
  NumberFormats formats = ParseNumberFormats(context.view.options.String(OptionId::kNrFormats));
  bool& hex_upper = context.engine.State().hex_upper_case;
  std::optional<NumberEdit> edit =
      IncrementNumber(view.LineText(caret.line), caret.column, formats, up, count, hex_upper);
  if (!edit) {
    context.engine.Beep(view);
    return;
  }
  if (view.LineText(caret.line).substr(edit->start, edit->length) != edit->text) {
    view.SetDotMark({caret.line, edit->start});
    view.ReplaceChars({caret.line, edit->start}, edit->length, edit->text);
  }
  view.SetCaret({caret.line, edit->caret});
}

}  // namespace

void Increment(ActionContext& context) {
  ChangeNumber(context, true);
}
void Decrement(ActionContext& context) {
  ChangeNumber(context, false);
}

}  // namespace tavik::actions
