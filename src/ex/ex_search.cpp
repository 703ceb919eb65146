// ":nohlsearch": hides the search highlighting until the next search switches it back on.
#include "engine/attached_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"

namespace tavik::ex_commands {

void NoHighlight(ExContext& context, std::u16string_view, ExRange, bool) {
  ViewEngine& engine = context.engine;
  if (!engine.GlobalOptions().Bool(OptionId::kHlSearch)) return;
  engine.HighlightSuspended() = true;
  engine.GlobalOptions().SetBool(OptionId::kHlSearch, false);
  engine.OptionChanged(context.view, OptionId::kHlSearch);
}

}  // namespace tavik::ex_commands
