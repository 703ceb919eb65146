// Action handlers, grouped by family in actions_*.cpp and named in the action table.
#pragma once

#include "engine/actions/action_context.h"

namespace tavik::actions {

// Undo and redo (actions_undo.cpp).
void Undo(ActionContext& context);
void Redo(ActionContext& context);

// Scrolling, windows, outlining and host navigation (actions_view.cpp).
void ScrollLineToTop(ActionContext& context);
void ScrollLineToCenter(ActionContext& context);
void ScrollLineToBottom(ActionContext& context);
void ScrollUp(ActionContext& context);
void ScrollDown(ActionContext& context);
void SplitWindow(ActionContext& context);
void FocusOtherView(ActionContext& context);
void CloseWindow(ActionContext& context);
void StopHidingCurrent(ActionContext& context);
void ToggleOutlining(ActionContext& context);
void CollapseToDefinitions(ActionContext& context);
void OpenFileUnderCursor(ActionContext& context);
void SaveAndClose(ActionContext& context);
void PopBrowseContext(ActionContext& context);

// Yank and put (actions_registers.cpp).
void Yank(ActionContext& context);
void YankLines(ActionContext& context);
void PutAfter(ActionContext& context);
void PutBefore(ActionContext& context);
void PutIndented(ActionContext& context);

// Entering insert mode (actions_insert.cpp).
void InsertBefore(ActionContext& context);
void AppendAfter(ActionContext& context);
void AppendAtEnd(ActionContext& context);
void InsertAtFirstNonBlank(ActionContext& context);
void OpenBelow(ActionContext& context);
void OpenAbove(ActionContext& context);
void ReplaceMode(ActionContext& context);
void InsertWhereLeft(ActionContext& context);
void InsertAtColumnZero(ActionContext& context);

// Deleting (actions_delete.cpp).
void Delete(ActionContext& context);
void DeleteChars(ActionContext& context);
void DeleteCharBefore(ActionContext& context);
void DeleteToEnd(ActionContext& context);

// Changing: delete, then insert (actions_change.cpp).
void Change(ActionContext& context);
void ChangeToEnd(ActionContext& context);
void SubstituteChars(ActionContext& context);
void SubstituteLines(ActionContext& context);

// Replace and join (actions_replace_join.cpp).
void ReplaceChars(ActionContext& context);
void Join(ActionContext& context);

// Case changes (actions_case.cpp).
void SwitchCase(ActionContext& context);
void MakeUpper(ActionContext& context);
void MakeLower(ActionContext& context);

// Shifting, formatting, folds, host selection and definitions (actions_shift_format.cpp).
void ShiftRight(ActionContext& context);
void ShiftLeft(ActionContext& context);
void Format(ActionContext& context);
void CreateFold(ActionContext& context);
void ExpandAllRegions(ActionContext& context);
void SelectRangeInHost(ActionContext& context);
void GoToDefinition(ActionContext& context);

// Marks and the jump list (actions_marks.cpp).
void SetMark(ActionContext& context);
void JumpOlder(ActionContext& context);
void JumpNewer(ActionContext& context);

// Visual mode (actions_visual.cpp).
void VisualKindKey(ActionContext& context);
void SwapVisualEnds(ActionContext& context);
void Reselect(ActionContext& context);
// "I", "A", "R" and block "c" on a selection; false when the action's own handler applies.
bool RunVisualInsertAction(ActionContext& context);

// Recording and running registers (actions_record.cpp).
void Record(ActionContext& context);
void RunRegister(ActionContext& context);

// The ex command line: Return on a ":" line, and repeating the last substitution on the cursor
// line (actions_ex.cpp).
void RunExLine(ActionContext& context);
void RepeatSubstitution(ActionContext& context);

// The buffer list: CTRL-^, gt and gT (actions_documents.cpp).
void AlternateDocument(ActionContext& context);
void NextDocument(ActionContext& context);
void PreviousDocument(ActionContext& context);

// Number increment and decrement (actions_increment.cpp).
void Increment(ActionContext& context);
void Decrement(ActionContext& context);

}  // namespace tavik::actions
