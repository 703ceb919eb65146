// The action table: for every action code its properties and its handler, and the dispatcher
// that repeats a handler by the count.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/action_context.h"

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
inline bool ActionHas(ActionCode code, uint8_t prop) { return (ActionInfo(code).props & prop) != 0; }

// Calls the handler once when the count is 0 or 1, count times otherwise; a handler that uses the
// count itself sets the remaining count to 0, which ends the loop.
void RunAction(ActionCode code, ActionContext& context);

// Action codes referred to by name in the engine.
namespace action {
inline constexpr ActionCode kDeleteChar = 1;
inline constexpr ActionCode kInsert = 3;
inline constexpr ActionCode kDelete = 4;
inline constexpr ActionCode kUndo = 5;
inline constexpr ActionCode kRedo = 6;
inline constexpr ActionCode kRecord = 7;
inline constexpr ActionCode kYank = 9;
inline constexpr ActionCode kChange = 26;
inline constexpr ActionCode kExLine = 38;
inline constexpr ActionCode kFormat = 42;
inline constexpr ActionCode kShiftRight = 43;
inline constexpr ActionCode kShiftLeft = 44;
inline constexpr ActionCode kRunRegister = 45;
inline constexpr ActionCode kRepeat = 76;
}  // namespace action

}  // namespace tavik
