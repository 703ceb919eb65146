// ":set" typed in a view: writes the view's copy and the global set, then tells the view.
#include "config/set_command.h"
#include "engine/attached_view.h"
#include "engine/view_engine.h"
#include "ex/ex_commands.h"

namespace tavik::ex_commands {

void Set(ExContext& context, std::u16string_view argument, bool) {
  ViewEngine& engine = context.engine;
  SetOutcome outcome = RunSetCommand(argument, engine.GlobalOptions(), &context.view.options);
  if (!outcome.message.empty()) context.Message(outcome.message);
  if (outcome.stored_id == OptionId::kNull) return;
  if (outcome.stored_id == OptionId::kHlSearch) engine.HighlightSuspended() = false;
  engine.OptionChanged(context.view, outcome.stored_id);
}

}  // namespace tavik::ex_commands
