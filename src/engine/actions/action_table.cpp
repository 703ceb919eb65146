// The rows of the action table. Handlers are grouped by family in actions_*.cpp; a row without a
// handler is an action that has no effect, or "." which the key path resolves first.
#include "engine/actions/action_table.h"

#include <array>
#include <cassert>

#include "engine/actions/actions.h"

namespace tavik {
namespace {

using namespace action_prop;
constexpr uint8_t R = kRepeatable;
constexpr uint8_t K = kKeepsColumn;
constexpr uint8_t U = kUndoStep;

constexpr std::array<ActionRow, kMaxActionCode + 1> kActionTable = {{
    {0, "none", 0, nullptr},
    {1, "delete characters under the cursor", R | U, actions::DeleteChars},
    {2, "delete characters before the cursor", R | U, actions::DeleteCharBefore},
    {3, "insert before the cursor", R | U, actions::InsertBefore},
    {4, "delete", R | U, actions::Delete},
    {5, "undo", 0, actions::Undo},
    {6, "redo", 0, actions::Redo},
    {7, "start or stop recording", 0, actions::Record},
    {8, "replace characters", R | U, actions::ReplaceChars},
    {9, "yank", 0, actions::Yank},
    {10, "yank lines", 0, actions::YankLines},
    {11, "no effect", R | U, nullptr},
    {12, "insert at the first non-blank", R | U, actions::InsertAtFirstNonBlank},
    {13, "open a line below", R | U, actions::OpenBelow},
    {14, "open a line above", R | U, actions::OpenAbove},
    {15, "replace mode", R | U, actions::ReplaceMode},
    {16, "put after", R | U, actions::PutAfter},
    {17, "put before", R | U, actions::PutBefore},
    {18, "append after the cursor", R | U, actions::AppendAfter},
    {19, "append at the end of the line", R | U, actions::AppendAtEnd},
    {20, "substitute characters", R | U, actions::SubstituteChars},
    {21, "substitute lines", R | U, actions::SubstituteLines},
    {22, "delete to the end of the line", R | U, actions::DeleteToEnd},
    {23, "join lines", R | U, actions::Join},
    {24, "no effect", R, nullptr},
    {25, "no key, no effect", 0, nullptr},
    {26, "change", R | U, actions::Change},
    {27, "change to the end of the line", R | U, actions::ChangeToEnd},
    {28, "characterwise visual", 0, actions::VisualKindKey},
    {29, "linewise visual", 0, actions::VisualKindKey},
    {30, "blockwise visual", 0, actions::VisualKindKey},
    {31, "go to the other end of the selection", 0, actions::SwapVisualEnds},
    {32, "scroll the line to the top", 0, actions::ScrollLineToTop},
    {33, "scroll the line to the centre", 0, actions::ScrollLineToCenter},
    {34, "scroll the line to the bottom", 0, actions::ScrollLineToBottom},
    {35, "scroll up one line", K, actions::ScrollUp},
    {36, "scroll down one line", K, actions::ScrollDown},
    {37, "set a mark", 0, actions::SetMark},
    {38, "run the ex command line", U, actions::RunExLine},
    {39, "make upper case", R | U, actions::MakeUpper},
    {40, "make lower case", R | U, actions::MakeLower},
    {41, "switch case", R | U, actions::SwitchCase},
    {42, "format through the host", R | U, actions::Format},
    {43, "shift right", R | U, actions::ShiftRight},
    {44, "shift left", R | U, actions::ShiftLeft},
    {45, "run a register", U, actions::RunRegister},
    {46, "go to the definition", 0, actions::GoToDefinition},
    {47, "split the window", 0, actions::SplitWindow},
    {48, "focus the other view", 0, actions::FocusOtherView},
    {49, "focus the other view", 0, actions::FocusOtherView},
    {50, "focus the other view", 0, actions::FocusOtherView},
    {51, "create a collapsed region", R, actions::CreateFold},
    {52, "remove the region at the cursor", 0, actions::StopHidingCurrent},
    {53, "toggle the region at the cursor", 0, actions::ToggleOutlining},
    {54, "toggle the region at the cursor", 0, actions::ToggleOutlining},
    {55, "toggle the region at the cursor", 0, actions::ToggleOutlining},
    {56, "toggle the region at the cursor", 0, actions::ToggleOutlining},
    {57, "collapse to definitions", 0, actions::CollapseToDefinitions},
    {58, "expand all regions", 0, actions::ExpandAllRegions},
    {59, "reselect the last visual area", 0, actions::Reselect},
    {60, "repeat the last substitution", R | U, actions::RepeatSubstitution},
    {61, "open the file named under the cursor", 0, actions::OpenFileUnderCursor},
    {62, "save and close the document", 0, actions::SaveAndClose},
    {63, "alternate document", 0, actions::AlternateDocument},
    {64, "close the window", 0, actions::CloseWindow},
    {65, "older position in the jump list", 0, actions::JumpOlder},
    {66, "newer position in the jump list", 0, actions::JumpNewer},
    {67, "make the operated range the host's selection", 0, actions::SelectRangeInHost},
    {68, "return from a definition", 0, actions::PopBrowseContext},
    {69, "insert where insert mode was last left", R | U, actions::InsertWhereLeft},
    {70, "insert at column 0", R | U, actions::InsertAtColumnZero},
    {71, "put with the current line's indentation", R | U, actions::PutIndented},
    {72, "next document in the buffer list", U, actions::NextDocument},
    {73, "previous document in the buffer list", U, actions::PreviousDocument},
    {74, "increment the number", R | U, actions::Increment},
    {75, "decrement the number", R | U, actions::Decrement},
    {76, "repeat the last change", 0, nullptr},
}};

constexpr bool RowsMatchCodes() {
  for (size_t i = 0; i < kActionTable.size(); ++i) {
    if (kActionTable[i].code != i) return false;
  }
  return true;
}
static_assert(RowsMatchCodes(), "action rows must be in code order");

}  // namespace

const ActionRow& ActionInfo(ActionCode code) {
  return code <= kMaxActionCode ? kActionTable[code] : kActionTable[0];
}

void RunAction(ActionCode code, ActionContext& context) {
  // "." is resolved into the last change before dispatch; 0 and codes out of range do nothing.
  if (code == 0 || code == action::kRepeat || code > kMaxActionCode) return;
  ActionHandler handler = kActionTable[code].handler;
  if (handler == nullptr) return;
  if (context.remaining_count <= 1) {
    handler(context);
    return;
  }
  while (context.remaining_count > 0) {
    handler(context);
    if (context.remaining_count > 0) --context.remaining_count;
  }
}

}  // namespace tavik
