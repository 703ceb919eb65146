// The action table: for every action code its properties and its handler, and the dispatcher
// that repeats a handler by the count.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/actions/action_codes.h"
#include "engine/actions/action_context.h"

namespace tavik {

namespace action_prop {
inline constexpr uint8_t kRepeatable = 1;   // becomes the last change that "." repeats
inline constexpr uint8_t kKeepsColumn = 2;  // the desired column is not recomputed
inline constexpr uint8_t kUndoStep = 4;     // the executor brackets it as one undo step
}  // namespace action_prop

struct ActionRow {
  ActionCode code;
  std::string_view description;
  uint8_t props;
  ActionHandler handler;  // nullptr: the action has no effect
};

const ActionRow& ActionInfo(ActionCode code);
inline bool ActionHas(ActionCode code, uint8_t prop) {
  return (ActionInfo(code).props & prop) != 0;
}

// Calls the handler once when the count is 0 or 1, count times otherwise; a handler that uses the
// count itself sets the remaining count to 0, which ends the loop.
void RunAction(ActionCode code, ActionContext& context);

}  // namespace tavik
